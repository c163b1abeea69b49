// One run of the sensor, phase after phase, and how it ends.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "src/run/run_context.h"

// Runs the sensor on its arguments (the program's own path first) and returns the exit code;
// a failure the run detects throws RunEnded.
[[nodiscard]] int RunSensor(RunContext& run, const std::vector<std::string>& arguments);

// Runs `phases` and turns however they end into the exit code: a RunEnded prints the error
// document of its message, any other exception the document of an unexpected failure, so that
// the monitor always receives a document. Then the library's working folder is handed over.
// Output that could not be written whole gives 2.
[[nodiscard]] int RunToTheEnd(RunContext& run, const std::function<int()>& phases);
