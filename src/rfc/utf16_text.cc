// The NetWeaver library's UTF-16 texts and the sensor's bytes.
#include "src/rfc/utf16_text.h"

#include "src/output/text_codec.h"

std::u16string Utf16FromText(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  while (!text.empty()) {
    const DecodedCharacter c = DecodeUtf8OrWindows1252(text);
    text.remove_prefix(c.length);
    if (c.codePoint < 0x10000) {
      units += static_cast<char16_t>(c.codePoint);
    } else {
      const char32_t above = c.codePoint - 0x10000;
      units += static_cast<char16_t>(0xD800 + (above >> 10));
      units += static_cast<char16_t>(0xDC00 + (above & 0x3FF));
    }
  }
  return units;
}

std::string TextFromUtf16(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    char32_t codePoint = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      codePoint = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      codePoint = 0xFFFD;
    }
    AppendUtf8(bytes, codePoint);
  }
  return bytes;
}

std::u16string_view BoundedUtf16(const char16_t* text, std::size_t size) {
  std::u16string_view units(text, size);
  return units.substr(0, units.find(u'\0'));
}
