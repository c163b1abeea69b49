// The run's promise of one whole document whatever the library does: before each of its
// operations the run prepares what is printed should the operation never come back (a
// deadline passes, the library crashes or calls exit, the sensor is told to stop), and it ends
// the run for a failure the library reports from inside an operation.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "src/output/document.h"
#include "src/output/error_block.h"
#include "src/output/text_output.h"
#include "src/rfc/rfc_client.h"

struct RunContext;

// The exit code of a run that the library's failure ended.
inline constexpr int kLibraryFailureExitCode = 1;

// Prints the ending for a failure the library returned; the exit code.
[[nodiscard]] int PrintLibraryFailure(TextOutput& out, const Document& document,
                                      const LibraryFailure& failure);

// The texts a run ends with when the library quit or crashed in `operation` (Error 1050), or
// where no library operation ran, the sensor itself (Error 1044); and when its deadline passed
// in `operation` (Error 1048), naming the listed system it waited for.
std::string LibraryQuitMessage(std::string_view operation, std::string_view reason);
std::string NoAnswerMessage(const RunContext& run, std::string_view operation);

// Prepares what is printed should the run end where it stands while `operation` runs (empty:
// none does); `inside` tells whether an exit now is the library's.
void PrepareLastWords(const RunContext& run, std::string_view operation, bool inside);

class RunGuard : public LibraryWatch {
 public:
  explicit RunGuard(const RunContext& run) : run_(run) {}

  // What is printed when the run ends outside a library operation: set before the first one.
  void PrepareOutsideOperations();

  void OperationStarts(std::string_view operation) override;
  void OperationReturned() override;
  [[noreturn]] void LibraryFailed(const LibraryFailure& failure,
                                  const std::function<void()>& closeLibrary) override;

  // The words for one operation: the crash document around the reason's name, the deadline's.
  struct Words {
    std::string head, tail, deadline;
  };

 private:
  // Sets the words for `operation` (empty: none runs), made once per operation and system: a
  // conversation starts and ends a handful of operations, each of which would otherwise build
  // two documents.
  void Prepare(std::string_view operation, bool inside);

  const RunContext& run_;
  std::string wordsFor_;                             // the system whose words are kept
  std::map<std::string, Words, std::less<>> words_;  // by operation
};
