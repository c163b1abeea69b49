// A scratch tree of drives for end-to-end tests.
#include "tests/support/drives.h"

#include "tests/support/xml_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {
namespace {

namespace fs = std::filesystem;

struct Wine {
  std::string loader;  // wine64
  std::string prefix;  // WINEPREFIX
  std::string binDir;  // the Windows programs
};

std::optional<Wine> WineMode() {
  const char* loader = std::getenv("SAPSYSINFO_WINE");
  if (!loader || !*loader) return std::nullopt;
  const char* prefix = std::getenv("WINEPREFIX");
  const char* binDir = std::getenv("SAPSYSINFO_WIN_BIN_DIR");
  if (!prefix || !*prefix || !binDir || !*binDir) {
    throw std::runtime_error("SAPSYSINFO_WINE needs WINEPREFIX and SAPSYSINFO_WIN_BIN_DIR");
  }
  return Wine{loader, prefix, binDir};
}

// The letters a Drives links into the prefix: all but C: (the prefix's own) and Z: (Wine's
// root of the host).
constexpr char kFirstLinked = 'd';
constexpr char kLastLinked = 'y';

// The Windows runtime writes each LF of text mode as CR LF; that is undone here, and an LF
// that came without its CR is a fault.
std::string FromWindowsLineEnds(const std::string& bytes, const std::string& what) {
  std::string text;
  std::size_t bare = 0, first = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r') && bare++ == 0) first = i;
    text += bytes[i];
  }
  if (bare > 0) {
    ADD_FAILURE() << what << ": " << bare << " line feed(s) without a carriage return, the first "
                  << "at byte " << first << " of:\n"
                  << bytes;
  }
  return text;
}

}  // namespace

bool UnderWine() { return WineMode().has_value(); }

std::string NameOf(RfcLibrary library) {
  return library == RfcLibrary::Classic ? "Classic" : "NetWeaver";
}

std::string SensorFileName() { return UnderWine() ? "sapsysinfo.exe" : "sapsysinfo"; }

std::string LibraryFileName(RfcLibrary library) {
  if (library == RfcLibrary::Classic) return UnderWine() ? "librfc32.dll" : "librfc32.so";
  return UnderWine() ? "sapnwrfc.dll" : "libsapnwrfc.so";
}

std::string CompanionFileName() { return UnderWine() ? "libsapucum.dll" : "libsapucum.so"; }

Drives::Drives() {
  if (auto wine = WineMode()) {
    // Drive C: is shared: what the tests write there must not be there yet, or a test would
    // read what another one (or an earlier run) left and not remove it.
    for (const char* place : {"C:\\work", "C:\\PRTG_Path.Txt", "C:\\Programme",
                              "C:\\Program Files\\PRTG Network Monitor",
                              "C:\\Program Files (x86)\\PRTG Network Monitor"}) {
      if (fs::exists(fs::symlink_status(HostPath(place)))) {
        throw std::runtime_error(std::string(place) +
                                 " is already on the prefix's drive C:, left by another test or "
                                 "run; the tests under Wine start from drive C: as wineboot "
                                 "left it");
      }
    }
    for (char letter = kFirstLinked; letter <= kLastLinked; ++letter) {
      const fs::path link = wine->prefix + "/dosdevices/" + letter + ":";
      fs::remove(link);
      fs::create_symlink(root_.path() + "/" + letter, link);
      links_.push_back(link.string());
    }
    runFoldersBefore_ = RunFoldersLeftIn(TemporaryFolder());
  }
  MakeDirectory("C:\\");
}

Drives::~Drives() {
  std::error_code ignored;
  for (auto it = created_.rbegin(); it != created_.rend(); ++it) fs::remove_all(*it, ignored);
  for (const std::string& link : links_) fs::remove(link, ignored);
}

// The sensor's platform layer reads SAPSYSINFO_DRIVES as one folder per drive letter, in lower
// case, with the path below it. Under Wine drive C: is the prefix's drive_c, and the other
// letters are linked to those folders.
std::string Drives::HostPath(std::string_view windowsPath) const {
  if (windowsPath.size() < 2 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
      windowsPath[1] != ':') {
    throw std::invalid_argument("not a path with a drive letter: " + std::string(windowsPath));
  }
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
  const auto wine = WineMode();
  std::string path;
  if (wine && letter == 'c') {
    path = wine->prefix + "/drive_c";
  } else if (wine && (letter < kFirstLinked || letter > kLastLinked)) {
    throw std::invalid_argument("no such drive under Wine: " + std::string(windowsPath));
  } else {
    path = root_.path() + "/" + letter;
  }
  for (char c : windowsPath.substr(2)) path += c == '\\' ? '/' : c;
  return path;
}

void Drives::Claim(const std::string& hostPath) const {
  const auto wine = WineMode();
  if (!wine) return;
  const fs::path driveC = wine->prefix + "/drive_c";
  const fs::path relative = fs::path(hostPath).lexically_relative(driveC);
  if (relative.empty() || *relative.begin() == "..") return;  // another drive
  fs::path path = driveC;
  for (const fs::path& part : relative) {
    if (part.empty() || part == ".") continue;
    path /= part;
    if (!fs::exists(fs::symlink_status(path))) {
      created_.push_back(path.string());
      return;
    }
  }
}

