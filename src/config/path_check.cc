// The "/PathCheck" call: shows where the monitor runs the sensor.
#include "src/config/path_check.h"

#include "src/platform/file.h"

void WritePathCheckFile() {
  if (auto file = platform::File::OpenForWriting("PathCheck.Txt")) {
    static_cast<void>(file->Write("Prtg Path...") && file->Close());
  }
}
