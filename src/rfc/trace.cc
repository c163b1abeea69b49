// The library's own reason for a failed call, taken from its trace file.
#include "src/rfc/trace.h"

#include "src/platform/file.h"

namespace {

// The trace is read at most this many characters at a time, the line feed counting.
constexpr std::size_t kTraceReadLimit = 99;

constexpr std::string_view kSectionStart = "**** ERROR ";
constexpr std::string_view kErrorLine = "ERROR ";
constexpr std::size_t kErrorLineText = 12;  // the description starts in column 13
constexpr std::string_view kArrow = "======> ";
constexpr std::size_t kArrowColumn = 7;  // the arrow stands in columns 8 to 15
constexpr std::size_t kArrowText = 15;   // the description starts in column 16

std::string TextFrom(std::string_view piece, std::size_t column) {
  if (piece.size() <= column) return "";
  return platform::StripLineEnd(std::string(piece.substr(column)));
}

}  // namespace

void TraceErrorScanner::Examine(std::string_view piece) {
  if (piece.substr(0, kSectionStart.size()) == kSectionStart) last_.clear();
  if (piece.substr(0, kErrorLine.size()) == kErrorLine) last_ = TextFrom(piece, kErrorLineText);
  if (piece.size() >= kArrowColumn + kArrow.size() &&
      piece.substr(kArrowColumn, kArrow.size()) == kArrow) {
    last_ = TextFrom(piece, kArrowText);
  }
}

std::string TraceNote(std::unique_ptr<platform::File> trace) {
  constexpr std::string_view kNoTrace = " - Look for Trace-File";
  if (!trace) return std::string(kNoTrace);
  TraceErrorScanner scanner;
  bool empty = true;
  while (auto piece = trace->ReadPiece(kTraceReadLimit)) {
    empty = false;
    scanner.Examine(*piece);
  }
  if (empty) return std::string(kNoTrace);
  const std::string& last = scanner.LastTraceError();
  return last.empty() ? " - Please Check Trace-File !" : " - " + last;
}

std::string TraceNote(const std::string& traceFile) {
  return TraceNote(platform::File::OpenForReading(traceFile));
}

std::string TraceLine(std::string_view prefix, std::string_view text) {
  std::string line(prefix);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7f ? ' ' : c;
  }
  return line + "\n";
}
