// What an XML parser says of a document the sensor printed.
#include "tests/support/xml_document.h"

#include <expat.h>

#include <memory>

namespace testsupport {

std::optional<std::string> XmlProblem(std::string_view document) {
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate("UTF-8"),
                                                                      &XML_ParserFree);
  if (XML_Parse(parser.get(), document.data(), static_cast<int>(document.size()), XML_TRUE) ==
      XML_STATUS_OK) {
    return std::nullopt;
  }
  return std::string(XML_ErrorString(XML_GetErrorCode(parser.get()))) + " at line " +
         std::to_string(XML_GetCurrentLineNumber(parser.get())) + ", column " +
         std::to_string(XML_GetCurrentColumnNumber(parser.get()));
}

bool LooksLikeXmlDocument(std::string_view output) {
  return output.starts_with("<Prtg>") || output.starts_with("\n<Prtg>");
}

}  // namespace testsupport
