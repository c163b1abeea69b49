// Standard output, the labelled lines of the error block, the trace routine and time texts.
#include "src/output/console.h"

#include <cstdio>

void Print(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void FlushOutput() { std::fflush(stdout); }

void PrintLabelLine(std::string_view label, int indent, int width, std::string_view text) {
  std::string line(indent > 0 ? static_cast<std::size_t>(indent) : 0, ' ');
  line += label;
  const std::size_t filled = (indent > 0 ? indent : 0) + (width > 0 ? width : 0);
  if (line.size() < filled) line.resize(filled, ' ');
  line += " : ";
  line += text;
  line += '\n';
  Print(line);
}

void TraceEvent(const RunContext& run, std::int32_t handle, std::string_view event,
                std::string_view detail) {
  if (run.Parameters.upper.find(",SYSLOG") == std::string::npos) return;
  if (run.TraceStream == nullptr) return;
  std::string line = std::to_string(handle);
  line.append(" ").append(event).append(" ").append(detail).append("\n");
  std::fwrite(line.data(), 1, line.size(), run.TraceStream);
  std::fflush(run.TraceStream);
}

std::string TimeText(std::int32_t milliseconds) {
  const std::int32_t seconds = milliseconds / 1000;
  const std::int32_t rest = milliseconds % 1000;
  std::string text = std::to_string(seconds);
  std::string digits = std::to_string(rest < 0 ? -rest : rest);
  text.append(3 - digits.size(), '0');
  return text + digits;
}
