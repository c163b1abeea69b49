// How a run ends when the RFC library fails.
#include "src/run/library_failure_ending.h"

#include <cstdlib>

int PrintLibraryFailure(TextOutput& out, const Document& document, const LibraryFailure& failure) {
  const LibraryFailureOutput output = document.LibraryFailureEnding(failure);
  out.Print(output.beforeClose);
  out.Print(output.afterClose);
  return kLibraryFailureExitCode;
}

void LibraryFailureEnding::EndRun(const LibraryFailure& failure,
                                  const std::function<void()>& closeLibrary) {
  const LibraryFailureOutput output = document_.LibraryFailureEnding(failure);
  out_.Print(output.beforeClose);
  // What the library said is out before it is asked to close anything, whatever that does.
  static_cast<void>(out_.Flush());
  closeLibrary();
  out_.Print(output.afterClose);
  // Nothing else runs on top of the library's unfinished operation. A document that did not
  // reach the monitor whole is no library error to report: 2.
  std::_Exit(out_.Flush() ? kLibraryFailureExitCode : 2);
}
