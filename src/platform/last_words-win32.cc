// The last words of a process that ends where it stands: Windows exceptions, console control
// events, abort and exit.
#include <windows.h>
// These build on windows.h.
#include <fcntl.h>
#include <io.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <array>

#include "src/platform/last_words_os.h"

namespace platform::os {
namespace {

struct ExceptionName {
  DWORD code;
  const char* name;
};
constexpr std::array<ExceptionName, 18> kExceptions{{
    {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {EXCEPTION_BREAKPOINT, "EXCEPTION_BREAKPOINT"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {EXCEPTION_FLT_DENORMAL_OPERAND, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {EXCEPTION_FLT_INEXACT_RESULT, "EXCEPTION_FLT_INEXACT_RESULT"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EXCEPTION_FLT_INVALID_OPERATION"},
    {EXCEPTION_FLT_OVERFLOW, "EXCEPTION_FLT_OVERFLOW"},
    {EXCEPTION_FLT_STACK_CHECK, "EXCEPTION_FLT_STACK_CHECK"},
    {EXCEPTION_FLT_UNDERFLOW, "EXCEPTION_FLT_UNDERFLOW"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {EXCEPTION_INT_OVERFLOW, "EXCEPTION_INT_OVERFLOW"},
    {EXCEPTION_NONCONTINUABLE_EXCEPTION, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {EXCEPTION_PRIV_INSTRUCTION, "EXCEPTION_PRIV_INSTRUCTION"},
    {EXCEPTION_STACK_OVERFLOW, "EXCEPTION_STACK_OVERFLOW"},
}};

// Any other exception by its code, "EXCEPTION_0xC0000409": written into a buffer of its own, as
// nothing may be allocated while the process falls.
char otherException[] = "EXCEPTION_0x00000000";

const char* NameOf(DWORD code) {
  for (const ExceptionName& entry : kExceptions) {
    if (entry.code == code) return entry.name;
  }
  constexpr char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < 8; ++i) otherException[12 + i] = kDigits[(code >> (28 - 4 * i)) & 0xF];
  return otherException;
}

LONG WINAPI OnException(EXCEPTION_POINTERS* exception) {
  EndOnTheSpot(NameOf(exception->ExceptionRecord->ExceptionCode), Cause::Crash);
  return EXCEPTION_CONTINUE_SEARCH;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      EndFromAnotherThread("CTRL_C_EVENT");
    case CTRL_BREAK_EVENT:
      EndFromAnotherThread("CTRL_BREAK_EVENT");
    case CTRL_CLOSE_EVENT:
      EndFromAnotherThread("CTRL_CLOSE_EVENT");
    default:
      return FALSE;
  }
}

void OnAbort(int) { EndOnTheSpot("SIGABRT", Cause::Crash); }

void OnExit() { EndOnTheSpot("exit", Cause::Exit); }

}  // namespace

void InstallHandlers() {
  SetUnhandledExceptionFilter(OnException);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  std::signal(SIGABRT, OnAbort);
  std::atexit(OnExit);
}

void WriteToStandardOutput(const char* bytes, std::size_t length) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(output, bytes, static_cast<DWORD>(length), &written, nullptr) || written == 0) {
      return;
    }
    bytes += written;
    length -= written;
  }
}

// Without the detach notifications of the loaded libraries: one of them may be what hangs.
void ExitNow(int exitCode) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
  for (;;) Sleep(INFINITE);
}

void SleepMilliseconds(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void WriteStandardOutputAsBytes() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

std::string NameOfCause(unsigned code) { return NameOf(code); }

// Console control events come on threads of their own; nothing to keep away.
void KeepSignalsFromThisThread() {}

}  // namespace platform::os
