// The server listing of a listing run: from the default profile's "# Gsng: " lines, or from the
// global sensor listing's lines for this sensor with its allocation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "src/config/parameters.h"
#include "src/config/profile_set.h"
#include "src/config/system_entry.h"

// How a listed system's channel is named: by its profile, alias, host or SID.
enum class DisplayMode { Profile, Alias, Host, Sid };

struct ServerListing {
  std::string names;  // profile file names, each followed by '#'
  std::string itemName;
  DisplayMode display = DisplayMode::Profile;
  // A global listing's allocation text up to ",Sensor=", every ':' a blank: the parameter text
  // the console lines show in its place. Its keywords have no effect.
  std::optional<std::string> allocationText;
};

// Reads the listing of an item or global listing (and, for the global listing, the sensor's
// allocation). `secondArgument` is the command line's, as typed, for Error 1030. Ends the run
// when the listing is not usable.
ServerListing ReadServerListing(const ProfileSet& profiles, const Parameters& parameters,
                                std::string_view secondArgument);

// Takes the next profile name off the front of the listing's names, without copying the rest,
// so that a listing of any length is walked in time linear in its size.
std::string TakeNextSystemName(std::string_view& names);

// The name of a listed system's channel.
std::string DisplayNameOf(DisplayMode display, const std::string& profileName,
                          const SystemEntry& entry);
