// One run of the sensor, phase after phase.
#include "src/run/sensor.h"

#include "src/config/password.h"
#include "src/config/path_check.h"
#include "src/config/profile_set.h"
#include "src/config/server_listing.h"
#include "src/config/system_entry.h"
#include "src/output/messages.h"
#include "src/run/command_line.h"
#include "src/run/listing_run.h"
#include "src/run/single_run.h"

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
    return RunSingleSystem(run);
  }

  // A listing run reads the listing from the profile again on its own.
  run.ProfileStream.reset();
  ReadServerListing(run);
  return RunListing(run);
}
