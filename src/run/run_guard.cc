// The run's promise of one whole document whatever the library does.
#include "src/run/run_guard.h"

#include <cstdlib>

#include "src/output/messages.h"
#include "src/platform/last_words.h"
#include "src/run/run_context.h"

namespace {

// Where the reason's name goes into a prepared text: a character no message holds, which the
// document's text passes unchanged (U+E000, of the private use area).
constexpr std::string_view kReasonMark = "\xEE\x80\x80";

// What a deadline names when no library operation runs.
constexpr std::string_view kNoOperation = "no RFC operation";

}  // namespace

int PrintLibraryFailure(TextOutput& out, const Document& document, const LibraryFailure& failure) {
  const LibraryFailureOutput output = document.LibraryFailureEnding(failure);
  out.PrintEnding(output.beforeClose + output.afterClose, kLibraryFailureExitCode);
  return kLibraryFailureExitCode;
}

void RunGuard::PrepareOutsideOperations() const { Prepare({}); }

void RunGuard::OperationStarts(std::string_view operation) { Prepare(operation); }

void RunGuard::OperationReturned() { Prepare({}); }

void RunGuard::Prepare(std::string_view operation) const {
  const Document& document = run_.resultDocument;
  // A crash inside a library's operation is the library's; outside, the sensor's own.
  const std::string crash =
      operation.empty()
          ? document.ErrorDocument(MessageFor(MessageId::UnexpectedFailure, kReasonMark))
          : document.ErrorDocument(
                MessageFor(MessageId::LibraryQuit,
                           std::string(operation) + " (" + std::string(kReasonMark) + ")"));
  const std::size_t mark = crash.find(kReasonMark);
  std::string waitedFor = std::to_string(run_.parameterText.timeoutSeconds) + " Seconds";
  if (!run_.currentSystem.empty()) waitedFor += " from " + run_.currentSystem;
  waitedFor += " (" + std::string(operation.empty() ? kNoOperation : operation) + ")";
  const std::string deadline = document.ErrorDocument(MessageFor(MessageId::NoAnswer, waitedFor));
  platform::SetLastWords({std::string_view(crash).substr(0, mark),
                          std::string_view(crash).substr(mark + kReasonMark.size()), deadline,
                          !operation.empty()});
}

void RunGuard::LibraryFailed(const LibraryFailure& failure,
                             const std::function<void()>& closeLibrary) {
  const LibraryFailureOutput output = run_.resultDocument.LibraryFailureEnding(failure);
  // What the library said is out before it is asked to close anything, whatever that does.
  run_.out->PrintEnding(output.beforeClose, kLibraryFailureExitCode);
  closeLibrary();
  run_.out->Print(output.afterClose);
  // Nothing else runs on top of the library's unfinished operation. A document that did not
  // reach the monitor whole is no library error to report: 2.
  std::_Exit(run_.out->Flush() ? kLibraryFailureExitCode : 2);
}
