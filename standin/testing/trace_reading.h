// Reading Dev_Rfc.Trc in tests of the stand-in: by lines, and with the sensor's own scanner.
#pragma once

#include <string>
#include <vector>

#include "src/rfc/trace.h"

namespace standintest {

// The lines of a text, without their line feeds.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

// The description the sensor takes from a trace. The stand-in keeps every line below the
// sensor's read limit, so line by line is how the sensor reads it.
inline std::string LastTraceDescription(const std::string& trace) {
  TraceErrorScanner scanner;
  for (const std::string& line : Lines(trace)) scanner.Examine(line + "\n");
  return scanner.LastTraceError();
}

inline int TraceSections(const std::string& trace) {
  int sections = 0;
  for (const std::string& line : Lines(trace)) sections += line.rfind("**** ERROR ", 0) == 0;
  return sections;
}

}  // namespace standintest
