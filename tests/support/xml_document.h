// What an XML parser says of a document the sensor printed.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The XML parser's complaint about the text, with line and column; nothing when it is
// well-formed XML.
std::optional<std::string> XmlProblem(std::string_view document);

// The Result elements of a document as the parser reads them: each child element's text by
// its name (Channel, Value, Unit, LimitMaxWarning, ...). Empty when the text is no XML.
std::vector<std::map<std::string, std::string>> XmlChannels(std::string_view document);

// Whether the text is meant as one XML document: it begins with the document's opening, with
// no console line before it.
bool LooksLikeXmlDocument(std::string_view output);

}  // namespace testsupport
