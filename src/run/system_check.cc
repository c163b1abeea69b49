// Checking one system, the same in a single and in a listing run: its logon, the conversation.
#include "src/run/system_check.h"

#include "src/run/run_guard.h"

Logon LogonOf(const SystemEntry& entry, const Parameters& parameters) {
  return {{},
          entry.destination,
          entry.client,
          entry.user,
          entry.password,
          entry.language,
          entry.mode,
          parameters.host.value_or(entry.hostname),
          parameters.systemNumber.value_or(entry.sysnr),
          entry.gwhost,
          entry.gwservice};
}

Conversation CheckSystem(RunContext& run, CallChoice call) {
  if (!run.client) {
    if (!run.libraryWatch) run.libraryWatch = std::make_unique<RunGuard>(run);
    run.client = run.loadClient(*run.libraryWatch);
  }
  Logon logon = LogonOf(run.entry, run.parameterText);
  logon.system = run.currentSystem.empty() ? run.profile.name : run.currentSystem;
  return run.client->Converse(logon, call);
}
