// Finding the profile in the monitor's custom-sensor directory (the EXEXML flavour).
#include "src/config/discovery.h"

#include <array>

#include "src/output/messages.h"
#include "src/platform/text.h"

namespace {

constexpr std::string_view kMonitorSubdirectory = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr std::string_view kCustomSensorSubdirectory = "Custom Sensors\\ExeXml\\";

// Tried in this order, on the drive of the current directory.
constexpr std::array<std::string_view, 3> kInstallationDirectories{
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

// A hinted directory, both subdirectories and the longest profile name fit the capacity, and
// so does every installation directory: no path the discovery forms can be too long.
static_assert(kHintReadLimit + 1 + kMonitorSubdirectory.size() + kCustomSensorSubdirectory.size() +
                  kProfileNameCapacity <=
              kProfilePathCapacity);
static_assert(kInstallationDirectories[2].size() + kProfileNameCapacity <= kProfilePathCapacity);

constexpr std::string_view kPlaceMark = "EXEXML";

bool Exists(const std::string& directory, std::string_view name) {
  return platform::FileExists(directory + std::string(name));
}

}  // namespace

bool IsHintLine(std::string_view line) {
  return (!line.empty() && line[0] == '\\') || (line.size() > 1 && line[1] == ':') ||
         (line.size() > 2 && line[2] == '\\');
}

std::string LastHintedDirectory(platform::File& hintFile) {
  std::string last;
  std::string line;
  // A line end may be split from its line ("99 characters" then "\r\n"), so the pieces of a
  // line are joined, up to a little more than fits, before the line is judged.
  auto finish = [&] {
    std::string whole = platform::StripLineEnd(std::move(line));
    if (whole.size() <= kHintReadLimit && IsHintLine(whole)) last = std::move(whole);
    line.clear();
  };
  while (auto piece = hintFile.ReadPiece(kHintReadLimit)) {
    if (line.size() <= kHintReadLimit + 2) line += *piece;
    if (piece->back() == '\n') finish();
  }
  if (!line.empty()) finish();
  return last;
}

bool IsCustomSensorDirectory(std::string_view directory) {
  if (directory.size() < kPlaceMark.size() + 1) return false;
  return platform::UpperCaseAtoZ(directory.substr(directory.size() - kPlaceMark.size() - 1,
                                                  kPlaceMark.size())) == kPlaceMark;
}

DiscoveredProfile DiscoverProfile(std::string_view name) {
  std::string directory;

  if (auto hintFile = platform::File::OpenForReading(kPathHintFile)) {
    directory = LastHintedDirectory(*hintFile);
    hintFile.reset();
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    if (Exists(directory + std::string(kMonitorSubdirectory), name)) {
      directory += kMonitorSubdirectory;
    }
    if (Exists(directory + std::string(kCustomSensorSubdirectory), name)) {
      directory += kCustomSensorSubdirectory;
    }
    // The hint is binding: the usual places are not searched behind its back.
    if (!Exists(directory, name)) EndRun(MessageId::ProfileMissing, name);
  }

  auto file = platform::File::OpenForReading(directory + std::string(name));
  for (std::size_t i = 0; !file && i < kInstallationDirectories.size(); ++i) {
    directory = kInstallationDirectories[i];
    file = platform::File::OpenForReading(directory + std::string(name));
  }
  if (!file) EndRun(MessageId::ProfileMissing, name);
  if (!IsCustomSensorDirectory(directory)) EndRun(MessageId::InvalidPathUsage);
  return {std::move(directory), std::move(file)};
}
