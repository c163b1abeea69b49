// "sapprofile check": a profile read by the sensor's own reader, as the sensor finds it, with
// each value, its check and the outcome of a run.
#pragma once

#include <string_view>

#include "src/config/system_entry.h"

// Prints the report on standard output and returns the exit code: 0 when the sensor accepts
// the profile, 1 when it refuses it, 2 when it finds none.
int CheckProfile(std::string_view argument, EntryKind kind);
