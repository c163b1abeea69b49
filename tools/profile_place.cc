// Where sapprofile reads or writes a profile: named and found as the sensor names and finds it,
// shown by its full path, and judged by the sensor's place check.
#include "tools/profile_place.h"

#include <iostream>

#include "src/config/discovery.h"
#include "src/config/profile_set.h"
#include "src/output/messages.h"

namespace {

constexpr std::string_view kFolderSeparators = "\\/";

std::string FolderOf(std::string_view fullPath) {
  const std::size_t last = fullPath.find_last_of(kFolderSeparators);
  return last == std::string_view::npos ? std::string() : std::string(fullPath.substr(0, last + 1));
}

// The profile found in the current folder: the sensor names that folder by no name, so its
// place check fails there, also when the folder is the custom-sensor folder itself.
std::string CurrentFolderWarning(std::string_view fullPath) {
  return std::string(fullPath) +
         " was found in the current folder, and the sensor refuses a profile it finds there, even "
         "in the custom-sensor folder: name the monitor's folder in " +
         std::string(kPathHintFile) + ", or run the sensor from another folder";
}

std::string FoundHow(const ProfileSearch& search) {
  if (search.hinted) return "found through " + std::string(kPathHintFile);
  if (search.directory.empty()) return "found in the current folder";
  return "found in the monitor's usual folder on the current drive";
}

}  // namespace

std::string ProfileFileOf(std::string_view argument) { return WithDefaultExtension(argument); }

bool IsBareName(std::string_view argument) {
  return argument.find_first_of(":\\/") == std::string_view::npos;
}

std::optional<std::string> PlaceWarning(std::string_view fullPath) {
  const std::string folder = FolderOf(fullPath);
  if (IsCustomSensorDirectory(folder)) return std::nullopt;
  return "the sensor reads no profile from " + folder +
         ": it takes profiles only from a folder whose name ends in EXEXML, the monitor's "
         "Custom Sensors\\EXEXML (\"sapsysinfo /?\" tells where it looks)";
}

std::optional<PlacedProfile> OpenProfileAsTheSensorDoes(std::string_view argument) {
  PlacedProfile placed;
  if (!IsBareName(argument)) {
    const std::string path = ProfileFileOf(argument);
    placed.fullPath = platform::FullPath(path);
    placed.file = platform::File::OpenForReading(path);
    if (!placed.file) {
      std::cerr << "sapprofile: cannot open " << placed.fullPath << '\n';
      return std::nullopt;
    }
    placed.warning = PlaceWarning(placed.fullPath);
    return placed;
  }

  ProfileSet profiles;
  try {
    profiles = ResolveProfileSet(argument, std::nullopt);
  } catch (const RunEnded& end) {
    std::cerr << "sapprofile: the sensor refuses the name: " << end.message << '\n';
    return std::nullopt;
  }
  if (profiles.mode == ProfileMode::GlobalListing) {
    std::cerr << "sapprofile: " << argument << " names the global listing " << profiles.name
              << ", not a profile: check the profiles it lists\n";
    return std::nullopt;
  }
  ProfileSearch search = SearchProfile(profiles.name);
  if (!search.file) {
    std::cerr << "sapprofile: " << profiles.name << " is in none of the places the sensor looks:\n";
    for (const std::string& directory : search.searched) {
      std::cerr << "  " << platform::FullPath(directory + profiles.name) << '\n';
    }
    std::cerr << "The sensor ends with " << MessageFor(MessageId::ProfileMissing, profiles.name)
              << '\n';
    return std::nullopt;
  }
  placed.fullPath = platform::FullPath(search.directory + profiles.name);
  placed.foundHow = FoundHow(search);
  placed.file = std::move(search.file);
  if (!IsCustomSensorDirectory(search.directory)) {
    placed.refusal = MessageFor(MessageId::InvalidPathUsage);
    placed.warning = search.directory.empty() ? CurrentFolderWarning(placed.fullPath)
                                              : PlaceWarning(placed.fullPath);
  }
  return placed;
}
