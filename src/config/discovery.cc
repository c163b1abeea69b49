// Finding the profile in the monitor's custom-sensor directory (the EXEXML flavour).
#include "src/config/discovery.h"

#include "src/output/messages.h"
#include "src/platform/text.h"

namespace {

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

ProfileSearch SearchProfile(std::string_view name) {
  ProfileSearch search;
  std::string& directory = search.directory;

  if (auto hintFile = platform::File::OpenForReading(kPathHintFile)) {
    search.hinted = true;
    directory = LastHintedDirectory(*hintFile);
    hintFile.reset();
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    search.searched = {directory + std::string(kMonitorSubdirectory),
                       directory + std::string(kCustomSensorSubdirectory), directory};
    if (Exists(directory + std::string(kMonitorSubdirectory), name)) {
      directory += kMonitorSubdirectory;
    }
    if (Exists(directory + std::string(kCustomSensorSubdirectory), name)) {
      directory += kCustomSensorSubdirectory;
    }
    // The hint is binding: the usual places are not searched behind its back.
    if (!Exists(directory, name)) return search;
  } else {
    search.searched.emplace_back();
    search.searched.insert(search.searched.end(), kInstallationDirectories.begin(),
                           kInstallationDirectories.end());
  }

  search.file = platform::File::OpenForReading(directory + std::string(name));
  for (std::size_t i = 0; !search.file && i < kInstallationDirectories.size(); ++i) {
    directory = kInstallationDirectories[i];
    search.file = platform::File::OpenForReading(directory + std::string(name));
  }
  return search;
}

DiscoveredProfile DiscoverProfile(std::string_view name) {
  ProfileSearch found = SearchProfile(name);
  if (!found.file) EndRun(MessageId::ProfileMissing, name);
  if (!IsCustomSensorDirectory(found.directory)) EndRun(MessageId::InvalidPathUsage);
  return {std::move(found.directory), std::move(found.file)};
}
