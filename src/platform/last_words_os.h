// What only the operating system can do for the last words of a process: its handlers, its
// console, its end. Implemented once per host.
#pragma once

#include <cstddef>
#include <string>

namespace platform::os {

enum class Cause { Crash, Termination, Exit };

// Called by a handler on the thread that met the cause: writes the words and ends the process,
// unless the cause is no end of the run's (an exit outside a foreign operation, a termination
// request once the run has its document out or while it prints a piece, which ends it after).
void EndOnTheSpot(const char* reason, Cause cause);
// Called on a thread of the program's own that must end the process (the deadline, a console
// control event); `reason` null for the deadline's words.
[[noreturn]] void EndFromAnotherThread(const char* reason);

void InstallHandlers();
void WriteStandardOutputAsBytes();
// Async-signal-safe: the whole text, whatever the interruptions.
void WriteToStandardOutput(const char* bytes, std::size_t length);
[[noreturn]] void ExitNow(int exitCode);
void SleepMilliseconds(int milliseconds);
// Signals meant for the process go to the main thread, not to this one.
void KeepSignalsFromThisThread();

// The name of what ended a process: a signal's (POSIX) or an exception's (Windows), such as
// SIGSEGV or EXCEPTION_ACCESS_VIOLATION; its number where it has no name here.
std::string NameOfCause(unsigned code);

}  // namespace platform::os
