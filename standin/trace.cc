// The library's error and trace file.
#include "standin/trace.h"

#include <ctime>
#include <fstream>

namespace standin {
namespace {

// One line of text: line breaks and other control characters become blanks, so a text from
// the other side can never start a section of its own; cut to what fits after the prefix.
std::string DescriptionLine(std::string_view prefix, std::string_view text) {
  std::string line(prefix);
  for (char c : text.substr(0, kTraceLineMax - prefix.size())) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7f ? ' ' : c;
  }
  return line + "\n";
}

std::string LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  char text[32] = "";
  // The library runs on the caller's one thread, so the shared result of localtime is safe.
  if (const std::tm* local = std::localtime(&now)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  }
  return text;
}

}  // namespace

std::string TraceSection(std::string_view time, std::string_view operation,
                         const Failure& failure) {
  std::string reason = failure.key();
  if (!failure.detail().empty()) reason += ": " + failure.detail();
  std::string message = failure.what();
  if (message.empty()) message = failure.key();
  return "**** ERROR " + std::string(time) + " " + std::string(operation) + "\n" +
         DescriptionLine("ERROR       ", reason) + DescriptionLine("       ======> ", message);
}

void AppendTraceSection(std::string_view operation, const Failure& failure) {
  std::ofstream out(kTraceFileName, std::ios::app);
  out << TraceSection(LocalTimeNow(), operation, failure);
}

}  // namespace standin
