// Running the real programs from tests: a command to its end, or a server in the background.
#include "standin/testing/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
  int read = -1;
  int write = -1;
};

Pipe MakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  return {fds[0], fds[1]};
}

std::vector<std::string> ChildEnvironment(const ProcessOptions& options) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry(*e);
    std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& [key, value] : options.env) replaced |= key == name;
    for (const auto& key : options.unsetEnv) replaced |= key == name;
    if (!replaced) env.push_back(entry);
  }
  for (const auto& [key, value] : options.env) env.emplace_back(key).append("=").append(value);
  return env;
}

// Starts the child with its three streams on pipes; returns its pid.
int Spawn(const std::vector<std::string>& argv, const ProcessOptions& options, Pipe& in, Pipe& out,
          Pipe& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read, 0);
  posix_spawn_file_actions_adddup2(&actions, out.write, 1);
  posix_spawn_file_actions_adddup2(&actions, err.write, 2);
  if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> env = ChildEnvironment(options);
  std::vector<char*> envp;
  envp.reserve(env.size() + 1);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid;
  int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(in.read);
  close(out.write);
  close(err.write);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
  return pid;
}

int DecodeStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  // A child that exits before it has read its input must not take the test down with SIGPIPE.
  static const bool ignoreBrokenPipes = [] { return signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)ignoreBrokenPipes;
  Pipe in = MakePipe(), out = MakePipe(), err = MakePipe();
  if (options.output != Output::Captured) {
    // The child writes to /dev/full, or into a pipe whose reading end is closed already.
    close(out.read);
    close(out.write);
    out.read = -1;
    if (options.output == Output::DiskFull) {
      out.write = open("/dev/full", O_WRONLY | O_CLOEXEC);
    } else {
      Pipe broken = MakePipe();
      close(broken.read);
      out.write = broken.write;
    }
  }
  int pid = Spawn(argv, options, in, out, err);
  ProcessResult result;

  // Feed standard input and drain both outputs together, so no pipe fills up and blocks.
  std::size_t written = 0;
  if (options.input.empty()) {
    close(in.write);
    in.write = -1;
  } else {
    fcntl(in.write, F_SETFL, O_NONBLOCK);
  }
  const auto deadline = Clock::now() + options.timeout;
  std::optional<Clock::time_point> termination;
  if (options.terminateAfter) termination = Clock::now() + *options.terminateAfter;
  while (out.read >= 0 || err.read >= 0) {
    if (termination && Clock::now() >= *termination) {
      kill(pid, SIGTERM);
      termination.reset();
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        (termination ? std::min(deadline, *termination) : deadline) - Clock::now());
    if (Clock::now() >= deadline) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    left = std::max(left, std::chrono::milliseconds(1));
    pollfd fds[3];
    int n = 0;
    if (out.read >= 0) fds[n++] = {out.read, POLLIN, 0};
    if (err.read >= 0) fds[n++] = {err.read, POLLIN, 0};
    if (in.write >= 0) fds[n++] = {in.write, POLLOUT, 0};
    if (poll(fds, n, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
    for (int i = 0; i < n; ++i) {
      if (!fds[i].revents) continue;
      if (fds[i].fd == in.write) {
        ssize_t w = write(in.write, options.input.data() + written, options.input.size() - written);
        if (w > 0) written += static_cast<std::size_t>(w);
        if (w < 0 || written == options.input.size()) {
          close(in.write);
          in.write = -1;
        }
        continue;
      }
      char chunk[4096];
      ssize_t r = read(fds[i].fd, chunk, sizeof chunk);
      std::string& sink = fds[i].fd == out.read ? result.out : result.err;
      if (r > 0) {
        sink.append(chunk, static_cast<std::size_t>(r));
      } else {
        int& fd = fds[i].fd == out.read ? out.read : err.read;
        close(fd);
        fd = -1;
      }
    }
  }
  for (int fd : {in.write, out.read, err.read}) {
    if (fd >= 0) close(fd);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = DecodeStatus(status);
  return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv,
                                     const ProcessOptions& options) {
  Pipe in = MakePipe(), out = MakePipe();
  Pipe err{-1, open("/dev/null", O_WRONLY | O_CLOEXEC)};
  pid_ = Spawn(argv, options, in, out, err);
  input_ = in.write;
  output_ = out.read;
}

BackgroundProcess::~BackgroundProcess() {
  CloseInput();
  if (Running()) Terminate();
  if (output_ >= 0) close(output_);
}

std::optional<std::string> BackgroundProcess::ReadLine(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (auto end = buffer_.find('\n'); end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      return line;
    }
    if (output_ < 0) return std::nullopt;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd fd{output_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
    char chunk[4096];
    ssize_t r = read(output_, chunk, sizeof chunk);
    if (r <= 0) {
      close(output_);
      output_ = -1;
    } else {
      buffer_.append(chunk, static_cast<std::size_t>(r));
    }
  }
}

void BackgroundProcess::CloseInput() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

bool BackgroundProcess::Running() {
  if (exitCode_) return false;
  int status;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    exitCode_ = DecodeStatus(status);
    return false;
  }
  return true;
}

int BackgroundProcess::Terminate(std::chrono::milliseconds timeout) {
  if (!Running()) return *exitCode_;
  kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + timeout;
  while (Running()) {
    if (Clock::now() > deadline) {
      kill(pid_, SIGKILL);
      int status;
      waitpid(pid_, &status, 0);
      exitCode_ = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return *exitCode_;
}

ScratchDirectory::ScratchDirectory(const std::string& name) {
  static std::mt19937_64 random{std::random_device{}()};
  std::filesystem::path base = std::filesystem::temp_directory_path();
  if (const char* t = std::getenv("TEST_TMPDIR")) base = t;
  std::ostringstream unique;
  unique << name << "-" << getpid() << "-" << std::hex << random();
  path_ = (base / unique.str()).string();
  std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDirectory::Write(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path full = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary) << bytes;
  return full.string();
}

std::optional<std::string> ScratchDirectory::Read(const std::string& relative) const {
  std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool ScratchDirectory::Exists(const std::string& relative) const {
  return std::filesystem::exists(std::filesystem::path(path_) / relative);
}

std::string ProgramPath(const std::string& name) {
  const char* dir = std::getenv("SAPSYSINFO_BIN_DIR");
  return std::string(dir ? dir : ".") + "/" + name;
}

}  // namespace testsupport
