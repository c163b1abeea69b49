// One run of the sensor, phase after phase.
#pragma once

#include <string>
#include <vector>

#include "src/run/run_context.h"

// Runs the sensor on its arguments (the program's own path first) and returns the exit code;
// a failure the run detects leaves its error document in the context and throws RunEnded.
int RunSensor(RunContext& run, const std::vector<std::string>& arguments);
