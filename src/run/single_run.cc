// The single-system run: one profile, one system, one document.
#include "src/run/single_run.h"

#include "src/config/system_entry.h"
#include "src/output/console_text.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/run/run_guard.h"
#include "src/run/system_check.h"

namespace {

void PrintConsoleHead(const RunContext& run) {
  run.out->Print(run.banner + "\n");
  const std::string time = platform::LocalTimeText();
  run.out->Print(SystemSummaryLine(run.entry, time, run.profile.name) + " State=Processing\n");
  run.out->Print("* " + time + " SysInfo - " + SingleRunConsoleParameters(run.parameterText.typed) +
                 " State=Executing\n");
}

}  // namespace

int RunSingleSystem(RunContext& run) {
  if (run.parameterText.consoleTrace) PrintConsoleHead(run);
  const Conversation conversation = CheckSystem(run, CallChoice::CallSystemInfo);
  // A console line: without console marks standard output holds the document alone.
  if (conversation.throughSapRfcIni && run.parameterText.consoleTrace) {
    run.out->Print(SapRfcIniLine(run.entry.destination));
  }
  // The text up to "failed !" is what notifications match; the library's reason follows it.
  if (!conversation.opened()) {
    EndRunWithMessage(
        MessageFor(MessageId::OpenFailed, run.entry.destination) + conversation.reason,
        ExitCodeOf(MessageId::OpenFailed));
  }
  if (conversation.outcome == Outcome::LibraryFailed) {
    return PrintLibraryFailure(*run.out, run.resultDocument, conversation.libraryFailure);
  }
  // A failed call reports its error text and the library's reason, nothing of a document.
  if (!conversation.answered()) {
    EndRunWithMessage(CallFailureMessage(conversation) + conversation.reason, 2);
  }
  if (run.parameterText.check) {
    run.out->PrintEnding(CheckList(conversation.fields, run.entry.sysnr), 0);
  } else {
    run.out->PrintEnding(
        run.resultDocument.SystemDocument(
            SystemInfoText(conversation.fields, run.entry.destination, run.entry.sysnr),
            conversation.times),
        0);
  }
  if (run.parameterText.consoleTrace) {
    run.out->Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return 0;
}
