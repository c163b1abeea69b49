// The entry of sapsysinfo: runs the sensor and returns the exit code the monitor reads.
#include <string>
#include <vector>

#include "src/run/sensor.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv, argv + argc);
  RunContext run;
  return RunToTheEnd(run.ResultDocument, [&] { return RunSensor(run, arguments); });
}
