// Noticing that standard input has ended.
#include "standin/input_end.h"

#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace standin {
namespace {

#if defined(_WIN32)
bool InputCanEnd() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  const DWORD type = GetFileType(input);
  return type == FILE_TYPE_PIPE || (type == FILE_TYPE_CHAR && GetConsoleMode(input, &mode));
}

bool ReadSome() {
  char buffer[256];
  DWORD read = 0;
  return ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) &&
         read > 0;
}
#else
bool InputCanEnd() {
  struct stat status {};
  return fstat(STDIN_FILENO, &status) == 0 &&
         (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode) || isatty(STDIN_FILENO));
}

// Reads the descriptor itself: a thread blocked in the C library's stdin could hold its lock
// while the process exits.
bool ReadSome() {
  char buffer[256];
  ssize_t read_bytes;
  do {
    read_bytes = read(STDIN_FILENO, buffer, sizeof buffer);
  } while (read_bytes < 0 && errno == EINTR);
  return read_bytes > 0;
}
#endif

}  // namespace

void WatchInputEnd(std::function<void()> onEnd) {
  if (!InputCanEnd()) return;
  // Detached: it may still wait for input when the program ends for another reason.
  std::thread([onEnd = std::move(onEnd)] {
    while (ReadSome()) {
    }
    onEnd();
  }).detach();
}

}  // namespace standin
