// The single-system run: one profile, one system, one document.
#include "src/run/single_run.h"

#include "src/config/system_entry.h"
#include "src/output/channel.h"
#include "src/output/console.h"
#include "src/output/document.h"
#include "src/output/messages.h"
#include "src/platform/clock.h"
#include "src/rfc/connection.h"
#include "src/rfc/report.h"
#include "src/rfc/system_info.h"
#include "src/rfc/trace.h"

namespace {

std::string CutAt(std::string text, std::string_view mark) {
  return text.substr(0, text.find(mark));
}

void PrintConsoleHead(RunContext& run) {
  Print(run.Banner + "\n");
  const std::string time = platform::LocalTimeText();
  run.ConsoleLine = SystemSummaryLine(run.Entry, time, run.ProfileName) + " State=Processing";
  Print(run.ConsoleLine + "\n");
  run.ConsoleLine =
      "* " + time + " SysInfo - " + ConsoleParameters(run.Parameters) + " State=Executing";
  Print(run.ConsoleLine + "\n");
}

}  // namespace

std::string ConsoleParameters(const ParameterText& parameters) {
  std::string text = parameters.typed;
  for (std::string_view mark : {"#", "@", "$", "%"}) text = CutAt(text, mark);
  if (text == "(Parameters " || text == "(No ") text.clear();
  if (text.empty()) text = "(No Parameters)";
  return CutAt(text, " $");
}

int RunSingleSystem(RunContext& run) {
  TraceEvent(run, static_cast<std::int32_t>(run.ConnectionHandle), "program started",
             run.ProgramPath);
  run.ResponseStartTime = platform::ClockMilliseconds();
  SetUpRfcEnvironment();
  TraceEvent(run, static_cast<std::int32_t>(run.ConnectionHandle), "RfcEnvironment called", "");
  run.CallStatus = "ERR";
  run.ResultDocument.clear();
  if (run.ConsoleTrace) PrintConsoleHead(run);

  OpenRecords records;
  run.ConnectionHandle = OpenConnection(run, records);
  if (run.ConnectionHandle == 0) EndRun(run, Message::OpenFailed, run.Entry.Destination);

  run.OpenEndTime = platform::ClockMilliseconds();
  run.RunResult = ReportSystemInfo(run, run.ConnectionHandle);

  run.CloseStartTime = platform::ClockMilliseconds();
  RfcClose(run.ConnectionHandle);
  run.ConnectionHandle = 0;

  // A failed call reports its error text and the library's reason, nothing of a document.
  if (run.CallStatus != "OK") {
    AppendTraceError(run);
    EndRunWithMessage(run, run.ResultDocument, 2);
  }

  if (run.Parameters.upper.find("/CHECK") == std::string::npos) {
    AddChannel(run, "RFC_Close", "RFC-Close Time",
               TimeText(platform::ClockMilliseconds() - run.CloseStartTime), kTimeUnit);
    AddChannel(run, "Response_Time", "Response Time",
               TimeText(platform::ClockMilliseconds() - run.ResponseStartTime), kTimeUnit);
    CloseDocument(run);
  }
  Print(run.ResultDocument);
  // The next run starts without this run's old errors.
  platform::DeleteFile("Dev_Rfc.Trc");
  if (run.ConsoleTrace) {
    Print("\n* " + platform::LocalTimeText() + " SAP SysInfo now processed...\n");
  }
  return run.RunResult;
}
