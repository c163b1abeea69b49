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

std::string LibraryQuitMessage(std::string_view operation, std::string_view reason) {
  // Inside a library's operation the library failed; outside, the sensor itself.
  if (operation.empty()) return MessageFor(MessageId::UnexpectedFailure, reason);
  return MessageFor(MessageId::LibraryQuit,
                    std::string(operation) + " (" + std::string(reason) + ")");
}

std::string NoAnswerMessage(const RunContext& run, std::string_view operation) {
  std::string waitedFor = std::to_string(run.parameterText.timeoutSeconds) + " Seconds";
  if (!run.currentSystem.empty()) waitedFor += " from " + run.currentSystem;
  waitedFor += " (" + std::string(operation.empty() ? kNoOperation : operation) + ")";
  return MessageFor(MessageId::NoAnswer, waitedFor);
}

namespace {

RunGuard::Words MakeWords(const RunContext& run, std::string_view operation) {
  const Document& document = run.resultDocument;
  const std::string crash = document.ErrorDocument(LibraryQuitMessage(operation, kReasonMark));
  const std::size_t mark = crash.find(kReasonMark);
  return {crash.substr(0, mark), crash.substr(mark + kReasonMark.size()),
          document.ErrorDocument(NoAnswerMessage(run, operation))};
}

void SetWords(const RunGuard::Words& words, bool inside) {
  platform::SetLastWords({words.head, words.tail, words.deadline, inside});
}

}  // namespace

void PrepareLastWords(const RunContext& run, std::string_view operation, bool inside) {
  SetWords(MakeWords(run, operation), inside);
}

void RunGuard::Prepare(std::string_view operation, bool inside) {
  if (wordsFor_ != run_.currentSystem) {
    words_.clear();
    wordsFor_ = run_.currentSystem;
  }
  auto found = words_.find(operation);
  if (found == words_.end()) {
    found = words_.emplace(std::string(operation), MakeWords(run_, operation)).first;
  }
  SetWords(found->second, inside);
}

void RunGuard::PrepareOutsideOperations() { Prepare({}, false); }

void RunGuard::OperationStarts(std::string_view operation) { Prepare(operation, true); }

void RunGuard::OperationReturned() { Prepare({}, false); }

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
