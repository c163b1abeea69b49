// Character fields of the records a library hands back, read as text.
#include "src/rfc/record_text.h"

std::string_view BoundedText(const char* field, std::size_t size) {
  std::string_view text(field, size);
  return text.substr(0, text.find('\0'));
}

std::string FieldText(const char* field, std::size_t length) {
  std::string text(BoundedText(field, length));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}
