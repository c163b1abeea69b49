// A scratch tree of drives for end-to-end tests.
#include "tests/support/drives.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

Drives::Drives() { MakeDirectory("C:\\"); }

// The sensor's platform layer reads SAPSYSINFO_DRIVES as one folder per drive letter, in lower
// case, with the path below it.
std::string Drives::HostPath(std::string_view windowsPath) const {
  if (windowsPath.size() < 2 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
      windowsPath[1] != ':') {
    throw std::invalid_argument("not a path with a drive letter: " + std::string(windowsPath));
  }
  std::string path = root_.path() + "/" +
                     static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
  for (char c : windowsPath.substr(2)) path += c == '\\' ? '/' : c;
  return path;
}

void Drives::Write(std::string_view windowsPath, std::string_view bytes) const {
  std::filesystem::path file = HostPath(windowsPath);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

void Drives::MakeDirectory(std::string_view windowsPath) const {
  std::filesystem::create_directories(HostPath(windowsPath));
}

std::optional<std::string> Drives::Read(std::string_view windowsPath) const {
  std::ifstream in(HostPath(windowsPath), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

ProcessResult Drives::Run(const std::string& program, const std::vector<std::string>& arguments,
                          std::string_view currentDirectory, const std::string& input) const {
  MakeDirectory(currentDirectory);
  std::vector<std::string> argv{ProgramPath(program)};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::pair<std::string, std::string>> env = env_;
  env.emplace_back("SAPSYSINFO_DRIVES", root_.path());
  return RunProcess(argv, {.cwd = HostPath(currentDirectory), .env = env, .input = input});
}

}  // namespace testsupport
