// The entry of sapsysinfo: runs the sensor and returns the exit code the monitor reads.
#include <string>
#include <vector>

#include "src/platform/arguments.h"
#include "src/platform/folder.h"
#include "src/run/sensor.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
  RunContext run;
  return RunToTheEnd(run, [&] { return RunSensor(run, arguments); });
}
