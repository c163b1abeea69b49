// The listing run: every system of a server listing, one channel each, and a summary.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "src/config/server_listing.h"
#include "src/output/durations.h"
#include "src/rfc/conversation.h"
#include "src/run/listed_systems.h"
#include "src/run/run_context.h"

enum class ItemDelivery { Delivered, NotDelivered };

// Checks each listed system and prints its channel in listing order, as soon as it and every
// system before it are done: one at a time in this process with ",PARALLEL=1", else up to that
// many at a time, each in a process of its own. The exit code (0 once the summary is printed).
// A connection that cannot be opened ends the run (RunEnded).
[[nodiscard]] int RunListing(RunContext& run, const ServerListing& listing);

// "Processed", "Not Found" or "Rfc Failure": a system is processed when its entry is valid, it
// answered and its item was delivered.
std::string_view SystemState(EntryValidity entry, const Conversation& conversation,
                             ItemDelivery item);

// The document of a listing run, one system after the other in listing order, and its counts.
class ListingReport {
 public:
  ListingReport(RunContext& run, const ServerListing& listing);

  // Prints the system's lines and channel. Ends the run with Error 1033 for a connection that
  // was not opened (RunEnded); the exit code where the library's failure ended the document.
  [[nodiscard]] std::optional<int> Add(const ListedSystem& system,
                                       const Conversation& conversation);
  // The failed-systems channel where asked for, the summary, the end of the document; 0.
  [[nodiscard]] int Finish(std::uint32_t systems);

 private:
  RunContext& run_;
  const ServerListing& listing_;
  // The measurement the listing reports for each system; any other item name gives no channel.
  const DurationChannel* item_;
  std::uint32_t processed_ = 0;
  std::uint32_t failed_ = 0;
};
