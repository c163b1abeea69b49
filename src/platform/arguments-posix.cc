// The program's command-line arguments: on POSIX they arrive as the bytes they are.
#include "src/platform/arguments.h"

namespace platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace platform
