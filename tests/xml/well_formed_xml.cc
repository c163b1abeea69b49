// Whether a text is a well-formed XML document, by expat.
#include "tests/xml/well_formed_xml.h"

#include <expat.h>

#include <climits>
#include <memory>

namespace xml {

std::optional<XmlError> WellFormedXmlError(std::string_view text) {
  if (text.size() > INT_MAX) return XmlError{"document larger than expat reads at once", 0, 0};
  // The encoding the document declares; UTF-8 when it declares none, as the sensor's do.
  const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
      XML_ParserCreate(nullptr), &XML_ParserFree);
  if (!parser) return XmlError{"expat could not start", 0, 0};
  if (XML_Parse(parser.get(), text.data(), static_cast<int>(text.size()), XML_TRUE) ==
      XML_STATUS_OK) {
    return std::nullopt;
  }
  return XmlError{XML_ErrorString(XML_GetErrorCode(parser.get())),
                  XML_GetCurrentLineNumber(parser.get()), XML_GetCurrentColumnNumber(parser.get())};
}

std::string Describe(const XmlError& error) {
  return "line " + std::to_string(error.line) + ", column " + std::to_string(error.column) + ": " +
         error.reason;
}

}  // namespace xml
