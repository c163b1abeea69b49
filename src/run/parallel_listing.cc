// A listing run's systems checked up to ",PARALLEL=" at a time, each in a process of its own.
#include "src/run/parallel_listing.h"

#include <chrono>
#include <deque>
#include <random>

#include "src/output/messages.h"
#include "src/platform/child_process.h"
#include "src/run/child_protocol.h"
#include "src/run/listed_system_run.h"
#include "src/run/run_guard.h"

namespace {

using Clock = std::chrono::steady_clock;

// A system being checked by a process of its own, or checked and waiting for its turn.
struct Check {
  ListedSystem system;
  std::unique_ptr<platform::ChildProcess> child;
  ChildReportReader reader;
  bool done = false;
};

// What a child's request carries besides the system: a process started by hand lacks it.
std::string Nonce() {
  std::random_device random;
  constexpr char kDigits[] = "0123456789abcdef";
  std::string nonce;
  for (int i = 0; i < 32; ++i) nonce += kDigits[random() % 16];
  return nonce;
}

std::string LastOperation(const ChildReport& report) {
  return report.operations.empty() ? std::string() : report.operations.back();
}

void Start(const RunContext& run, const std::string& nonce, Check& check) {
  ChildRequest request;
  request.nonce = nonce;
  request.parameters = run.parameterText.typed;
  request.directory = run.profile.directory;
  request.profiles = check.system.profiles;
  check.child = platform::ChildProcess::Start({std::string(kListedSystemMode), nonce},
                                              EncodeRequest(request));
  check.done = check.child == nullptr;
}

// Reads what the child wrote; it is done once its report is whole, malformed, or it is gone.
void Read(Check& check) {
  if (check.done) return;
  check.reader.Feed(check.child->TakeOutput());
  if (check.child->OutputEnded()) check.reader.Feed(check.child->TakeOutput());
  check.done =
      check.reader.report().ending || check.reader.malformed() || check.child->OutputEnded();
}

// The system's turn: its conversation goes to the report; any other end of its check ends the
// document as it would have ended a run of one system at a time.
std::optional<int> ReportOn(RunContext& run, ListingReport& report, Check& check) {
  run.currentSystem = check.system.name;
  if (!check.child) {
    EndRunWithMessage(MessageFor(MessageId::UnexpectedFailure,
                                 "no process could be started for " + check.system.name),
                      ExitCodeOf(MessageId::UnexpectedFailure));
  }
  const ChildReport& child = check.reader.report();
  const std::string operation = LastOperation(child);
  if (check.reader.malformed()) {
    EndRunWithMessage(LibraryQuitMessage(operation, "malformed report"),
                      ExitCodeOf(MessageId::LibraryQuit));
  }
  if (!child.ending) {
    const std::optional<platform::ChildEnd> end = check.child->End(true);
    const std::string cause = !end ? std::string("unknown")
                              : !end->cause.empty()
                                  ? end->cause
                                  : "exit " + std::to_string(end->exitCode.value_or(0));
    EndRunWithMessage(LibraryQuitMessage(operation, cause), ExitCodeOf(MessageId::LibraryQuit));
  }
  switch (*child.ending) {
    case ChildReport::Ending::Conversation:
      return report.Add(check.system, child.conversation);
    case ChildReport::Ending::Quit:
      EndRunWithMessage(LibraryQuitMessage(child.operation, child.reason),
                        ExitCodeOf(MessageId::LibraryQuit));
    case ChildReport::Ending::NoAnswer:
      EndRunWithMessage(NoAnswerMessage(run, child.operation), ExitCodeOf(MessageId::NoAnswer));
    case ChildReport::Ending::Ended:
      EndRunWithMessage(child.message, child.exitCode);
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> CheckInParallel(RunContext& run, ListedSystems& systems, ListingReport& report) {
  const std::string nonce = Nonce();
  const auto most = static_cast<std::size_t>(run.parameterText.parallel);
  std::deque<Check> checks;  // in listing order, the first not yet reported in front
  bool more = true;
  const auto running = [&] {
    std::size_t count = 0;
    for (const Check& check : checks) count += check.child && !check.child->End(false) ? 1 : 0;
    for (auto& child : run.finishingChildren) count += child->End(false) ? 0 : 1;
    return count;
  };
  // Once a system ends the document, the systems after it are of no use any more; the one that
  // ended it may still hand its trace over.
  const auto stopTheRest = [&] {
    if (checks.front().child) run.finishingChildren.push_back(std::move(checks.front().child));
    for (Check& check : checks) {
      if (check.child) check.child->Stop();
    }
  };

  for (;;) {
    while (more && running() < most) {
      std::optional<ListedSystem> system = systems.Next();
      if (!system) {
        more = false;
        break;
      }
      Check& check = checks.emplace_back();
      check.system = std::move(*system);
      Start(run, nonce, check);
    }
    while (!checks.empty() && checks.front().done) {
      std::optional<int> ended;
      try {
        ended = ReportOn(run, report, checks.front());
      } catch (...) {
        stopTheRest();
        throw;
      }
      if (ended) {
        stopTheRest();
        return ended;
      }
      // It may still be handing its trace over: it is waited for once the document is out.
      if (checks.front().child) run.finishingChildren.push_back(std::move(checks.front().child));
      checks.pop_front();
    }
    if (checks.empty() && !more) return std::nullopt;

    // Should the run end while it waits, it names the first system without a result.
    if (!checks.empty()) {
      run.currentSystem = checks.front().system.name;
      PrepareLastWords(
          run, checks.front().done ? std::string() : LastOperation(checks.front().reader.report()),
          false);
    }
    std::vector<platform::ChildProcess*> waiting;
    for (Check& check : checks) {
      if (!check.done) waiting.push_back(check.child.get());
    }
    platform::WaitForChildren(waiting, Clock::now() + std::chrono::seconds(1));
    for (Check& check : checks) Read(check);
  }
}
