// The usage text that "sapsysinfo /?" prints for an administrator trying the sensor by hand.
#pragma once

#include <string>
#include <vector>

// Whether the arguments (the program's own path first) ask for the usage text: "/?", "-h" or
// "--help" as the only argument. The monitor never passes these; beside any other argument
// they are a profile name, as they always were.
[[nodiscard]] bool AsksForUsage(const std::vector<std::string>& arguments);

// The command line, every keyword with one line on it, where the profile is looked for, and
// where the reference is.
std::string UsageText();
