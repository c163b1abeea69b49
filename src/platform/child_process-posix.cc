// Processes a run starts of its own program: POSIX, with posix_spawn, pipes and poll.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "src/platform/child_process.h"
#include "src/platform/last_words_os.h"
#include "src/platform/shared_library.h"

namespace platform {

struct ChildProcess::State {
  pid_t pid = -1;
  int output = -1;  // the reading end of its standard output
  std::string read;
  std::optional<ChildEnd> end;
};

namespace {

ChildEnd EndOf(int status) {
  ChildEnd end;
  if (WIFEXITED(status)) {
    end.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    end.cause = os::NameOfCause(static_cast<unsigned>(WTERMSIG(status)));
  }
  return end;
}

void Close(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Reads what is there without waiting; closes the pipe at its end.
void Drain(ChildProcess::State& state) {
  std::array<char, 4096> chunk;
  while (state.output >= 0) {
    const ssize_t got = ::read(state.output, chunk.data(), chunk.size());
    if (got > 0) {
      state.read.append(chunk.data(), static_cast<std::size_t>(got));
    } else if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
      return;
    } else {
      Close(state.output);
    }
  }
}

}  // namespace

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::vector<std::string>& arguments,
                                                  const std::string& input) {
  const std::string program = ProgramFile();
  if (program.empty()) return nullptr;
  int in[2];
  int out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return nullptr;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return nullptr;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // A group of its own, so that stopping it stops what it started too.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  auto state = std::make_unique<State>();
  const int started =
      posix_spawn(&state->pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(in[0]);
  ::close(out[1]);
  if (started != 0) {
    ::close(in[1]);
    ::close(out[0]);
    return nullptr;
  }
  // The request is far below a pipe's buffer: the write never waits for the child.
  for (std::size_t written = 0; written < input.size();) {
    const ssize_t wrote = ::write(in[1], input.data() + written, input.size() - written);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) break;
    written += static_cast<std::size_t>(wrote);
  }
  ::close(in[1]);
  ::fcntl(out[0], F_SETFL, ::fcntl(out[0], F_GETFL) | O_NONBLOCK);
  state->output = out[0];
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(state)));
}

ChildProcess::~ChildProcess() {
  if (!state_->end) Stop();
  Close(state_->output);
}

std::string ChildProcess::TakeOutput() {
  Drain(*state_);
  return std::exchange(state_->read, {});
}

bool ChildProcess::OutputEnded() const { return state_->output < 0; }

std::optional<ChildEnd> ChildProcess::End(bool wait) {
  if (state_->end) return state_->end;
  int status = 0;
  pid_t ended = 0;
  do {
    ended = ::waitpid(state_->pid, &status, wait ? 0 : WNOHANG);
  } while (ended < 0 && errno == EINTR);
  if (ended == state_->pid) state_->end = EndOf(status);
  if (ended < 0) state_->end = ChildEnd{};  // it is gone, whatever became of it
  return state_->end;
}

void ChildProcess::Stop() {
  if (state_->end) return;
  ::kill(-state_->pid, SIGKILL);
  ::kill(state_->pid, SIGKILL);
  End(true);
}

void WaitForChildren(const std::vector<ChildProcess*>& children,
                     std::chrono::steady_clock::time_point until) {
  std::vector<pollfd> watched;
  for (ChildProcess* child : children) {
    if (child->state_->output >= 0) watched.push_back({child->state_->output, POLLIN, 0});
  }
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      until - std::chrono::steady_clock::now());
  if (watched.empty()) return;
  ::poll(watched.data(), watched.size(),
         static_cast<int>(std::max<std::int64_t>(0, std::min<std::int64_t>(left.count(), 60000))));
  for (ChildProcess* child : children) Drain(*child->state_);
}

void EndWithParent() {
#ifdef __linux__
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  // A parent that ended before this line left the child to another.
  if (::getppid() == 1) ::_exit(2);
#endif
}

bool StandardInputIsPipe() {
  struct stat status {};
  return ::fstat(STDIN_FILENO, &status) == 0 && S_ISFIFO(status.st_mode);
}

std::optional<std::string> ReadStandardInput(std::size_t limit) {
  std::string text;
  std::array<char, 4096> chunk;
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(chunk.data(), static_cast<std::size_t>(got));
    if (text.size() > limit) return std::nullopt;
  }
}

}  // namespace platform
