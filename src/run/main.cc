// The entry of sapsysinfo: runs the sensor, prints the document a failure left, returns the
// exit code the monitor reads.
#include <string>
#include <vector>

#include "src/output/console.h"
#include "src/output/messages.h"
#include "src/run/sensor.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv, argv + argc);
  RunContext run;
  int exitCode;
  try {
    exitCode = RunSensor(run, arguments);
  } catch (const RunEnded& end) {
    Print(run.ResultDocument);
    exitCode = end.exitCode;
  }
  FlushOutput();
  return exitCode;
}
