// The texts that go into a document: escaped for XML, or made safe for the plain-text forms.
#include "src/output/xml_text.h"

#include "src/output/text_codec.h"

namespace {

// Control characters have no place in a document's text; XML 1.0 allows tab, line feed and
// carriage return among them, and refuses U+FFFE and U+FFFF as well.
bool IsXmlControl(char32_t c) {
  return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c <= 0x9F) ||
         c == 0xFFFE || c == 0xFFFF;
}

}  // namespace

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    // Printable ASCII but the markup characters stands as it is; most of every text is such.
    const char first = text.front();
    if (first >= 0x20 && first < 0x7F && first != '&' && first != '<' && first != '>') {
      out += first;
      text.remove_prefix(1);
      continue;
    }
    const DecodedCharacter c = DecodeUtf8OrWindows1252(text);
    text.remove_prefix(c.length);
    if (IsXmlControl(c.codePoint)) {
      out += ' ';
    } else if (c.codePoint == '&') {
      out += "&amp;";
    } else if (c.codePoint == '<') {
      out += "&lt;";
    } else if (c.codePoint == '>') {
      out += "&gt;";
    } else {
      AppendUtf8(out, c.codePoint);
    }
  }
  return out;
}

std::string PlainText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return out;
}
