// Measured values as channels of the result document.
#pragma once

#include <string>
#include <string_view>

#include "src/run/run_context.h"

// The label of a channel in the Nebulant form: the key, or the name when the key is empty, with
// blanks, '/' and '\' made '_' and the first '.' made '_'.
std::string ChannelLabel(std::string_view key, std::string_view name);
// "#" for no unit, "%" for "PerCent", "mSec" for "TimeResponse", else the unit itself.
std::string UnitSymbol(std::string_view unit);

// The unit of every channel the sensor writes: times in milliseconds.
inline constexpr std::string_view kTimeUnit = "TimeResponse";

// Appends one channel in the run's flavour and counts it, whether or not anything is written.
void AddChannel(RunContext& run, std::string_view key, std::string_view name,
                std::string_view value, std::string_view unit);

// A listing run's channel goes out as soon as it is measured: alone in the document, printed,
// and the document emptied again.
void PrintChannelAtOnce(RunContext& run, std::string_view key, std::string_view name,
                        std::string_view value);
