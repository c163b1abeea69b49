// Byte-text helpers that every layer shares.
#include "src/platform/text.h"

#include <limits>

namespace platform {

std::string UpperCaseAtoZ(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::int32_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() &&
         std::string_view(" \t\n\v\f\r").find(text[i]) != std::string_view::npos) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) {
      value = std::numeric_limits<std::int32_t>::max();
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::string_view CutAt(std::string_view text, std::string_view mark) {
  return text.substr(0, text.find(mark));
}

}  // namespace platform
