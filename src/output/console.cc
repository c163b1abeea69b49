// Standard output and the console's texts: the labelled lines of the error block, the trace
// routine, durations and the parameter text as the console shows it.
#include "src/output/console.h"

#include <algorithm>

#include "src/platform/text.h"

void Print(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

bool FlushOutput() { return std::fflush(stdout) == 0 && std::ferror(stdout) == 0; }

std::string LabelLine(std::string_view label, int indent, int width, std::string_view text) {
  std::string line(indent > 0 ? static_cast<std::size_t>(indent) : 0, ' ');
  line += label;
  const std::size_t filled = static_cast<std::size_t>(std::max(indent, 0) + std::max(width, 0));
  if (line.size() < filled) line.resize(filled, ' ');
  line += " : ";
  line += text;
  line += '\n';
  return line;
}

std::string RfcErrorBlock(const RfcErrorTexts& error) {
  constexpr int kLabelWidth = 15;
  return "RFC error\n" + LabelLine("operation/code", 0, kLabelWidth, error.operation) +
         LabelLine("key", 0, kLabelWidth, error.key) +
         LabelLine("status", 0, kLabelWidth, error.status) +
         LabelLine("message", 0, kLabelWidth, error.message) +
         LabelLine("internal status", 0, kLabelWidth, error.internalStatus) + "\n";
}

void EventTrace::Event(std::int32_t handle, std::string_view event, std::string_view detail) const {
  if (!requested_ || stream_ == nullptr) return;
  std::string line = std::to_string(handle);
  line.append(" ").append(event).append(" ").append(detail).append("\n");
  std::fwrite(line.data(), 1, line.size(), stream_);
  std::fflush(stream_);
}

std::string TimeText(std::int32_t milliseconds) {
  const std::int32_t seconds = milliseconds / 1000;
  const std::int32_t rest = milliseconds % 1000;
  std::string text = std::to_string(seconds);
  std::string digits = std::to_string(rest < 0 ? -rest : rest);
  text.append(3 - digits.size(), '0');
  return text + digits;
}

std::string SingleRunConsoleParameters(std::string_view typed) {
  std::string_view text = typed;
  for (std::string_view mark : {"#", "@", "$", "%"}) text = platform::CutAt(text, mark);
  if (text == "(Parameters " || text == "(No ") text = {};
  if (text.empty()) text = "(No Parameters)";
  return std::string(platform::CutAt(text, " $"));
}

std::string SapRfcIniLine(std::string_view destination) {
  return "* SapRfc.Ini.......: " + std::string(destination) + "<\n";
}

std::string ListingConsoleParameters(std::string_view typed) {
  std::string text(typed);
  std::replace(text.begin(), text.end(), ':', ' ');
  return std::string(platform::CutAt(text, " @"));
}
