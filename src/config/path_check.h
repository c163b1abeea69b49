// The "/PathCheck" call: shows where the monitor runs the sensor.
#pragma once

// Writes "Prtg Path..." into PathCheck.Txt in the current directory. The run then ends with the
// Info 0000 document and exit code 0, also when the file could not be written.
void WritePathCheckFile();
