// Fuzz target: the command line and its parameter text, through to every document the sensor
// would print from them: a system's document, a listing's pieces, the error documents and the
// library's error. Input: up to four arguments, separated by NUL bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "src/config/parameters.h"
#include "src/config/system_entry.h"
#include "src/output/document.h"
#include "src/output/messages.h"
#include "src/output/system_text.h"
#include "src/run/command_line.h"
#include "tests/fuzz/property.h"
#include "tests/xml/well_formed_xml.h"

namespace {

// The password of the entry the documents are made from; no document may show it.
constexpr std::string_view kPassword = "pW7#secret";

void RequireXml(std::string_view document, std::string_view what) {
  if (auto error = xml::WellFormedXmlError(document)) {
    fuzz::Require(false, what, xml::Describe(*error) + "\n" + std::string(document));
  }
}

void RequireNoPassword(std::string_view document, bool passwordInInput) {
  fuzz::Require(passwordInInput || document.find(kPassword) == std::string_view::npos,
                "no document shows the password", document);
}

// Text-flavour documents: a control character other than the line feeds they are made of
// would forge a line or garble the monitor's reading.
void RequirePlain(std::string_view document) {
  for (char c : document) {
    const auto byte = static_cast<unsigned char>(c);
    fuzz::Require(c == '\n' || (byte >= 0x20 && byte != 0x7f), "no control character", document);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments{"sapsysinfo.exe"};
  for (std::size_t begin = 0; begin <= input.size() && arguments.size() < 5;) {
    const std::size_t end = std::min(input.find('\0', begin), input.size());
    arguments.emplace_back(input.substr(begin, end - begin));
    begin = end + 1;
  }
  const bool passwordInInput = input.find(kPassword) != std::string_view::npos;

  Document document;
  std::string profileName = arguments[1];
  try {
    const CommandLine line = ReadCommandLine(arguments);
    profileName = line.profileName;
    const Parameters parameters = ParseParameters(line.parameterText);
    document = Document(line.flavour, parameters.channel,
                        TimeLimits{parameters.warningLimit, parameters.errorLimit});

    // A system whose profile and answer hold whatever the arguments held.
    SystemEntry entry;
    entry.destination = line.profileName;
    entry.sysnr = line.secondArgument;
    entry.hostname = line.parameterText;
    entry.password = kPassword;
    const SystemFields fields{line.parameterText, line.secondArgument, line.profileName,
                              line.programPath,   line.parameterText,  line.secondArgument};
    const std::string item = parameters.item.value_or("Response Time");
    const std::string system = document.SystemDocument(
        SystemInfoText(fields, entry.destination, entry.sysnr), {12, 3, 4, 1234567});
    std::string listing = document.ListingHead();
    listing += document.ListingChannel(entry.destination, entry.hostname, item, 42);
    listing += document.FailedSystemsChannel(7);
    const std::string open = listing;
    listing += document.ListingSummary("(***) " + item + ": NoSystems=1, Processed=0, Failed=1");

    for (const std::string& text :
         {system, listing, SystemSummaryLine(entry, "12:00:00", profileName),
          CheckList(fields, entry.sysnr)}) {
      RequireNoPassword(text, passwordInInput);
    }
    if (IsXmlFlavour(line.flavour)) {
      RequireXml(system, "a system's document is well-formed XML");
      RequireXml(listing, "a listing's document is well-formed XML");
      RequireXml(open + document.ErrorDocument(MessageFor(MessageId::ListingOpenError)),
                 "an open listing ended by an error is well-formed XML");
      RequireXml(open + document
                            .LibraryFailureEnding({"RfcReceive", line.profileName,
                                                   line.secondArgument, line.parameterText, item})
                            .beforeClose,
                 "an open listing ended by the library's error is well-formed XML");
    } else {
      RequirePlain(system);
      RequirePlain(listing);
    }
  } catch (const RunEnded& end) {
    RequireXml(document.ErrorDocument(end.message), "an error document is well-formed XML");
    RequireNoPassword(end.message, passwordInInput);
  }

  // Every message of the catalogue, with the profile name as its variable part.
  for (int id = 0; id < static_cast<int>(MessageId::Count); ++id) {
    RequireXml(Document().ErrorDocument(MessageFor(static_cast<MessageId>(id), profileName)),
               "every error document is well-formed XML");
  }
  return 0;
}
