// The last words of a process that ends where it stands.
#include "src/platform/last_words.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <thread>

#include "src/platform/host.h"
#include "src/platform/last_words_os.h"

namespace platform {
namespace {

// Who ends the process: nobody yet, the main thread in the middle of a piece, the run with its
// own document, or a guard (a handler or the deadline) with its words.
enum State : int { kOpen, kPrinting, kEndedByRun, kEndedByGuard };

std::atomic<int> state{kOpen};
std::atomic<int> runExitCode{0};
// A termination request that came while the main thread was printing.
std::atomic<const char*> pendingReason{nullptr};

// How long a guard gives the run to finish once the run has its document out, and another
// guard to write its words.
constexpr int kGraceMilliseconds = 5000;
constexpr int kExitCode = 2;

// Every text of the words fits: an error document is a few hundred bytes.
constexpr std::size_t kCapacity = 4096;

// Whether standard output is written as bytes (see WriteStandardOutputAsBytes).
bool asBytes = false;

struct Text {
  std::array<char, kCapacity> bytes{};
  std::size_t length = 0;

  void Set(std::string_view text) {
    length = 0;
    for (char c : text) {
      if (c == '\n' && kWindowsHost && !asBytes && length < kCapacity) bytes[length++] = '\r';
      if (length == kCapacity) break;
      bytes[length++] = c;
    }
  }
  void Write() const { os::WriteToStandardOutput(bytes.data(), length); }
};

struct Words {
  Text head;
  Text tail;
  Text deadline;
  bool inside = false;
};

// Two sets: the main thread fills the one not in use and then switches, so that a handler never
// reads words half written.
std::array<Words, 2> words;
std::atomic<int> current{0};

const Words& CurrentWords() { return words[static_cast<std::size_t>(current.load())]; }

[[noreturn]] void WaitForAnotherToEnd(int exitCode) {
  for (int waited = 0; waited < kGraceMilliseconds; waited += 10) os::SleepMilliseconds(10);
  os::ExitNow(exitCode);
}

[[noreturn]] void WriteAndExit(const char* reason) {
  const Words& now = CurrentWords();
  if (reason == nullptr) {
    now.deadline.Write();
  } else {
    now.head.Write();
    std::size_t length = 0;
    while (reason[length] != '\0') ++length;
    os::WriteToStandardOutput(reason, length);
    now.tail.Write();
  }
  os::ExitNow(kExitCode);
}

}  // namespace

namespace os {

void EndOnTheSpot(const char* reason, Cause cause) {
  if (cause == Cause::Exit && !CurrentWords().inside) return;  // the program's own end
  int expected = kOpen;
  if (state.compare_exchange_strong(expected, kEndedByGuard)) WriteAndExit(reason);
  switch (expected) {
    case kPrinting:
      // The main thread is in the middle of a piece: a termination request waits for its end,
      // a crash there leaves nothing whole to add.
      if (cause == Cause::Termination) {
        pendingReason.store(reason);
        return;
      }
      os::ExitNow(kExitCode);
    case kEndedByRun:
      // The document is out; the run ends on its own.
      if (cause != Cause::Crash) return;
      os::ExitNow(runExitCode.load());
    default:
      WaitForAnotherToEnd(kExitCode);
  }
}

void EndFromAnotherThread(const char* reason) {
  for (;;) {
    int expected = kOpen;
    if (state.compare_exchange_strong(expected, kEndedByGuard)) WriteAndExit(reason);
    if (expected == kEndedByRun) WaitForAnotherToEnd(runExitCode.load());
    if (expected == kEndedByGuard) WaitForAnotherToEnd(kExitCode);
    os::SleepMilliseconds(1);  // a piece in progress
  }
}

}  // namespace os

void InstallLastWords() { os::InstallHandlers(); }

void WriteStandardOutputAsBytes() {
  asBytes = true;
  os::WriteStandardOutputAsBytes();
}

void SetLastWords(const LastWords& next) {
  if (state.load() == kEndedByGuard) WaitForAnotherToEnd(kExitCode);
  Words& unused = words[static_cast<std::size_t>(1 - current.load())];
  unused.head.Set(next.head);
  unused.tail.Set(next.tail);
  unused.deadline.Set(next.deadline);
  unused.inside = next.insideForeignOperation;
  current.store(1 - current.load());
}

void StartDeadline(std::chrono::steady_clock::time_point when) {
  std::thread([when] {
    os::KeepSignalsFromThisThread();
    std::this_thread::sleep_until(when);
    os::EndFromAnotherThread(nullptr);
  }).detach();
}

void BeginPrinting() {
  int expected = kOpen;
  if (state.compare_exchange_strong(expected, kPrinting) || expected == kEndedByRun) return;
  WaitForAnotherToEnd(kExitCode);
}

void EndPrinting() {
  int expected = kPrinting;
  if (!state.compare_exchange_strong(expected, kOpen)) return;
  if (const char* reason = pendingReason.exchange(nullptr)) {
    os::EndOnTheSpot(reason, os::Cause::Termination);
  }
}

void ClaimEndingForTheRun(int exitCode) {
  runExitCode.store(exitCode);
  int expected = kOpen;
  if (state.compare_exchange_strong(expected, kEndedByRun) || expected == kEndedByRun) return;
  WaitForAnotherToEnd(kExitCode);
}

}  // namespace platform
