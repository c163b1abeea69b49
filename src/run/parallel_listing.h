// A listing run's systems checked up to ",PARALLEL=" at a time, each in a process of its own
// (the sensor started again for one system), reported in listing order: the document is the
// one a run of one system at a time prints, only sooner.
#pragma once

#include <optional>

#include "src/run/listed_systems.h"
#include "src/run/listing_run.h"
#include "src/run/run_context.h"

// Hands each system's result to the report in listing order, as soon as it and every system
// before it are done. The exit code where a system's result ended the document (the systems
// after it are then stopped, or never started); nothing once every system is reported.
[[nodiscard]] std::optional<int> CheckInParallel(RunContext& run, ListedSystems& systems,
                                                 ListingReport& report);
