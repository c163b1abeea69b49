// The last words of a process that ends where it stands: POSIX signals and exit.
#include <pthread.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "src/platform/last_words_os.h"

namespace platform::os {
namespace {

struct SignalName {
  int signal;
  const char* name;
  std::optional<Cause> cause;  // nothing: no handler of the run's
};
constexpr std::array<SignalName, 10> kSignals{{
    {SIGSEGV, "SIGSEGV", Cause::Crash},
    {SIGBUS, "SIGBUS", Cause::Crash},
    {SIGILL, "SIGILL", Cause::Crash},
    {SIGFPE, "SIGFPE", Cause::Crash},
    {SIGABRT, "SIGABRT", Cause::Crash},
    {SIGTERM, "SIGTERM", Cause::Termination},
    {SIGINT, "SIGINT", Cause::Termination},
    {SIGHUP, "SIGHUP", Cause::Termination},
    {SIGKILL, "SIGKILL", std::nullopt},
    {SIGPIPE, "SIGPIPE", std::nullopt},
}};

void OnSignal(int signal) {
  for (const SignalName& entry : kSignals) {
    if (entry.signal == signal && entry.cause) EndOnTheSpot(entry.name, *entry.cause);
  }
}

void OnExit() { EndOnTheSpot("exit", Cause::Exit); }

// A crash from a stack overflow has no stack left to run its handler on.
alignas(16) std::array<char, std::size_t{64} * 1024> alternateStack;

}  // namespace

void InstallHandlers() {
  stack_t stack{};
  stack.ss_sp = alternateStack.data();
  stack.ss_size = alternateStack.size();
  sigaltstack(&stack, nullptr);
  for (const SignalName& entry : kSignals) {
    if (!entry.cause) continue;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigfillset(&action.sa_mask);
    // A crash's handler ends the process; a second crash inside it takes the system's way.
    action.sa_flags = SA_ONSTACK | (*entry.cause == Cause::Crash ? SA_RESETHAND : 0);
    sigaction(entry.signal, &action, nullptr);
  }
  std::atexit(OnExit);
}

void WriteToStandardOutput(const char* bytes, std::size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
}

void ExitNow(int exitCode) { ::_exit(exitCode); }

// A line feed is a line feed already.
void WriteStandardOutputAsBytes() {}

std::string NameOfCause(unsigned code) {
  for (const SignalName& entry : kSignals) {
    if (static_cast<unsigned>(entry.signal) == code) return entry.name;
  }
  return "signal " + std::to_string(code);
}

void SleepMilliseconds(int milliseconds) {
  timespec pause{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
  }
}

void KeepSignalsFromThisThread() {
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);
}

}  // namespace platform::os
