// The process a listing run starts for one of its systems.
#include "src/run/listed_system_run.h"

#include <cstdlib>
#include <exception>

#include "src/output/messages.h"
#include "src/platform/child_process.h"
#include "src/platform/last_words.h"
#include "src/run/child_protocol.h"
#include "src/run/system_check.h"

namespace {

// A request is a few hundred bytes; anything much longer is no listing's.
constexpr std::size_t kLongestRequest = std::size_t{64} * 1024;

// Once its parent has given up on it, the child ends too; this is for a child whose parent
// could not stop it.
constexpr std::chrono::seconds kBeyondTheDeadline{10};

// What the child prints is its report: every operation as it starts, and its last words
// should the library not come back.
class ChildGuard : public LibraryWatch {
 public:
  explicit ChildGuard(RunContext& run) : run_(run) {}

  void Prepare(std::string_view operation, bool inside) const {
    const auto [head, tail] = EncodeQuit(operation);
    platform::SetLastWords({head, tail, EncodeNoAnswer(operation), inside});
  }

  void OperationStarts(std::string_view operation) override {
    run_.out->Print(EncodeOperation(operation));
    Prepare(operation, true);
  }

  void OperationReturned() override { Prepare({}, false); }

  [[noreturn]] void LibraryFailed(const LibraryFailure& failure,
                                  const std::function<void()>& closeLibrary) override {
    Conversation conversation;
    conversation.outcome = Outcome::LibraryFailed;
    conversation.libraryFailure = failure;
    run_.out->PrintEnding(EncodeConversation(conversation), 0);
    closeLibrary();
    std::_Exit(0);
  }

 private:
  RunContext& run_;
};

}  // namespace

bool IsListedSystemStart(const std::vector<std::string>& arguments) {
  return arguments.size() > 1 && arguments[1] == kListedSystemMode;
}

int RunListedSystem(RunContext& run, const std::vector<std::string>& arguments) {
  std::optional<ChildRequest> request;
  // Started by hand, standard input is a terminal: it is not even read.
  if (arguments.size() == 3 && platform::StandardInputIsPipe()) {
    if (std::optional<std::string> text = platform::ReadStandardInput(kLongestRequest)) {
      request = DecodeRequest(*text);
    }
  }
  if (!request || request->nonce != arguments[2]) {
    const int exitCode = ExitCodeOf(MessageId::UnexpectedFailure);
    run.out->PrintEnding(
        run.resultDocument.ErrorDocument(MessageFor(
            MessageId::UnexpectedFailure,
            std::string(kListedSystemMode) + " is a listing run's own, started without one")),
        exitCode);
    return exitCode;
  }
  platform::EndWithParent();
  // The report is read by the parent, length by length.
  platform::WriteStandardOutputAsBytes();
  auto guard = std::make_unique<ChildGuard>(run);
  guard->Prepare({}, false);
  run.libraryWatch = std::move(guard);

  try {
    run.parameterText = ParseParameters(request->parameters);
    platform::StartDeadline(run.started + std::chrono::seconds(run.parameterText.timeoutSeconds) +
                            kBeyondTheDeadline);
    run.passwordKeyTable = BuildPasswordKeyTable();
    // The system is named by its own profile, as the parent names it.
    run.currentSystem = request->profiles.back();
    ListedProfile profile = ListedProfile::Missing;
    for (const std::string& name : request->profiles) {
      profile = ReadListedProfile(request->directory + name, run.entry, run.passwordKeyTable);
    }
    const Conversation conversation =
        CheckSystem(run, profile == ListedProfile::Valid ? CallChoice::CallSystemInfo
                                                         : CallChoice::ConnectOnly);
    run.out->PrintEnding(EncodeConversation(conversation), 0);
  } catch (const RunEnded& end) {
    run.out->PrintEnding(EncodeEnded(end.message, end.exitCode), 0);
  } catch (const std::exception& error) {
    run.out->PrintEnding(EncodeEnded(MessageFor(MessageId::UnexpectedFailure, error.what()),
                                     ExitCodeOf(MessageId::UnexpectedFailure)),
                         0);
  } catch (...) {
    run.out->PrintEnding(EncodeEnded(MessageFor(MessageId::UnexpectedFailure, "unknown"),
                                     ExitCodeOf(MessageId::UnexpectedFailure)),
                         0);
  }
  // The report is out before the library's trace is handed over.
  const bool reported = run.out->Flush();
  if (run.client) run.client->Finish();
  return reported ? 0 : 2;
}
