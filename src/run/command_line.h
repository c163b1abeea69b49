// Start-up and the command line: the banner, the flavour, the profile name, the parameter text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "src/run/run_context.h"

// The capacities of the two arguments the run keeps. Longer ones are refused, not cut: a cut
// parameter text could drop a keyword and the sensor would report the wrong thing.
inline constexpr std::size_t kProfileNameCapacity = 63;
inline constexpr std::size_t kParameterTextCapacity = 119;

// Upper-cases the letters a to z only.
std::string UpperCaseAtoZ(std::string_view text);

// The banner and the start-up time.
void PrepareBanner(RunContext& run);

// Takes the arguments apart (the program's own path first). Ends the run with Error 1001, or
// with an error for an unknown flavour or an argument that does not fit.
void ReadCommandLine(RunContext& run, const std::vector<std::string>& arguments);

// On when the parameter text holds any of '#', '@', '$', '%'.
bool WantsConsoleTrace(const ParameterText& parameters);

// The path check is selected by exactly "/PathCheck", in this letter case.
bool IsPathCheck(std::string_view firstArgument);
