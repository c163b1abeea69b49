// Texts between this program's UTF-8 and the UTF-16 of the Windows functions (the wide ones,
// "*W", which take a path as it is, where the "*A" ones read it in the ANSI code page).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Bytes that are no UTF-8 (a name from a file saved by a Windows editor) are read as
// Windows-1252, as everywhere else in the program.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace platform
