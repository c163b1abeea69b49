// One run of the sensor, phase after phase.
#include "src/run/sensor.h"

#include "src/config/path_check.h"
#include "src/output/messages.h"
#include "src/run/command_line.h"

int RunSensor(RunContext& run, const std::vector<std::string>& arguments) {
  PrepareBanner(run);
  ReadCommandLine(run, arguments);
  if (IsPathCheck(run.ProfileName)) RunPathCheck(run);
  run.ConsoleTrace = WantsConsoleTrace(run.Parameters);
  // The profile set, the system entries and the conversation with the system follow here.
  return 0;
}
