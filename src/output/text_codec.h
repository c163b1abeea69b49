// Bytes that may be UTF-8 or Windows-1252 read as characters, and characters written as UTF-8:
// profiles come from Windows editors and remote systems that are no Unicode systems.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct DecodedCharacter {
  char32_t codePoint = 0;
  std::size_t length = 0;  // bytes taken from the text
};

// The character at the start of a non-empty text: a well-formed UTF-8 sequence (no overlong
// form, no surrogate, nothing above U+10FFFF), else its first byte read as Windows-1252, where
// the five bytes that code page leaves undefined read as 0.
DecodedCharacter DecodeUtf8OrWindows1252(std::string_view text);

// Appends the code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);
