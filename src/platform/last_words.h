// The last words of a process that ends where it stands: a library that crashes or calls exit,
// a termination request, a deadline. Standard output must still receive one whole document, so
// whoever claims the ending first writes it and nobody writes after it.
#pragma once

#include <chrono>
#include <string_view>

namespace platform {

// What is written when the process ends where it stands, prepared by the main thread before
// anything that may never come back.
struct LastWords {
  // A crash, a termination request or an exit: `head`, the reason's name (a signal or exception
  // name such as SIGSEGV, or "exit"), `tail`.
  std::string_view head;
  std::string_view tail;
  // The deadline passed.
  std::string_view deadline;
  // Inside a foreign operation (a library's) an exit is not the program's own and ends with
  // the words too; outside, exit is the program's normal end.
  bool insideForeignOperation = false;
};

// Once per process: handlers for crash and termination signals (on Windows unhandled
// exceptions, console control events and abort) and for exit, which write the words set last
// and end the process with exit code 2.
void InstallLastWords();

// Standard output carries bytes as written, also on Windows, whose console otherwise writes a
// carriage return before each line feed: for output a program reads, not the monitor.
void WriteStandardOutputAsBytes();

// The main thread sets the words; a handler takes whichever were set last, whole. Line feeds
// become what the system's console writes for them.
void SetLastWords(const LastWords& next);

// From now on, a thread of its own ends the process with the deadline's words at `when`.
void StartDeadline(std::chrono::steady_clock::time_point when);

// The main thread's pieces of output: nobody ends the process in the middle of one. When
// another has ended the process already, the caller waits for the end instead.
void BeginPrinting();
// After a piece; a termination request that came in the middle of it ends the process now.
void EndPrinting();

// Claims the ending of the process for the main thread's own document, which ends with
// `exitCode`: nobody else writes after this. When another has ended the process already, the
// caller waits for the end instead.
void ClaimEndingForTheRun(int exitCode);

}  // namespace platform
