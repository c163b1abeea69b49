// Whether a text is a well-formed XML 1.0 document, as a monitor's XML parser reads it: the
// tests hold every document of the sensor against this.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace xml {

// Where and why a text stops being well-formed, as expat reports it.
struct XmlError {
  std::string reason;
  unsigned long line = 0;    // from 1
  unsigned long column = 0;  // from 0, in bytes
};

// The first error of `text` as a document in the encoding it declares (UTF-8 when it declares
// none); nothing when it is well-formed.
std::optional<XmlError> WellFormedXmlError(std::string_view text);

// "line L, column C: reason", for test messages.
std::string Describe(const XmlError& error);

}  // namespace xml
