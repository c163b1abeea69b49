// The single-system run: one profile, one system, one document.
#include "src/run/single_run.h"

#include "src/config/system_entry.h"
#include "src/output/console.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/rfc/system_info.h"
#include "src/run/system_check.h"

namespace {

void PrintConsoleHead(const RunContext& run) {
  Print(run.banner + "\n");
  const std::string time = platform::LocalTimeText();
  Print(SystemSummaryLine(run.entry, time, run.profile.name) + " State=Processing\n");
  Print("* " + time + " SysInfo - " + SingleRunConsoleParameters(run.parameterText.typed) +
        " State=Executing\n");
}

}  // namespace

int RunSingleSystem(RunContext& run) {
  run.session.trace().Event(0, "program started", run.programPath);
  if (run.parameterText.consoleTrace) PrintConsoleHead(run);

  const Conversation conversation = CheckSystem(run, true);
  if (!conversation.opened) EndRun(MessageId::OpenFailed, run.entry.destination);
  // A failed call reports its error text and the library's reason, nothing of a document.
  if (conversation.status != CallStatus::Ok) {
    EndRunWithMessage(
        DescribeCallFailure(conversation.code, conversation.exception) + run.session.TraceNote(),
        2);
  }

  if (run.parameterText.check) {
    Print(CheckList(conversation.fields, run.entry.sysnr));
  } else {
    Print(run.resultDocument.SystemDocument(
        SystemInfoText(conversation.fields, run.entry.destination, run.entry.sysnr),
        conversation.times));
  }
  if (run.parameterText.consoleTrace) {
    Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return conversation.code;
}
