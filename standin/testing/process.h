// Running the real programs from tests: a command to its end, or a server in the background.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Where a child's standard output goes: back to the test, to a full disk, or into a pipe whose
// reader is gone.
enum class Output { Captured, DiskFull, BrokenPipe };

struct ProcessOptions {
  std::string cwd;  // empty: the test's own
  // Set in the child's environment (an empty value still sets the variable).
  std::vector<std::pair<std::string, std::string>> env;
  std::vector<std::string> unsetEnv;
  std::string input;  // written to standard input, which is then closed
  std::chrono::milliseconds timeout{60000};
  Output output = Output::Captured;
  // Sent SIGTERM once it has run this long, as the monitor stops a sensor.
  std::optional<std::chrono::milliseconds> terminateAfter;
};

struct ProcessResult {
  int exitCode = -1;  // -1 when it did not exit normally
  std::string out;    // standard output, byte for byte
  std::string err;    // standard error
  bool timedOut = false;
};

// Runs argv[0] (a path, not searched) to its end; killed when it outlives the timeout.
ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// A program that runs beside the test, its standard input held open, read line by line.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
  ~BackgroundProcess();  // stops it: closes standard input, then SIGTERM, then SIGKILL
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  // The next line of standard output without its line feed; nothing at its end or timeout.
  std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
  void CloseInput();
  // Sends SIGTERM and waits; the exit code, -1 when it was killed by a signal.
  int Terminate(std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));
  bool Running();
  int pid() const { return pid_; }

 private:
  int pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffer_;
  std::optional<int> exitCode_;
};

// A fresh directory under the test's temporary directory, removed with the object.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& name = "scratch");
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file below the directory (creating its folders) and returns its full path.
  std::string Write(const std::string& relative, const std::string& bytes) const;
  std::optional<std::string> Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string path_;
};

// The directory of the test binary's programs (CMake passes it as SAPSYSINFO_BIN_DIR).
std::string ProgramPath(const std::string& name);

}  // namespace testsupport
