// Where sapprofile reads or writes a profile: named and found as the sensor names and finds it,
// shown by its full path, and judged by the sensor's place check.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "src/platform/file.h"

// The profile file an argument names, with the sensor's default extension: PRD is PRD.P00.
std::string ProfileFileOf(std::string_view argument);

// A name without a folder in it, which the sensor looks for in its own places.
[[nodiscard]] bool IsBareName(std::string_view argument);

// Why the sensor would read no profile at `fullPath`, for a warning: its folder does not end in
// EXEXML. Nothing when the folder is one the sensor reads profiles from.
std::optional<std::string> PlaceWarning(std::string_view fullPath);

// A profile opened for checking, and what the sensor would make of its place.
struct PlacedProfile {
  std::string fullPath;
  std::string foundHow;  // for a bare name: where among the sensor's places it was found
  std::unique_ptr<platform::File> file;
  std::optional<std::string> warning;  // why the sensor would not read it there
  std::optional<std::string> refusal;  // the message the sensor ends with before reading it
};

// Opens the profile an argument names as the sensor does: a bare name in the places the sensor
// searches, a path where it is. Nothing, with the reason and the sensor's message on standard
// error, when it cannot.
std::optional<PlacedProfile> OpenProfileAsTheSensorDoes(std::string_view argument);
