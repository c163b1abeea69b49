// The one remote call of the sensor, RFC_SYSTEM_INFO, and the handler of the library's errors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "src/rfc/saprfc.h"
#include "src/run/run_context.h"

// What RFC_SYSTEM_INFO sends back; only the RFCSI record is used.
struct SystemInfoValues {
  std::int32_t currentResources = 0;
  char dialogUserType = ' ';
  std::int32_t maximalResources = 0;
  std::int32_t recommendedDelay = 0;
  RFCSI systemInfo{};
  char loginComplete = ' ';
};

// A character field of a record: at most its size, ending early at a zero byte, so a field
// without an end mark is never read past.
std::string_view BoundedText(const char* field, std::size_t size);

// Installs the error handler, before every opening.
void SetUpRfcEnvironment();

// Calls RFC_SYSTEM_INFO on the connection and receives its answer; the library's return code.
// On an exception (codes 2 and 3) exceptionText receives its name.
std::int32_t CallSystemInfo(RunContext& run, RfcHandle handle, SystemInfoValues& values,
                            std::string& exceptionText);

// The error text of a return code other than 0.
std::string DescribeCallFailure(std::int32_t code, std::string_view exceptionText);

// The library calls this when an operation fails: prints the library's last error, closes every
// connection and ends the process with exit code 1. It cannot unwind through the library's
// frames, so it exits where it stands.
extern "C" [[noreturn]] void RFC_CALL ReportRfcError(const char* operation);
