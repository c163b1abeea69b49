// Processes a run starts of its own program: one for each system a listing run checks at the
// same time, so that a library's state, its working folder and any crash stay with that system.
// Nothing that is secret goes onto a child's command line or into its environment: what it
// needs comes through its standard input.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// How a child ended: its exit code, or the signal or exception that ended it.
struct ChildEnd {
  std::optional<int> exitCode;
  std::string cause;  // "SIGKILL", "EXCEPTION_ACCESS_VIOLATION"; empty for an exit
};

class ChildProcess {
 public:
  // Starts this program again with `arguments` (after its own path), writes `input` to its
  // standard input and closes it; its standard output is read through a pipe, its standard error
  // goes nowhere. The child and whatever it starts are stopped when this run ends, however it
  // ends. Nothing when no process can be started.
  static std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& arguments,
                                             const std::string& input);
  // Stops the child when it still runs, and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // What the child wrote since the last call.
  std::string TakeOutput();
  // Whether its output has ended (it closed it, or ended).
  bool OutputEnded() const;
  // How it ended, once it has; waits for that when `wait` is set.
  std::optional<ChildEnd> End(bool wait);
  // Stops it and what it started, at once.
  void Stop();

  struct State;

 private:
  explicit ChildProcess(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
  friend void WaitForChildren(const std::vector<ChildProcess*>& children,
                              std::chrono::steady_clock::time_point until);
};

// Waits until one of the children has written something or ended its output, or until `until`.
void WaitForChildren(const std::vector<ChildProcess*>& children,
                     std::chrono::steady_clock::time_point until);

// A child started by its parent ends with it, should the parent end without stopping it.
void EndWithParent();

// Whether standard input is a pipe (a parent writes it), not a terminal or a file.
bool StandardInputIsPipe();

// Everything on standard input, up to `limit` bytes; nothing when there is more.
std::optional<std::string> ReadStandardInput(std::size_t limit);

}  // namespace platform
