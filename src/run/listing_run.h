// The listing run: every system of a server listing, one channel each, and a summary.
#pragma once

#include "src/run/run_context.h"

// Checks each listed system and prints its channel as soon as it is measured; the exit code
// (0 once the summary is printed). A connection that cannot be opened ends the run (RunEnded).
int RunListing(RunContext& run);

// "Processed", "Not Found" or "Rfc Failure".
std::string_view SystemState(const RunContext& run);
