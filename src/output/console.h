// Standard output and the console's texts: the labelled lines of the error block, the trace
// routine, durations and the parameter text as the console shows it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Everything the programs print goes to standard output, buffered, in call order.
void Print(std::string_view text);
// Flushes standard output; false when not everything printed so far reached it.
bool FlushOutput();

// "%*.0s" then "%-*s : %s\n": indent blanks, the label filled to width (never cut), the text.
std::string LabelLine(std::string_view label, int indent, int width, std::string_view text);

// What the RFC library said about a failure that it reported through its error handler.
struct RfcErrorTexts {
  std::string operation;
  std::string key;
  std::string status;
  std::string message;
  std::string internalStatus;
};
// "RFC error", the five labelled lines and an empty line.
std::string RfcErrorBlock(const RfcErrorTexts& error);
// Printed after the block, once the library has closed its connections.
inline constexpr std::string_view kAbortLines =
    "* Programm aborted...\n* Error at EoXput-File...\n";

// One "%d %s %s" line per event to a trace stream, when ",SYSLOG" asked for it and a stream is
// open.
class EventTrace {
 public:
  EventTrace() = default;
  EventTrace(bool requested, std::FILE* stream) : requested_(requested), stream_(stream) {}
  void Event(std::int32_t handle, std::string_view event, std::string_view detail) const;

 private:
  bool requested_ = false;
  std::FILE* stream_ = nullptr;
};

// The durations of one conversation with a system, in milliseconds: the open, the
// system-information call, the close, and the whole from before the library was set up to
// after the close.
struct Durations {
  std::int32_t open = 0;
  std::int32_t processing = 0;
  std::int32_t close = 0;
  std::int32_t response = 0;
};

// A duration as every channel shows it: the milliseconds, at least four digits.
std::string TimeText(std::int32_t milliseconds);

// The parameter text on a single run's "State=Executing" line: cut at the console marks,
// "(No Parameters)" when nothing is left.
std::string SingleRunConsoleParameters(std::string_view typed);
// "* SapRfc.Ini.......: DEST<": the connection goes through SapRfc.ini.
std::string SapRfcIniLine(std::string_view destination);

// The parameter text on a listing run's "State=Executing" line: every ':' a blank, cut before
// " @".
std::string ListingConsoleParameters(std::string_view typed);
