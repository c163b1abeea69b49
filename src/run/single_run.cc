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
  Print(run.Banner + "\n");
  const std::string time = platform::LocalTimeText();
  Print(SystemSummaryLine(run.Entry, time, run.Profile.name) + " State=Processing\n");
  Print("* " + time + " SysInfo - " + SingleRunConsoleParameters(run.ParameterText.typed) +
        " State=Executing\n");
}

}  // namespace

int RunSingleSystem(RunContext& run) {
  run.Session.trace().Event(0, "program started", run.ProgramPath);
  if (run.ParameterText.consoleTrace) PrintConsoleHead(run);

  const Conversation conversation = CheckSystem(run, true);
  if (!conversation.opened) EndRun(MessageId::OpenFailed, run.Entry.Destination);
  // A failed call reports its error text and the library's reason, nothing of a document.
  if (conversation.status != CallStatus::Ok) {
    EndRunWithMessage(
        DescribeCallFailure(conversation.code, conversation.exception) + run.Session.TraceNote(),
        2);
  }

  if (run.ParameterText.check) {
    Print(CheckList(conversation.fields, run.Entry.Sysnr));
  } else {
    Print(run.ResultDocument.SystemDocument(
        SystemInfoText(conversation.fields, run.Entry.Destination, run.Entry.Sysnr),
        conversation.times));
  }
  if (run.ParameterText.consoleTrace) {
    Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return conversation.code;
}
