// A client of the library for tests: opens a connection to HOST at PORT, calls
// RFC_SYSTEM_INFO, receives and closes. Prints the receive code and the system ID. Its error
// handler does what the sensor's does: reads the last error, closes every connection and
// ends the process with exit code 1.
#include <cstdio>
#include <cstdlib>

#include "standin/test_client.h"

namespace {

void RFC_CALL EndTheRun(const char* operation) {
  RfcErrorInfo error{};
  RfcLastError(&error);
  std::printf("handler %s %s: %s\n", operation, error.key, error.message);
  RfcClose(0);
  std::fflush(stdout);
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: standin_client HOST PORT\n");
    return 2;
  }
  RfcEnvironmentRecord environment{EndTheRun, nullptr};
  RfcEnvironment(&environment);
  const RfcType rfcsiType = standintest::InstallRfcsi();
  const RfcHandle handle = standintest::OpenHost(argv[1], std::atoi(argv[2]));
  if (rfcsiType == 0 || handle == 0) {
    std::printf("open failed\n");
    return 1;
  }
  const standintest::Conversation c = standintest::Converse(handle, rfcsiType);
  RfcClose(handle);
  std::printf("%d %.8s\n", c.receiveCode, c.received.systemInfo.rfcsysid);
  return c.receiveCode == RFC_OK ? 0 : 1;
}
