// The listing run: every system of a server listing, one channel each, and a summary.
#include "src/run/listing_run.h"

#include "src/output/console_text.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/run/run_guard.h"
#include "src/run/system_check.h"

std::string_view SystemState(EntryValidity entry, const Conversation& conversation,
                             ItemDelivery item) {
  if (entry == EntryValidity::Invalid || !conversation.answered()) return "Rfc Failure";
  return item == ItemDelivery::Delivered ? "Processed" : "Not Found";
}

ListingReport::ListingReport(RunContext& run, const ServerListing& listing)
    : run_(run), listing_(listing), item_(DurationChannelNamed(listing.itemName)) {}

std::optional<int> ListingReport::Add(const ListedSystem& system,
                                      const Conversation& conversation) {
  const bool console = run_.parameterText.consoleTrace;
  // A console line: without console marks standard output holds the document alone.
  if (conversation.throughSapRfcIni && console) {
    run_.out->Print(SapRfcIniLine(system.values.destination));
  }
  if (!conversation.opened()) {
    // The document's text stays as notifications know it; the console names the system.
    if (console) {
      run_.out->Print(
          "\n" + system.summaryLine + " State=" +
          std::string(SystemState(system.entry, conversation, ItemDelivery::NotDelivered)) + "\n");
    }
    EndRun(MessageId::ListingOpenError);
  }
  if (conversation.outcome == Outcome::LibraryFailed) {
    return PrintLibraryFailure(*run_.out, run_.resultDocument, conversation.libraryFailure);
  }

  // The open and processing times come with the system's answer (and a "/CHECK" run shows the
  // list instead); the close and response times of every connected system are delivered, keyed
  // by the system's name, which Nebulant shows.
  const bool delivered =
      item_ != nullptr &&
      (!item_->onlyWhenAnswered || (conversation.answered() && !run_.parameterText.check));
  if (delivered) {
    run_.out->Print(run_.resultDocument.ListingChannel(
        item_->onlyWhenAnswered ? "" : system.displayName, system.displayName, item_->name,
        conversation.times.*item_->time));
  }
  const std::string_view state = SystemState(
      system.entry, conversation, delivered ? ItemDelivery::Delivered : ItemDelivery::NotDelivered);
  ++(state == "Processed" ? processed_ : failed_);
  if (console) run_.out->Print("\n" + system.summaryLine + " State=" + std::string(state) + "\n");
  return std::nullopt;
}

int ListingReport::Finish(std::uint32_t systems) {
  if (run_.parameterText.failedChannel) {
    run_.out->Print(run_.resultDocument.FailedSystemsChannel(failed_));
  }
  run_.out->PrintEnding(
      run_.resultDocument.ListingSummary(
          "(***) " + listing_.itemName + ": NoSystems=" + std::to_string(systems) +
          ", Processed=" + std::to_string(processed_) + ", Failed=" + std::to_string(failed_)),
      0);
  if (run_.parameterText.consoleTrace) {
    run_.out->Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return 0;
}

int RunListing(RunContext& run, const ServerListing& listing) {
  if (run.parameterText.consoleTrace) {
    run.out->Print(run.banner + "\n");
    run.out->Print(
        "* " + run.startTime + " " +
        ListingConsoleParameters(listing.allocationText.value_or(run.parameterText.typed)) +
        " State=Executing\n");
  }
  // The head goes out first, so the monitor always receives a whole document.
  run.out->Print(run.resultDocument.ListingHead());

  ListingReport report(run, listing);
  ListedSystems systems(run, listing);
  if (run.parameterText.parallel > 1 && run.checkInParallel) {
    if (std::optional<int> ended = run.checkInParallel(run, systems, report)) return *ended;
    return report.Finish(systems.counted());
  }
  while (std::optional<ListedSystem> system = systems.Next()) {
    run.entry = system->values;
    run.currentSystem = system->name;
    // An invalid entry is still connected: only its call is skipped.
    const Conversation conversation =
        CheckSystem(run, system->entry == EntryValidity::Valid ? CallChoice::CallSystemInfo
                                                               : CallChoice::ConnectOnly);
    if (std::optional<int> ended = report.Add(*system, conversation)) return *ended;
  }
  return report.Finish(systems.counted());
}
