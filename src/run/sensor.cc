// One run of the sensor, phase after phase.
#include "src/run/sensor.h"

#include "src/config/password.h"
#include "src/config/path_check.h"
#include "src/config/profile_set.h"
#include "src/config/system_entry.h"
#include "src/output/messages.h"
#include "src/run/command_line.h"

int RunSensor(RunContext& run, const std::vector<std::string>& arguments) {
  PrepareBanner(run);
  run.PasswordKeyTable = BuildPasswordKeyTable();
  ReadCommandLine(run, arguments);  // also fixes the output flavour
  if (IsPathCheck(run.ProfileName)) RunPathCheck(run);
  ResolveProfileSet(run);
  run.ConsoleTrace = WantsConsoleTrace(run.Parameters);
  OpenProfile(run);

  if (run.Mode == ProfileMode::Single) {
    ReadSystemEntry(run, std::move(run.ProfileStream), run.ProfileName, EntryKind::Single);
    // The entry is read and checked. The conversation with the system (environment,
    // connection, system-information call, close, channels) is not built yet, so the run
    // stops here without having connected and prints nothing.
    return 0;
  }

  // A listing run reads the listing from the profile again on its own.
  run.ProfileStream.reset();
  // The server listing and the listing run are not built yet: the run stops here.
  return 0;
}
