// The password for a profile, as sapprofile reads it: from standard input, or typed twice at a
// prompt without echo.
#include "tools/password_input.h"

#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// The terminal's echo is off while this lives.
class EchoOff {
 public:
#ifdef _WIN32
  EchoOff() : input_(GetStdHandle(STD_INPUT_HANDLE)) {
    active_ = GetConsoleMode(input_, &saved_) &&
              SetConsoleMode(input_, saved_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  }
  ~EchoOff() {
    if (active_) SetConsoleMode(input_, saved_);
  }
#else
  EchoOff() {
    if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
  }
  ~EchoOff() {
    if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }
#endif
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
#ifdef _WIN32
  HANDLE input_;
  DWORD saved_ = 0;
#else
  termios saved_{};
#endif
  bool active_ = false;
};

bool InputIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdin)) != 0;
#else
  return isatty(STDIN_FILENO) != 0;
#endif
}

std::optional<std::string> ReadInputLine() {
  std::string line;
  if (!std::getline(std::cin, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<std::string> PromptWithoutEcho(const std::string& prompt) {
  std::cerr << prompt << std::flush;
  std::optional<std::string> line;
  {
    EchoOff echoOff;
    line = ReadInputLine();
  }
  std::cerr << '\n';
  return line;
}

}  // namespace

std::optional<std::string> ReadPassword() {
  if (!InputIsTerminal()) {
    std::optional<std::string> line = ReadInputLine();
    if (!line) std::cerr << "sapprofile: no password on standard input\n";
    return line;
  }
  std::optional<std::string> first = PromptWithoutEcho("Password: ");
  std::optional<std::string> second = PromptWithoutEcho("Password again: ");
  if (!first || !second || *first != *second) {
    std::cerr << "sapprofile: the two passwords differ\n";
    return std::nullopt;
  }
  return first;
}
