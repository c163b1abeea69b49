// The library's own reason for a failed call, taken from its trace file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "src/platform/file.h"

// The last error description of the last error section of a trace; empty when there is none.
// Lines are examined in the pieces in which they are read.
class TraceErrorScanner {
 public:
  void Examine(std::string_view piece);
  const std::string& LastTraceError() const { return last_; }

 private:
  std::string last_;
};

// What a failed call's error text gets appended: " - " and the library's last error
// description from its trace file; where the trace has no description, a request to check it;
// where the library left no trace (no file, or an empty one), a hint to look for one.
std::string TraceNote(std::unique_ptr<platform::File> trace);

// One line the sensor writes into a trace section, ended with a line feed: control characters
// of the text become blanks, so that no text of a library's or a profile's can start a line or
// a section of its own.
std::string TraceLine(std::string_view prefix, std::string_view text);
std::string TraceNote(const std::string& traceFile);
