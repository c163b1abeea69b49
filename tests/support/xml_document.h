// What an XML parser says of a document the sensor printed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace testsupport {

// Expat's complaint about the text, with line and column; nothing when it is well-formed XML.
std::optional<std::string> XmlProblem(std::string_view document);

// Whether the text is meant as one XML document: it begins with the document's opening, with
// no console line before it.
bool LooksLikeXmlDocument(std::string_view output);

}  // namespace testsupport