void Drives::Write(std::string_view windowsPath, std::string_view bytes) const {
  std::filesystem::path file = HostPath(windowsPath);
  Claim(file.string());
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

void Drives::MakeDirectory(std::string_view windowsPath) const {
  const std::string path = HostPath(windowsPath);
  Claim(path);
  std::filesystem::create_directories(path);
}

std::optional<std::string> Drives::Read(std::string_view windowsPath) const {
  std::ifstream in(HostPath(windowsPath), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

ProcessResult Drives::Run(const std::string& program, const std::vector<std::string>& arguments,
                          std::string_view currentDirectory, const std::string& input,
                          Output output) const {
  if (auto wine = WineMode()) {
    return RunProgram({wine->loader, wine->binDir + "/" + program + ".exe"}, arguments,
                      currentDirectory, input, output, program + ".exe");
  }
  return RunProgram({ProgramPath(program)}, arguments, currentDirectory, input, output, program);
}

ProcessResult Drives::RunProgram(const std::vector<std::string>& command,
                                 const std::vector<std::string>& arguments,
                                 std::string_view currentDirectory, const std::string& input,
                                 Output output, const std::string& what) const {
  MakeDirectory(currentDirectory);
  std::vector<std::pair<std::string, std::string>> env = env_;
  // Windows knows no SAPSYSINFO_DRIVES: under Wine the prefix's drives are the drives.
  if (!UnderWine()) {
    env.emplace_back("SAPSYSINFO_DRIVES", root_.path());
    const bool ownTemporaryFolder = std::any_of(
        env_.begin(), env_.end(), [](const auto& set) { return set.first == "TMPDIR"; });
    if (!ownTemporaryFolder) env.emplace_back("TMPDIR", TemporaryFolder());
  }
  std::vector<std::string> argv = command;
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  ProcessResult result = RunProcess(argv, {.cwd = HostPath(currentDirectory),
                                           .env = env,
                                           .input = input,
                                           .timeout = timeout_,
                                           .output = output,
                                           .terminateAfter = terminateAfter_});
  if (UnderWine()) {
    result.out = FromWindowsLineEnds(result.out, what + ", standard output");
    result.err = FromWindowsLineEnds(result.err, what + ", standard error");
  }
  return result;
}

std::string Drives::SensorFile() {
  if (auto wine = WineMode()) return wine->binDir + "/sapsysinfo.exe";
  return ProgramPath("sapsysinfo");
}

std::string Drives::BuildFile(const std::string& relative) {
  if (auto wine = WineMode()) return wine->binDir + "/" + relative;
  return ProgramPath(relative);
}

ProcessResult Drives::RunSensorFrom(const std::string& hostProgram,
                                    const std::vector<std::string>& arguments,
                                    std::string_view currentDirectory) const {
  std::vector<std::string> command{hostProgram};
  if (auto wine = WineMode()) command.insert(command.begin(), wine->loader);
  ProcessResult result =
      RunProgram(command, arguments, currentDirectory, "", Output::Captured, "sapsysinfo");
  if (LooksLikeXmlDocument(result.out)) {
    if (auto problem = XmlProblem(result.out)) {
      ADD_FAILURE() << "sapsysinfo printed a document that is no well-formed XML (" << *problem
                    << "):\n"
                    << result.out;
    }
  }
  return result;
}

void Drives::UseLibrary(RfcLibrary library) {
  library_ = library;
  if (library == RfcLibrary::Classic) {
    sensor_.clear();
    return;
  }
  // Outside the drives, so that no test's files lie beside it.
  const fs::path folder = root_.path() + "/netweaver-sensor";
  fs::create_directories(folder);
  const fs::path sensor = SensorFile();
  fs::copy_file(sensor, folder / sensor.filename(), fs::copy_options::overwrite_existing);
  for (const std::string& file : {LibraryFileName(RfcLibrary::NetWeaver), CompanionFileName()}) {
    fs::copy_file(BuildFile("nwrfc/" + file), folder / file, fs::copy_options::overwrite_existing);
  }
  sensor_ = (folder / sensor.filename()).string();
}

ProcessResult Drives::RunSensor(const std::vector<std::string>& arguments,
                                std::string_view currentDirectory) const {
  return RunSensorFrom(sensor_.empty() ? SensorFile() : sensor_, arguments, currentDirectory);
}

std::string Drives::TemporaryFolder() const {
  if (auto wine = WineMode()) {
    // Wine gives its programs the temporary folder of the prefix's user, whatever TMP says.
    for (const auto& user : fs::directory_iterator(wine->prefix + "/drive_c/users")) {
      if (fs::is_directory(user.path() / "Temp") && user.path().filename() != "Public") {
        return (user.path() / "Temp").string();
      }
    }
    throw std::runtime_error("no user's Temp folder in " + wine->prefix);
  }
  std::string folder = root_.path() + "/temp";
  fs::create_directories(folder);
  return folder;
}

std::vector<std::string> Drives::RunFoldersLeft() const {
  std::vector<std::string> left = RunFoldersLeftIn(TemporaryFolder());
  std::erase_if(left, [this](const std::string& folder) {
    return std::find(runFoldersBefore_.begin(), runFoldersBefore_.end(), folder) !=
           runFoldersBefore_.end();
  });
  return left;
}

std::vector<std::string> Drives::RunFoldersLeftIn(const std::string& hostFolder) const {
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(hostFolder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("sapsysinfo-runs")) {
      // A link or another account's folder may stand there: what it holds is no run's.
      if (entry.is_symlink()) continue;
      std::error_code unreadable;
      for (fs::directory_iterator run(entry.path(), unreadable), end; !unreadable && run != end;
           run.increment(unreadable)) {
        left.push_back(run->path().filename().string());
      }
    } else if (name.starts_with("sapsysinfo-") && name.size() > 11 &&
               std::isdigit(static_cast<unsigned char>(name[11]))) {
      left.push_back(name);
    }
  }
  return left;
}

}  // namespace testsupport
