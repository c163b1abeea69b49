// A run context for unit tests of the output: a flavour and a parameter text.
#pragma once

#include <string>

#include "src/run/command_line.h"
#include "src/run/run_context.h"

namespace testsupport {

inline RunContext RunIn(OutputFlavour flavour, const std::string& parameters = "") {
  RunContext run;
  run.Flavour = flavour;
  run.Parameters = {parameters, UpperCaseAtoZ(parameters)};
  return run;
}

}  // namespace testsupport
