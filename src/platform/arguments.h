// The program's command-line arguments as UTF-8 texts, as every path and text of the program is.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Windows hands main() its arguments in the ANSI code page, which loses every letter beyond it
// (a profile folder named in Greek, say): there they are read from the wide command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace platform
