// What an XML parser says of a document the sensor printed.
#include "tests/support/xml_document.h"

#include <expat.h>

#include "tests/xml/well_formed_xml.h"

#include <memory>

namespace testsupport {

std::optional<std::string> XmlProblem(std::string_view document) {
  if (auto error = xml::WellFormedXmlError(document)) return xml::Describe(*error);
  return std::nullopt;
}

namespace {

struct ChannelReader {
  std::vector<std::map<std::string, std::string>> channels;
  std::string element;  // the Result's child being read
  bool inResult = false;
};

void Start(void* data, const XML_Char* name, const XML_Char**) {
  auto& reader = *static_cast<ChannelReader*>(data);
  if (std::string_view(name) == "Result") {
    reader.inResult = true;
    reader.channels.emplace_back();
  } else if (reader.inResult) {
    reader.element = name;
    reader.channels.back()[reader.element];
  }
}

void End(void* data, const XML_Char* name) {
  auto& reader = *static_cast<ChannelReader*>(data);
  if (std::string_view(name) == "Result") reader.inResult = false;
  reader.element.clear();
}

void Text(void* data, const XML_Char* text, int length) {
  auto& reader = *static_cast<ChannelReader*>(data);
  if (reader.inResult && !reader.element.empty()) {
    reader.channels.back()[reader.element].append(text, static_cast<std::size_t>(length));
  }
}

}  // namespace

std::vector<std::map<std::string, std::string>> XmlChannels(std::string_view document) {
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate("UTF-8"),
                                                                      &XML_ParserFree);
  ChannelReader reader;
  XML_SetUserData(parser.get(), &reader);
  XML_SetElementHandler(parser.get(), Start, End);
  XML_SetCharacterDataHandler(parser.get(), Text);
  if (XML_Parse(parser.get(), document.data(), static_cast<int>(document.size()), XML_TRUE) !=
      XML_STATUS_OK) {
    return {};
  }
  return reader.channels;
}

bool LooksLikeXmlDocument(std::string_view output) {
  return output.starts_with("<Prtg>") || output.starts_with("\n<Prtg>");
}

}  // namespace testsupport
