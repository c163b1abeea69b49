// The one place where the run's RFC library is chosen.
#pragma once

#include <memory>

#include "src/rfc/rfc_client.h"

// The sensor's library: loaded from the places the sensor looks in, with the run's working
// folder made. Ends the run with Error 1047 or 1045 when either cannot be had.
[[nodiscard]] std::unique_ptr<RfcClient> LoadRfcClient(LibraryWatch& watch);
