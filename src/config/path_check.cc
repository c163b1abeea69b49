// The "/PathCheck" call: shows where the monitor runs the sensor.
#include "src/config/path_check.h"

#include "src/output/messages.h"

void RunPathCheck(RunContext& run) {
  if (auto file = platform::File::OpenForWriting("PathCheck.Txt")) file->Write("Prtg Path...");
  EndRun(run, Message::PathCheckCreated);
}
