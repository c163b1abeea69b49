// sapprofile: writes a system's profile file for the SysInfo sensor, and checks one with the
// sensor's own reader. The password never comes from the command line, where every user of
// the machine can read it: it is read from standard input or typed at a prompt without echo.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "src/config/password.h"
#include "src/config/profile_writer.h"
#include "src/config/system_entry.h"
#include "src/output/messages.h"
#include "src/platform/file.h"

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

// The first line of standard input, or what is typed twice at the prompt.
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

std::string BareName(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct WriteOptions {
  std::string profile;
  SystemEntry values;
  bool force = false;
};

int WriteProfile(WriteOptions& options) {
  // A symbolic link counts as a file there, dangling or not: it is replaced, never written
  // through.
  if (!options.force && platform::PathExists(options.profile)) {
    std::cerr << "sapprofile: " << options.profile << " exists; --force replaces it\n";
    return 1;
  }
  std::optional<std::string> password = ReadPassword();
  if (!password) return 1;
  options.values.password = *password;

  ComposedProfile composed =
      ComposeProfile(options.values, BuildPasswordKeyTable(), std::random_device{}());
  for (const std::string& refusal : composed.refusals) {
    std::cerr << "sapprofile: " << refusal << '\n';
  }
  if (!composed.refusals.empty()) {
    std::cerr << "sapprofile: " << options.profile << " not written\n";
    return 1;
  }
  for (const std::string& warning : composed.warnings) {
    std::cerr << "sapprofile: warning: " << warning << '\n';
  }

  if (platform::PathExists(options.profile)) platform::RemoveFile(options.profile);
  // Created anew, owner only, before the stored password goes in; on Windows the folder's ACL
  // decides who reads it.
  auto file = platform::File::CreateNew(options.profile);
  if (!file) {
    std::cerr << "sapprofile: cannot create " << options.profile << '\n';
    return 1;
  }
  // Written only once the file is closed: a full disk may show no earlier than that.
  const bool written = file->Write(composed.text);
  if (!file->Close() || !written) {
    std::cerr << "sapprofile: cannot write " << options.profile << '\n';
    return 1;
  }
  std::cout << "sapprofile: " << options.profile << " written\n";
  return 0;
}

std::string Quoted(const std::string& value) { return "\"" + value + "\""; }

// What the reader made of the password, never the password itself.
std::string PasswordFinding(const std::vector<EntryProblem>& readProblems,
                            const std::string& password) {
  for (const EntryProblem& problem : readProblems) {
    if (problem.fault == EntryFault::InvalidPassword) {
      return "does not decode: not 24 characters, or its header is not four digits";
    }
    if (problem.fault == EntryFault::WrongPassword) {
      return "does not decode: the check digit does not match (damaged, or written for "
             "another key)";
    }
  }
  if (password.empty()) return "empty";
  return "decodes, " + std::to_string(password.size()) + " characters";
}

int CheckProfile(const std::string& profile, bool listing) {
  const EntryKind kind = listing ? EntryKind::Listing : EntryKind::Single;
  auto file = platform::File::OpenForReading(profile);
  if (!file) {
    std::cerr << "sapprofile: cannot open " << profile << '\n';
    return 2;
  }
  SystemEntry entry;
  const std::vector<EntryProblem> readProblems =
      ReadEntryLines(entry, *file, kind, BuildPasswordKeyTable());
  file.reset();
  const std::vector<EntryProblem> valueProblems = CheckEntryValues(entry, kind);

  std::cout << "Profile " << profile << ", read as a " << (listing ? "listing" : "single")
            << " run reads it (" << ReadLimit(kind) << " characters per read)\n";
  for (const EntryKey& key : EntryKeys()) {
    const std::string& value = entry.*key.value;
    std::cout << key.key << ' '
              << (key.value == &SystemEntry::password ? PasswordFinding(readProblems, value)
                                                      : Quoted(value));
    const std::size_t minimum = listing ? key.minimumListing : key.minimumSingle;
    if (std::find(valueProblems.begin(), valueProblems.end(),
                  EntryProblem{EntryFault::ValueTooShort, key.key}) != valueProblems.end()) {
      std::cout << "  too short: at least " << minimum << " characters";
    } else if (minimum == 0) {
      std::cout << "  not checked in a single run";
    } else {
      std::cout << "  ok";
    }
    std::cout << '\n';
  }

  std::vector<EntryProblem> problems = readProblems;
  problems.insert(problems.end(), valueProblems.begin(), valueProblems.end());
  if (problems.empty()) {
    std::cout << (listing ? "Listing run: valid\n" : "Single run: accepted\n");
    return 0;
  }
  if (listing) {
    std::cout << "Listing run: invalid, the system is reported as failed\n";
  } else {
    // The message the sensor would end with: the first fault it meets.
    std::cout << "Single run: refused with "
              << MessageFor(SingleRunMessage(problems.front().fault), BareName(profile)) << '\n';
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) try {
  CLI::App app{"Writes and checks the profile files of the SAP SysInfo sensor."};
  app.require_subcommand(1);

  WriteOptions write;
  CLI::App* writeCommand = app.add_subcommand(
      "write",
      "Write a profile. The password is read from standard input (its first line) or, on a "
      "terminal, typed twice without echo.");
  writeCommand->add_option("profile", write.profile, "the profile file, e.g. PRD.P00")->required();
  struct ValueOption {
    const char* name;
    std::string SystemEntry::*value;
    const char* help;
  };
  const ValueOption valueOptions[] = {
      {"--company", &SystemEntry::extcompany, "the company (at least 2 characters)"},
      {"--destination", &SystemEntry::destination, "the RFC destination (at least 3)"},
      {"--client", &SystemEntry::client, "the client, e.g. 100"},
      {"--user", &SystemEntry::user, "the logon user (the sensor upper-cases it)"},
      {"--language", &SystemEntry::language, "the logon language, e.g. E"},
      {"--mode", &SystemEntry::mode, "the connection mode, R/3 or R/2"},
      {"--host", &SystemEntry::hostname, "the application server's host name"},
      {"--sysnr", &SystemEntry::sysnr, "the system number, e.g. 00"},
      {"--gwhost", &SystemEntry::gwhost, "the gateway host"},
      {"--gwservice", &SystemEntry::gwservice, "the gateway service, e.g. sapgw00"},
  };
  for (const ValueOption& option : valueOptions) {
    CLI::Option* added =
        writeCommand->add_option(option.name, write.values.*option.value, option.help);
    if (option.value != &SystemEntry::user) added->required();
  }
  writeCommand->add_flag("--force", write.force, "replace an existing profile");

  std::string checked;
  bool listing = false;
  CLI::App* checkCommand = app.add_subcommand(
      "check", "Read a profile as the sensor does and report each value and check.");
  checkCommand->add_option("profile", checked, "the profile file")->required();
  checkCommand->add_flag("--listing", listing, "read it as a listing run reads a listed profile");

  CLI11_PARSE(app, argc, argv);
  if (writeCommand->parsed()) return WriteProfile(write);
  return CheckProfile(checked, listing);
} catch (const std::exception& error) {
  // A file that cannot be read or written ends with its reason, not by terminate.
  std::cerr << "sapprofile: " << error.what() << '\n';
  return 1;
}
