// The single-system run: one profile, one system, one document.
#pragma once

#include "src/run/run_context.h"

// Connects, calls, closes and prints the document; the exit code. A failure ends the run with
// an error document (RunEnded).
int RunSingleSystem(RunContext& run);

// The parameter text as the console shows it: cut at the console marks, "(No Parameters)" when
// nothing is left.
std::string ConsoleParameters(const ParameterText& parameters);
