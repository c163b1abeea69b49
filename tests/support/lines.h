// The lines of a text that a program wrote, such as the shared trace.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Without their line ends: a Windows program writes CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    if (line.ends_with('\r')) line.pop_back();
    lines.push_back(line);
    begin = end + 1;
  }
  return lines;
}

}  // namespace testsupport
