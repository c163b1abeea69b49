// The listing run: every system of a server listing, one channel each, and a summary.
#include "src/run/listing_run.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "src/config/system_entry.h"
#include "src/output/console.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/platform/file.h"
#include "src/run/system_check.h"

namespace {

// The measurements a listing can report, one channel per system named after it. The open and
// processing times exist only when the system answered the call (and the run is no "/CHECK"
// run); the close and response times of every connected system are delivered. Any other item
// name gives no channel at all.
struct ListingItem {
  std::string_view name;
  std::int32_t Durations::*time;
  bool keyedByName;  // the channel's key is the system's name (Nebulant shows it)
  bool needsAnswer;
};
constexpr std::array<ListingItem, 4> kItems{{
    {"RFC-Open Time", &Durations::open, false, true},
    {"Processing Time", &Durations::processing, false, true},
    {"RFC-Close Time", &Durations::close, true, false},
    {"Response Time", &Durations::response, true, false},
}};

const ListingItem* ItemNamed(std::string_view name) {
  auto item = std::find_if(kItems.begin(), kItems.end(),
                           [name](const ListingItem& row) { return row.name == name; });
  return item == kItems.end() ? nullptr : &*item;
}

struct Counts {
  std::uint32_t systems = 0;
  std::uint32_t processed = 0;
  std::uint32_t failed = 0;
};

}  // namespace

std::string_view SystemState(bool entryValid, CallStatus status, bool itemDelivered) {
  if (!entryValid || status != CallStatus::Ok) return "Rfc Failure";
  return itemDelivered ? "Processed" : "Not Found";
}

int RunListing(RunContext& run, ServerListing listing) {
  const bool console = run.parameterText.consoleTrace;
  if (console) {
    Print(run.banner + "\n");
    Print("* " + run.startTime + " " +
          ListingConsoleParameters(listing.allocationText.value_or(run.parameterText.typed)) +
          " State=Executing\n");
  }
  // The head goes out first, so the monitor always receives a whole document.
  Print(run.resultDocument.ListingHead());

  const ListingItem* item = ItemNamed(listing.itemName);
  Counts counts;
  while (!listing.names.empty()) {
    ++counts.systems;
    const std::string name = TakeNextSystemName(listing.names);
    auto profile = platform::File::OpenForReading(run.profile.directory + name);
    if (!profile) continue;  // skipped without a word
    const bool valid = ReadListedEntry(run.entry, std::move(profile), run.passwordKeyTable);
    const std::string displayName = DisplayNameOf(listing.display, name, run.entry);
    const std::string summaryLine =
        console ? SystemSummaryLine(run.entry, platform::LocalTimeText(), name) : "";

    // An invalid entry is still connected: only its call is skipped.
    const Conversation conversation = CheckSystem(run, valid);
    if (!conversation.opened) EndRun(MessageId::ListingOpenError);
    const bool answered = conversation.status == CallStatus::Ok;
    const bool delivered =
        item != nullptr && (!item->needsAnswer || (answered && !run.parameterText.check));
    if (delivered) {
      Print(run.resultDocument.ListingChannel(item->keyedByName ? displayName : "", displayName,
                                              item->name, conversation.times.*item->time));
    }

    ++(valid && answered && delivered ? counts.processed : counts.failed);
    if (console) {
      Print("\n" + summaryLine +
            " State=" + std::string(SystemState(valid, conversation.status, delivered)) + "\n");
    }
  }

  if (run.parameterText.failedChannel) {
    Print(run.resultDocument.FailedSystemsChannel(counts.failed));
  }
  Print(run.resultDocument.ListingSummary("(***) " + listing.itemName +
                                          ": NoSystems=" + std::to_string(counts.systems) +
                                          ", Processed=" + std::to_string(counts.processed) +
                                          ", Failed=" + std::to_string(counts.failed)));
  if (console) Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  return 0;
}
