// What kind of machine a program or library file was built for, read from its header, so that a
// library of the wrong kind can be named as such instead of only failing to load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum class BinaryFormat { Unknown, Pe, Elf };

struct BinaryKind {
  BinaryFormat format = BinaryFormat::Unknown;
  int bits = 0;               // 32 or 64; 0 when unknown
  std::uint16_t machine = 0;  // PE's machine field, or ELF's e_machine

  friend bool operator==(const BinaryKind&, const BinaryKind&) = default;
};

// How many bytes from a file's start BinaryKindOf wants: the PE header follows the DOS stub at
// an offset of its own, which linkers keep well inside the first 4 KiB.
inline constexpr std::size_t kBinaryHeaderBytes = 4096;

// The kind that the first bytes of a file name; Unknown for anything but a PE or ELF image.
BinaryKind BinaryKindOf(std::string_view header);

// The kind of the file at a host path (UTF-8 on Windows); Unknown when it cannot be read.
BinaryKind ReadBinaryKind(const std::string& path);

// The kind this program was built as.
BinaryKind ThisProgramKind();

// The machine's usual name ("x86", "x86-64", "ARM64"); empty for one not in the table.
std::string_view MachineName(const BinaryKind& kind);

}  // namespace platform
