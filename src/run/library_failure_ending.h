// How a run ends when the RFC library fails: a single run prints the library's error block, a
// listing run ends its open document with the failure; exit code 1.
#pragma once

#include <functional>

#include "src/output/document.h"
#include "src/output/error_block.h"
#include "src/output/text_output.h"
#include "src/rfc/rfc_client.h"

// The exit code of a run that the library's failure ended.
inline constexpr int kLibraryFailureExitCode = 1;

// Prints the ending for a failure the library returned; the exit code.
[[nodiscard]] int PrintLibraryFailure(TextOutput& out, const Document& document,
                                      const LibraryFailure& failure);

// The ending for a failure the library reports from inside an operation, which the run must not
// return into: prints the ending, lets the library close and hand its trace over, and ends the
// process.
class LibraryFailureEnding : public LibraryFailureReport {
 public:
  LibraryFailureEnding(TextOutput& out, const Document& document)
      : out_(out), document_(document) {}
  [[noreturn]] void EndRun(const LibraryFailure& failure,
                           const std::function<void()>& closeLibrary) override;

 private:
  TextOutput& out_;
  const Document& document_;
};
