// Bytes that may be UTF-8 or Windows-1252 read as characters, and characters written as UTF-8.
#include "src/output/text_codec.h"

#include <array>

namespace {

// What Windows-1252 makes of the bytes 0x80 to 0x9F; 0 for the five it leaves undefined. The
// bytes from 0xA0 on are the code points of the same number.
constexpr std::array<char32_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Windows1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kWindows1252High[byte - 0x80];
  return byte;
}

// The length of the well-formed UTF-8 sequence at the start of `text`, and its code point; 0
// when none starts there.
std::size_t Utf8Sequence(std::string_view text, char32_t& codePoint) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1Fu, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0Fu, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07u, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80u) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

DecodedCharacter DecodeUtf8OrWindows1252(std::string_view text) {
  DecodedCharacter character;
  character.length = Utf8Sequence(text, character.codePoint);
  if (character.length == 0) {
    character.codePoint = Windows1252(static_cast<unsigned char>(text[0]));
    character.length = 1;
  }
  return character;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  const auto put = [&out](char32_t bits) { out += static_cast<char>(bits); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | (codePoint >> 6));
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | (codePoint >> 12));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | (codePoint >> 18));
    put(0x80 | ((codePoint >> 12) & 0x3F));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}
