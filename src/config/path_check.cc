// The "/PathCheck" call: shows where the monitor runs the sensor.
#include "src/config/path_check.h"

#include "src/output/messages.h"
#include "src/platform/file.h"

void RunPathCheck() {
  // The information document is printed whether or not the file could be written.
  if (auto file = platform::File::OpenForWriting("PathCheck.Txt")) {
    static_cast<void>(file->Write("Prtg Path...") && file->Close());
  }
  EndRun(MessageId::PathCheckCreated);
}
