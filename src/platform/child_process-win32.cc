// Processes a run starts of its own program: Windows, with CreateProcessW, pipes, a job object
// and WaitForMultipleObjects.
#include <windows.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <thread>
#include <utility>

#include "src/platform/child_process.h"
#include "src/platform/last_words_os.h"
#include "src/platform/shared_library.h"
#include "src/platform/utf16-win32.h"

namespace platform {

struct ChildProcess::State {
  HANDLE process = nullptr;
  HANDLE output = nullptr;  // the reading end of its standard output
  std::thread reader;
  std::mutex mutex;
  std::string read;
  bool outputEnded = false;
  std::optional<ChildEnd> end;
};

namespace {

// Every child goes into this job, which ends them all when the run ends, however it ends.
HANDLE Job() {
  static const HANDLE job = [] {
    const HANDLE made = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return made;
  }();
  return job;
}

// Set by a reader when its child wrote something or ended its output.
HANDLE Wakeup() {
  static const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  return event;
}

// An exit code of the kind NTSTATUS gives to errors is an exception that ended the process.
ChildEnd EndOf(DWORD code) {
  ChildEnd end;
  if ((code & 0xC0000000u) == 0xC0000000u) {
    end.cause = os::NameOfCause(code);
  } else {
    end.exitCode = static_cast<int>(code);
  }
  return end;
}

void Read(ChildProcess::State* state) {
  std::array<char, 4096> chunk;
  for (;;) {
    DWORD got = 0;
    const BOOL read =
        ReadFile(state->output, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr);
    {
      const std::lock_guard<std::mutex> lock(state->mutex);
      if (read && got > 0) state->read.append(chunk.data(), got);
      if (!read || got == 0) state->outputEnded = true;
    }
    SetEvent(Wakeup());
    if (!read || got == 0) return;
  }
}

void CloseHandleOnce(HANDLE& handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = nullptr;
}

}  // namespace

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::vector<std::string>& arguments,
                                                  const std::string& input) {
  const std::wstring program = Utf16(ProgramFile());
  if (program.empty()) return nullptr;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
  if (!CreatePipe(&inRead, &inWrite, &inherited, 65536)) return nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherited, 65536)) {
    CloseHandleOnce(inRead);
    CloseHandleOnce(inWrite);
    return nullptr;
  }
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE nowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherited, OPEN_EXISTING, 0, nullptr);

  // The arguments hold no blank or quote: the program's path is quoted, they need not be.
  std::wstring commandLine = L"\"" + program + L"\"";
  for (const std::string& argument : arguments) commandLine += L" " + Utf16(argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = nowhere;
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                     CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandleOnce(inRead);
  CloseHandleOnce(outWrite);
  CloseHandleOnce(nowhere);
  if (!started) {
    CloseHandleOnce(inWrite);
    CloseHandleOnce(outRead);
    return nullptr;
  }
  AssignProcessToJobObject(Job(), process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  DWORD written = 0;
  WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
  CloseHandleOnce(inWrite);

  auto state = std::make_unique<State>();
  state->process = process.hProcess;
  state->output = outRead;
  state->reader = std::thread(Read, state.get());
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(state)));
}

ChildProcess::~ChildProcess() {
  if (!state_->end) Stop();
  // A reader whose child could not be stopped yet is left to end with the run.
  if (state_->reader.joinable()) {
    if (OutputEnded()) {
      state_->reader.join();
    } else {
      state_->reader.detach();
      static_cast<void>(state_.release());  // the reader's, until the run ends
      return;
    }
  }
  CloseHandleOnce(state_->output);
  CloseHandleOnce(state_->process);
}

std::string ChildProcess::TakeOutput() {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return std::exchange(state_->read, {});
}

bool ChildProcess::OutputEnded() const {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->outputEnded;
}

std::optional<ChildEnd> ChildProcess::End(bool wait) {
  if (state_->end) return state_->end;
  if (WaitForSingleObject(state_->process, wait ? INFINITE : 0) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(state_->process, &code);
  state_->end = EndOf(code);
  return state_->end;
}

void ChildProcess::Stop() {
  if (state_->end) return;
  TerminateProcess(state_->process, 2);
  // A process stopped while it still starts may take its time to go; the job object ends it
  // with the run at the latest, so the run does not wait for it here.
  if (WaitForSingleObject(state_->process, 2000) == WAIT_OBJECT_0) {
    End(false);
  } else {
    state_->end = ChildEnd{std::nullopt, "stopped"};
  }
}

void WaitForChildren(const std::vector<ChildProcess*>& children,
                     std::chrono::steady_clock::time_point until) {
  std::vector<HANDLE> handles{Wakeup()};
  for (ChildProcess* child : children) {
    if (!child->state_->end && handles.size() < MAXIMUM_WAIT_OBJECTS) {
      handles.push_back(child->state_->process);
    }
  }
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      until - std::chrono::steady_clock::now());
  const DWORD wait =
      static_cast<DWORD>(std::max<long long>(0, std::min<long long>(left.count(), 60000)));
  WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, wait);
}

// The job object ends the children with the run.
void EndWithParent() {}

bool StandardInputIsPipe() { return GetFileType(GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_PIPE; }

std::optional<std::string> ReadStandardInput(std::size_t limit) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string text;
  std::array<char, 4096> chunk;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(input, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) ||
        got == 0) {
      return text;
    }
    text.append(chunk.data(), got);
    if (text.size() > limit) return std::nullopt;
  }
}

}  // namespace platform
