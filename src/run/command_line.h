// Start-up and the command line: the banner, the flavour, the profile name, the parameter text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "src/output/flavour.h"

struct CommandLine {
  OutputFlavour flavour = OutputFlavour::EXEXML;
  std::string programPath;     // the first word
  std::string profileName;     // the first argument
  std::string secondArgument;  // as typed; empty when absent
  std::string parameterText;   // the second and third argument joined by one blank
};

// "* HH:MM:SS SAP SysInfo Vers <version> / <release date>"
std::string Banner(std::string_view time);

// Takes the arguments apart (the program's own path first). An optional leading /Flavour=NAME
// is taken off before the arguments are numbered; arguments after the third are ignored. Ends
// the run with Error 1001, or with an error for an unknown flavour or an argument that does
// not fit.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// The path check is selected by exactly "/PathCheck", in this letter case.
bool IsPathCheck(std::string_view firstArgument);
