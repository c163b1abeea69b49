// Finding the profile in the monitor's custom-sensor directory (the EXEXML flavour).
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "src/platform/file.h"

// An optional file naming the monitor's installation directory, one candidate per line.
inline constexpr std::string_view kPathHintFile = "C:\\PRTG_Path.Txt";
inline constexpr std::size_t kHintReadLimit = 99;
// The longest path the discovery forms: Windows' MAX_PATH less its terminator.
inline constexpr std::size_t kProfilePathCapacity = 259;

// Below a hinted directory, tried before the directory itself.
inline constexpr std::string_view kMonitorSubdirectory =
    "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
inline constexpr std::string_view kCustomSensorSubdirectory = "Custom Sensors\\ExeXml\\";
// Without a hint file, tried in this order after the current directory, on its drive.
inline constexpr std::array<std::string_view, 3> kInstallationDirectories{
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

// A hint line counts when its first character is '\', its second ':' or its third '\'.
bool IsHintLine(std::string_view line);

// The last line of the hint file that counts, empty when none does. A line longer than one
// read is no directory (its first piece would name one cut short) and counts as absent.
std::string LastHintedDirectory(platform::File& hintFile);

// The monitor runs custom sensors from a directory ending in ExeXml and one more character
// (the backslash); letter case does not matter.
bool IsCustomSensorDirectory(std::string_view directory);

struct DiscoveredProfile {
  std::string directory;  // ending in a backslash
  std::unique_ptr<platform::File> file;
};

// Where the sensor would read a profile from, found without ending the run.
struct ProfileSearch {
  bool hinted = false;                   // the hint file was there and chose the directories
  std::vector<std::string> searched;     // the directories looked in, in order; "": the current one
  std::string directory;                 // where the profile was found (ending in a backslash, or
                                         // empty: the current directory)
  std::unique_ptr<platform::File> file;  // nothing when the profile is nowhere
};

// Looks for the profile through the hint file, else in the current directory and the usual
// installation paths on the current drive, and opens it; the place is not judged.
ProfileSearch SearchProfile(std::string_view name);

// Finds the profile through the hint file, else in the current directory and the usual
// installation paths on the current drive, and opens it. Ends the run with Error 1002 (the bare
// name) when the profile is nowhere, and refuses a profile found outside a custom-sensor
// directory.
DiscoveredProfile DiscoverProfile(std::string_view name);
