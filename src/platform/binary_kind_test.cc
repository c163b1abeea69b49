#include "src/platform/binary_kind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "src/platform/shared_library.h"

namespace {

using platform::BinaryFormat;
using platform::BinaryKind;

// The first bytes of a file: zeros, with some bytes put in.
struct Bytes {
  std::string bytes;
  explicit Bytes(std::size_t size) : bytes(size, '\0') {}
  Bytes& Put(std::size_t at, std::initializer_list<int> values) {
    for (int value : values) bytes[at++] = static_cast<char>(value);
    return *this;
  }
  Bytes& Text(std::size_t at, std::string_view text) {
    bytes.replace(at, text.size(), text);
    return *this;
  }
};

// A PE image's headers: the DOS header points at 0x80, where "PE\0\0", the machine field and,
// 24 bytes on, the optional header's magic number stand.
Bytes Pe(int machineLow, int machineHigh, int magicLow, int magicHigh) {
  return Bytes(512)
      .Text(0, "MZ")
      .Put(0x3c, {0x80})
      .Text(0x80, std::string("PE\0\0", 4))
      .Put(0x84, {machineLow, machineHigh})
      .Put(0x98, {magicLow, magicHigh});
}

// An ELF image's identification and machine field.
Bytes Elf(int elfClass, int byteOrder, int machineAt18, int machineAt19) {
  return Bytes(64)
      .Text(0,
            "\x7f"
            "ELF")
      .Put(4, {elfClass, byteOrder, 1})
      .Put(18, {machineAt18, machineAt19});
}

TEST(BinaryKindTest, ReadsFormatWidthAndMachineFromTheHeader) {
  struct Case {
    const char* what;
    std::string header;
    BinaryKind expected;
  } cases[] = {
      {"PE32 i386", Pe(0x4c, 0x01, 0x0b, 0x01).bytes, {BinaryFormat::Pe, 32, 0x014c}},
      {"PE32+ AMD64", Pe(0x64, 0x86, 0x0b, 0x02).bytes, {BinaryFormat::Pe, 64, 0x8664}},
      {"PE32+ ARM64", Pe(0x64, 0xaa, 0x0b, 0x02).bytes, {BinaryFormat::Pe, 64, 0xaa64}},
      {"ELF32 i386", Elf(1, 1, 3, 0).bytes, {BinaryFormat::Elf, 32, 3}},
      {"ELF64 x86-64", Elf(2, 1, 62, 0).bytes, {BinaryFormat::Elf, 64, 62}},
      {"ELF32 big-endian PowerPC", Elf(1, 2, 0, 20).bytes, {BinaryFormat::Elf, 32, 20}},
      {"PE with an unknown optional header", Pe(0x4c, 0x01, 0x07, 0x01).bytes, {}},
      {"PE header past the bytes read", Pe(0x4c, 0x01, 0x0b, 0x01).bytes.substr(0, 0x90), {}},
      {"DOS program without a PE header", Bytes(512).Text(0, "MZ").Put(0x3c, {0x80}).bytes, {}},
      {"PE offset far beyond the bytes read",
       Bytes(512).Text(0, "MZ").Put(0x3c, {0xff, 0xff, 0xff, 0xff}).bytes,
       {}},
      {"ELF of no known class", Elf(3, 1, 62, 0).bytes, {}},
      {"ELF of no known byte order", Elf(2, 0, 62, 0).bytes, {}},
      {"ELF cut before its machine", Elf(2, 1, 62, 0).bytes.substr(0, 19), {}},
      {"text",
       "MZ is not enough, and neither is \x7f"
       "ELF later on",
       {}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::BinaryKindOf(c.header), c.expected) << c.what;
  }
}

TEST(BinaryKindTest, ThisProgramIsWhatItsOwnFileSays) {
  const BinaryKind kind = platform::ThisProgramKind();
  EXPECT_EQ(kind.bits, static_cast<int>(sizeof(void*) * 8));
  EXPECT_FALSE(platform::MachineName(kind).empty());
  const std::string program = platform::ProgramFile();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(platform::ReadBinaryKind(program), kind) << program;
}

TEST(BinaryKindTest, AFileThatCannotBeReadIsOfNoKind) {
  EXPECT_EQ(platform::ReadBinaryKind(platform::ProgramFolder() + "no-such-file"), BinaryKind{});
  EXPECT_EQ(platform::ReadBinaryKind(platform::ProgramFolder()), BinaryKind{});
}

}  // namespace
