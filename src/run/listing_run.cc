// The listing run: every system of a server listing, one channel each, and a summary.
#include "src/run/listing_run.h"

#include <cstdint>

#include "src/output/console_text.h"
#include "src/output/durations.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/run/run_guard.h"
#include "src/run/system_check.h"

namespace {

struct Counts {
  std::uint32_t systems = 0;
  std::uint32_t processed = 0;
  std::uint32_t failed = 0;
};

std::string Summary(const std::string& itemName, const Counts& counts) {
  return "(***) " + itemName + ": NoSystems=" + std::to_string(counts.systems) +
         ", Processed=" + std::to_string(counts.processed) +
         ", Failed=" + std::to_string(counts.failed);
}

}  // namespace

std::string_view SystemState(EntryValidity entry, const Conversation& conversation,
                             ItemDelivery item) {
  if (entry == EntryValidity::Invalid || !conversation.answered()) return "Rfc Failure";
  return item == ItemDelivery::Delivered ? "Processed" : "Not Found";
}

int RunListing(RunContext& run, ServerListing listing) {
  const bool console = run.parameterText.consoleTrace;
  if (console) {
    run.out->Print(run.banner + "\n");
    run.out->Print(
        "* " + run.startTime + " " +
        ListingConsoleParameters(listing.allocationText.value_or(run.parameterText.typed)) +
        " State=Executing\n");
  }
  // The head goes out first, so the monitor always receives a whole document.
  run.out->Print(run.resultDocument.ListingHead());

  // The measurement the listing reports for each system; any other item name gives no channel.
  const DurationChannel* item = DurationChannelNamed(listing.itemName);
  Counts counts;
  while (!listing.names.empty()) {
    ++counts.systems;
    const std::string name = TakeNextSystemName(listing.names);
    const ListedProfile profile = run.readListedProfile(run.profile.directory + name, run.entry);
    if (profile == ListedProfile::Missing) continue;  // skipped without a word
    const EntryValidity entry =
        profile == ListedProfile::Valid ? EntryValidity::Valid : EntryValidity::Invalid;
    const std::string displayName = DisplayNameOf(listing.display, name, run.entry);
    const std::string summaryLine =
        console ? SystemSummaryLine(run.entry, platform::LocalTimeText(), name) : "";

    // An invalid entry is still connected: only its call is skipped.
    run.currentSystem = name;
    const Conversation conversation = CheckSystem(
        run, entry == EntryValidity::Valid ? CallChoice::CallSystemInfo : CallChoice::ConnectOnly);
    if (!conversation.opened()) {
      // The document's text stays as notifications know it; the console names the system.
      if (console) {
        run.out->Print("\n" + summaryLine + " State=" +
                       std::string(SystemState(entry, conversation, ItemDelivery::NotDelivered)) +
                       "\n");
      }
      EndRun(MessageId::ListingOpenError);
    }
    if (conversation.outcome == Outcome::LibraryFailed) {
      return PrintLibraryFailure(*run.out, run.resultDocument, conversation.libraryFailure);
    }

    // The open and processing times come with the system's answer (and a "/CHECK" run shows
    // the list instead); the close and response times of every connected system are delivered,
    // keyed by the system's name, which Nebulant shows.
    const bool delivered =
        item != nullptr &&
        (!item->onlyWhenAnswered || (conversation.answered() && !run.parameterText.check));
    if (delivered) {
      run.out->Print(run.resultDocument.ListingChannel(item->onlyWhenAnswered ? "" : displayName,
                                                       displayName, item->name,
                                                       conversation.times.*item->time));
    }
    const ItemDelivery delivery = delivered ? ItemDelivery::Delivered : ItemDelivery::NotDelivered;
    const std::string_view state = SystemState(entry, conversation, delivery);
    ++(state == "Processed" ? counts.processed : counts.failed);
    if (console) run.out->Print("\n" + summaryLine + " State=" + std::string(state) + "\n");
  }
  if (run.parameterText.failedChannel) {
    run.out->Print(run.resultDocument.FailedSystemsChannel(counts.failed));
  }
  run.out->PrintEnding(run.resultDocument.ListingSummary(Summary(listing.itemName, counts)), 0);
  if (console) {
    run.out->Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return 0;
}
