// Fuzz target: the library's trace as the sensor reads its last error description back, 99
// characters at a time. Input: the trace's bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "src/rfc/trace.h"
#include "tests/fuzz/property.h"
#include "tests/fuzz/scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string trace(reinterpret_cast<const char*>(data), size);
  const std::string note = TraceNote(fuzz::ScratchFile("Dev_Rfc.Trc", trace));
  if (trace.empty()) {
    fuzz::Require(note == " - Look for Trace-File", "an empty trace is no trace", note);
    return 0;
  }
  if (note == " - Please Check Trace-File !") return 0;
  fuzz::Require(note.starts_with(" - "), "the note names a description or where to look", note);
  const std::string description = note.substr(3);
  // A read holds 99 characters; a description starts in column 13 at the earliest.
  fuzz::Require(!description.empty() && description.size() <= 99 - 12,
                "a description is what one read holds after its column", description);
  fuzz::Require(description.find('\n') == std::string::npos, "a description is one line",
                description);
  fuzz::Require(trace.find(description) != std::string::npos,
                "the description is the trace's own text", description);
  return 0;
}
