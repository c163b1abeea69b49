// The listing run: every system of a server listing, one channel each, and a summary.
#pragma once

#include <string_view>

#include "src/config/server_listing.h"
#include "src/rfc/conversation.h"
#include "src/run/run_context.h"

enum class EntryValidity { Valid, Invalid };
enum class ItemDelivery { Delivered, NotDelivered };

// Checks each listed system and prints its channel as soon as it is measured; the exit code
// (0 once the summary is printed). A connection that cannot be opened ends the run (RunEnded).
[[nodiscard]] int RunListing(RunContext& run, ServerListing listing);

// "Processed", "Not Found" or "Rfc Failure": a system is processed when its entry is valid, it
// answered and its item was delivered.
std::string_view SystemState(EntryValidity entry, const Conversation& conversation,
                             ItemDelivery item);
