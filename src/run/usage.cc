// The usage text that "sapsysinfo /?" prints for an administrator trying the sensor by hand.
#include "src/run/usage.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "src/config/discovery.h"
#include "src/config/parameters.h"
#include "src/config/profile_set.h"
#include "src/output/flavour.h"
#include "src/output/messages.h"
#include "src/run/version.h"

namespace {

constexpr std::array<std::string_view, 3> kUsageRequests{"/?", "-h", "--help"};
constexpr std::string_view kIndent = "  ";

struct KeywordLine {
  std::string keyword;
  std::string description;
};

// The keyword column is as wide as the longest keyword, so that a new keyword fits too.
std::string KeywordLines(const std::vector<KeywordLine>& lines) {
  std::size_t width = 0;
  for (const KeywordLine& line : lines) width = std::max(width, line.keyword.size());
  std::string text;
  for (const KeywordLine& line : lines) {
    text += kIndent;
    text += line.keyword;
    text.append(width + 2 - line.keyword.size(), ' ');
    text += line.description;
    text += '\n';
  }
  return text;
}

std::string ConsoleMarks() {
  std::string marks;
  for (char mark : kConsoleMarks) {
    if (!marks.empty()) marks += ' ';
    marks += mark;
  }
  return marks;
}

}  // namespace

bool AsksForUsage(const std::vector<std::string>& arguments) {
  return arguments.size() == 2 && std::find(kUsageRequests.begin(), kUsageRequests.end(),
                                            arguments[1]) != kUsageRequests.end();
}

std::string UsageText() {
  std::vector<KeywordLine> keywords{
      {"/Flavour=NAME", "first argument, the document's form: " + std::string(kFlavourList.view())},
      {"", "(without it EXEXML, the monitor's form)"}};
  for (const ParameterKeyword& keyword : ParameterKeywords()) {
    keywords.push_back({std::string(keyword.keyword) + std::string(keyword.value),
                        std::string(keyword.description)});
  }
  keywords.push_back({ConsoleMarks(), "any of them: console progress lines with the document"});

  const std::string hintFile(kPathHintFile);
  std::string installations;
  for (std::string_view directory : kInstallationDirectories) {
    installations += "    " + std::string(directory) + '\n';
  }

  return "SAP SysInfo Vers " + std::string(kVersion) + " / " + std::string(kReleaseDate) +
         ": a custom sensor (EXE/Script Advanced) of PRTG Network Monitor\n"
         "\n"
         "Usage: sapsysinfo [/Flavour=NAME] PROFILE [PARAMETERS [MORE]]\n"
         "\n"
         "  PROFILE     the profile's name, at most " +
         std::to_string(kProfileNameCapacity) + " characters: PRD reads PRD" +
         std::string(kDefaultExtension) +
         ";\n"
         "              GLOBAL runs the global listing of " +
         std::string(kGlobalListingProfile) +
         ";\n"
         "              /PathCheck writes PathCheck.Txt into the folder the sensor runs in\n"
         "  PARAMETERS  the parameter text, MORE joined to it by a blank: at most " +
         std::to_string(kParameterTextCapacity) +
         " characters\n"
         "\n"
         "Keywords, in any letter case:\n" +
         KeywordLines(keywords) +
         "\n"
         "Where the profile is looked for (EXEXML; the other flavours read the path given):\n"
         "  With " +
         hintFile +
         ", only below the folder its last line names: in its\n"
         "    " +
         std::string(kMonitorSubdirectory) + ", its " + std::string(kCustomSensorSubdirectory) +
         ", or itself.\n"
         "  Without it, in the current folder, then on the current drive in\n" +
         installations + "  The folder must end in ExeXml, or the sensor ends with \"" +
         MessageFor(MessageId::InvalidPathUsage) +
         "\";\n"
         "  a profile in the current folder is always refused so: name the monitor's folder in\n"
         "  " +
         hintFile +
         ", or run the sensor from another folder.\n"
         "\n"
         "Every keyword and message, and what to do: REFERENCE.txt in the sensor's package.\n"
         "Profiles are written and checked with sapprofile (sapprofile --help).\n";
}
