// The entry of sapsysinfo: runs the sensor and returns the exit code the monitor reads.
#include <string>
#include <vector>

#include "src/platform/arguments.h"
#include "src/platform/folder.h"
#include "src/platform/last_words.h"
#include "src/run/listed_system_run.h"
#include "src/run/run_guard.h"
#include "src/run/sensor.h"

int main(int argc, char** argv) {
  RunContext run;
  platform::IgnoreBrokenPipe();
  // Whatever ends the process, the monitor reads a document; until the run knows its flavour,
  // the one of the default flavour.
  platform::InstallLastWords();
  const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
  if (IsListedSystemStart(arguments)) return RunListedSystem(run, arguments);
  RunGuard(run).PrepareOutsideOperations();
  return RunToTheEnd(run, [&] { return RunSensor(run, arguments); });
}
