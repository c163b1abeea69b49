// The server listing of a listing run: from the default profile's "# Gsng: " lines, or from the
// global sensor listing's lines for this sensor with its allocation.
#pragma once

#include <string>
#include <string_view>

#include "src/run/run_context.h"

// The first word of the upper-cased parameter text, blank-padded to ten characters: the part
// of it that identifies the sensor in the global sensor listing.
std::string SensorId(const ParameterText& parameters);

// Reads the listing (and, for the global listing, the sensor's allocation): ServerListing,
// ItemName, DisplayMode and the replaced parameter text. Ends the run when it is not usable.
void ReadServerListing(RunContext& run);

// Takes the next profile name off the listing.
std::string TakeNextSystemName(RunContext& run);

// How the system is named in its channel: by its profile, alias, host or SID.
std::string DisplayNameOf(const RunContext& run, const std::string& profileName);
