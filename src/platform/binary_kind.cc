// What kind of machine a program or library file was built for.
#include "src/platform/binary_kind.h"

#include <array>
#include <filesystem>
#include <fstream>

#include "src/platform/utf8_path.h"

namespace platform {
namespace {

struct Machine {
  BinaryFormat format;
  std::uint16_t machine;
  std::string_view name;
};

// The machines a probe or a build host can be; the same name in both formats is the same
// processor.
constexpr std::array<Machine, 8> kMachines{{
    {BinaryFormat::Pe, 0x014c, "x86"},
    {BinaryFormat::Pe, 0x8664, "x86-64"},
    {BinaryFormat::Pe, 0x01c4, "ARM"},
    {BinaryFormat::Pe, 0xaa64, "ARM64"},
    {BinaryFormat::Elf, 3, "x86"},
    {BinaryFormat::Elf, 62, "x86-64"},
    {BinaryFormat::Elf, 40, "ARM"},
    {BinaryFormat::Elf, 183, "ARM64"},
}};

#if defined(_WIN32)
constexpr BinaryFormat kThisFormat = BinaryFormat::Pe;
#elif defined(__ELF__)
constexpr BinaryFormat kThisFormat = BinaryFormat::Elf;
#else
constexpr BinaryFormat kThisFormat = BinaryFormat::Unknown;
#endif

#if defined(__x86_64__) || defined(_M_X64)
constexpr std::string_view kThisMachine = "x86-64";
#elif defined(__i386__) || defined(_M_IX86)
constexpr std::string_view kThisMachine = "x86";
#elif defined(__aarch64__) || defined(_M_ARM64)
constexpr std::string_view kThisMachine = "ARM64";
#elif defined(__arm__) || defined(_M_ARM)
constexpr std::string_view kThisMachine = "ARM";
#else
constexpr std::string_view kThisMachine = "";
#endif

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

std::uint16_t Little16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(Byte(bytes, at) | Byte(bytes, at + 1) << 8);
}

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
  return Little16(bytes, at) | static_cast<std::uint32_t>(Little16(bytes, at + 2)) << 16;
}

// A PE image: the DOS header's last field points to "PE\0\0", the machine field after it, and
// the optional header's magic number, which alone says 32 or 64 bits.
BinaryKind PeKind(std::string_view header) {
  constexpr std::size_t kHeaderOffsetField = 0x3c;
  if (header.size() < kHeaderOffsetField + 4 || header.substr(0, 2) != "MZ") return {};
  const std::size_t pe = Little32(header, kHeaderOffsetField);
  constexpr std::size_t kMachineField = 4, kMagicField = 24;
  if (pe > header.size() || header.size() - pe < kMagicField + 2) return {};
  if (header.substr(pe, 4) != std::string_view("PE\0\0", 4)) return {};
  const std::uint16_t magic = Little16(header, pe + kMagicField);
  const int bits = magic == 0x10b ? 32 : magic == 0x20b ? 64 : 0;
  if (bits == 0) return {};
  return {BinaryFormat::Pe, bits, Little16(header, pe + kMachineField)};
}

// An ELF image: its identification bytes give the class (32 or 64 bits) and the byte order in
// which e_machine is written.
BinaryKind ElfKind(std::string_view header) {
  constexpr std::size_t kClass = 4, kByteOrder = 5, kMachineField = 18;
  if (header.size() < kMachineField + 2 || header.substr(0, 4) !=
                                               "\x7f"
                                               "ELF")
    return {};
  const int bits = Byte(header, kClass) == 1 ? 32 : Byte(header, kClass) == 2 ? 64 : 0;
  const unsigned order = Byte(header, kByteOrder);
  if (bits == 0 || (order != 1 && order != 2)) return {};
  const std::uint16_t machine = order == 1
                                    ? Little16(header, kMachineField)
                                    : static_cast<std::uint16_t>(Byte(header, kMachineField) << 8 |
                                                                 Byte(header, kMachineField + 1));
  return {BinaryFormat::Elf, bits, machine};
}

}  // namespace

BinaryKind BinaryKindOf(std::string_view header) {
  BinaryKind kind = PeKind(header);
  return kind.format != BinaryFormat::Unknown ? kind : ElfKind(header);
}

BinaryKind ReadBinaryKind(const std::string& path) {
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  std::string header(kBinaryHeaderBytes, '\0');
  file.read(header.data(), static_cast<std::streamsize>(header.size()));
  header.resize(static_cast<std::size_t>(file.gcount()));
  return BinaryKindOf(header);
}

BinaryKind ThisProgramKind() {
  for (const Machine& m : kMachines) {
    if (m.format == kThisFormat && m.name == kThisMachine) {
      return {kThisFormat, static_cast<int>(sizeof(void*) * 8), m.machine};
    }
  }
  return {kThisFormat, static_cast<int>(sizeof(void*) * 8), 0};
}

std::string_view MachineName(const BinaryKind& kind) {
  for (const Machine& m : kMachines) {
    if (m.format == kind.format && m.machine == kind.machine) return m.name;
  }
  return {};
}

}  // namespace platform
