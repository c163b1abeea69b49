// The process a listing run starts for one of its systems: it takes its request from standard
// input, checks the system as the listing run would (reading the system's profile itself), and
// reports on standard output how the check ended.
#pragma once

#include <string>
#include <vector>

#include "src/run/run_context.h"

// Whether the command line is that of such a process.
[[nodiscard]] bool IsListedSystemStart(const std::vector<std::string>& arguments);

// The exit code. Started by hand, without its listing's request, it prints an error document.
[[nodiscard]] int RunListedSystem(RunContext& run, const std::vector<std::string>& arguments);
