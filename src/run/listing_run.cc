// The listing run: every system of a server listing, one channel each, and a summary.
#include "src/run/listing_run.h"

#include <algorithm>

#include "src/config/server_listing.h"
#include "src/config/system_entry.h"
#include "src/output/channel.h"
#include "src/output/console.h"
#include "src/output/document.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/rfc/connection.h"
#include "src/rfc/report.h"
#include "src/rfc/system_info.h"

namespace {

// The close and response times are measured here; the selected one is printed at once.
void DeliverIfSelected(RunContext& run, std::string_view item, std::int32_t milliseconds) {
  if (run.ItemName != item) return;
  run.ItemDelivered = true;
  PrintChannelAtOnce(run, run.DisplayName, run.DisplayName, TimeText(milliseconds));
}

// The head is out already, so the error ends that document instead of printing a second one
// after it: the monitor reads one document with the error flag and the message.
[[noreturn]] void EndAfterHead(RunContext& run, Message message) {
  try {
    EndRun(run, message);
  } catch (const RunEnded&) {
    constexpr std::string_view kXmlHead = "<Prtg>\n";
    if (IsXmlFlavour(run.Flavour) && run.ResultDocument.starts_with(kXmlHead)) {
      run.ResultDocument.erase(0, kXmlHead.size());
    }
    throw;
  }
}

void CheckSystem(RunContext& run, OpenRecords& records, const std::string& name,
                 std::unique_ptr<platform::File> profile) {
  ReadSystemEntry(run, std::move(profile), name, EntryKind::Listing);
  run.DisplayName = DisplayNameOf(run, name);
  if (run.ConsoleTrace)
    run.ConsoleLine = SystemSummaryLine(run.Entry, platform::LocalTimeText(), name);

  run.ResponseStartTime = platform::ClockMilliseconds();
  SetUpRfcEnvironment();
  run.CallStatus = "ERR";
  run.ResultDocument.clear();

  // An invalid entry is still connected: only its call is skipped.
  run.ConnectionHandle = OpenConnection(run, records);
  if (run.ConnectionHandle == 0) EndAfterHead(run, Message::ListingOpenError);
  run.OpenEndTime = platform::ClockMilliseconds();
  if (!run.EntryInvalid) {
    run.RunResult = ReportSystemInfo(run, run.ConnectionHandle);
    if (run.CallStatus != "OK") run.EntryInvalid = true;
  }

  run.CloseStartTime = platform::ClockMilliseconds();
  RfcClose(run.ConnectionHandle);
  run.ConnectionHandle = 0;
  DeliverIfSelected(run, "RFC-Close Time", platform::ClockMilliseconds() - run.CloseStartTime);
  DeliverIfSelected(run, "Response Time", platform::ClockMilliseconds() - run.ResponseStartTime);
  // What the system left without delivering its channel does not belong in the summary.
  run.ResultDocument.clear();

  if (!run.EntryInvalid && run.CallStatus == "OK" && run.ItemDelivered) {
    ++run.ProcessedCount;
  } else {
    ++run.FailedCount;
  }
  if (run.ConsoleTrace) {
    Print("\n" + run.ConsoleLine + " State=" + std::string(SystemState(run)) + "\n");
  }
}

}  // namespace

std::string_view SystemState(const RunContext& run) {
  if (run.EntryInvalid || run.CallStatus != "OK") return "Rfc Failure";
  return run.ItemDelivered ? "Processed" : "Not Found";
}

int RunListing(RunContext& run) {
  if (run.ConsoleTrace) Print(run.Banner + "\n");
  std::string& typed = run.Parameters.typed;
  std::replace(typed.begin(), typed.end(), ':', ' ');
  typed = typed.substr(0, typed.find(" @"));
  if (run.ConsoleTrace) Print("* " + run.StartTime + " " + typed + " State=Executing\n");

  // The head goes out first, so the monitor always receives a whole document.
  OpenDocument(run);
  Print(run.ResultDocument + "\n");
  run.ResultDocument.clear();

  OpenRecords records;
  while (!run.ServerListing.empty()) {
    run.ItemDelivered = false;
    ++run.SystemCount;
    const std::string name = TakeNextSystemName(run);
    auto profile = platform::File::OpenForReading(run.ProfileDirectory + name);
    if (!profile) continue;
    CheckSystem(run, records, name, std::move(profile));
  }

  run.ResultDocument = "\n";
  OpenText(run);
  run.ResultDocument +=
      DocumentText(run, "(***) " + run.ItemName + ": NoSystems=" + std::to_string(run.SystemCount) +
                            ", Processed=" + std::to_string(run.ProcessedCount) +
                            ", Failed=" + std::to_string(run.FailedCount));
  CloseText(run);
  CloseDocument(run);
  Print(run.ResultDocument + "\n");
  run.ResultDocument.clear();
  if (run.ConsoleTrace) {
    Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return 0;
}
