// The single-system run: one profile, one system, one document.
#pragma once

#include "src/run/run_context.h"

// Checks the entry's system and prints its document (or, with "/CHECK", its readable list);
// the exit code. A failure ends the run with an error document (RunEnded).
[[nodiscard]] int RunSingleSystem(RunContext& run);
