// Checking one system, the same in a single and in a listing run: its logon, the conversation.
#include "src/run/system_check.h"

#include "src/output/console.h"

Logon LogonOf(const SystemEntry& entry, const Parameters& parameters) {
  return {entry.Destination,
          entry.Client,
          entry.User,
          entry.Password,
          entry.Language,
          entry.Mode,
          parameters.host.value_or(entry.Hostname),
          parameters.systemNumber.value_or(entry.Sysnr),
          entry.Gwhost,
          entry.Gwservice};
}

Conversation CheckSystem(RunContext& run, bool call) {
  Conversation conversation = run.Session.Converse(LogonOf(run.Entry, run.ParameterText), call);
  // A console line: without console marks standard output holds the document alone.
  if (conversation.throughSapRfcIni && run.ParameterText.consoleTrace) {
    Print(SapRfcIniLine(run.Entry.Destination));
  }
  return conversation;
}
