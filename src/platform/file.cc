// Files and Windows paths on every host.
#include "src/platform/file.h"

#include "src/platform/current_directory.h"
#include "src/platform/host.h"
#include "src/platform/utf8_path.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace platform {
namespace {

bool IsDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// The drive whose folder under `drives` holds `cwd`; 'c' when none does.
char CurrentDrive(std::string_view drives, std::string_view cwd) {
  if (drives.empty()) return 'c';
  std::string root(drives);
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  if (cwd.size() > root.size() + 1 && cwd.substr(0, root.size()) == root &&
      cwd[root.size()] == '/' && IsDriveLetter(cwd[root.size() + 1]) &&
      (cwd.size() == root.size() + 2 || cwd[root.size() + 2] == '/')) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(cwd[root.size() + 1])));
  }
  return 'c';
}

std::string DriveRoot(std::string_view drives, char letter) {
  if (drives.empty()) return "";
  std::string root(drives);
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root + "/" + static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
}

std::string Slashes(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

}  // namespace

std::string MapWindowsPath(std::string_view path, std::string_view drives, std::string_view cwd) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    std::string rest = Slashes(path.substr(2));
    if (rest.empty() || rest[0] != '/') rest.insert(rest.begin(), '/');
    return DriveRoot(drives, path[0]) + rest;
  }
  if (!path.empty() && path[0] == '\\') {
    return DriveRoot(drives, CurrentDrive(drives, cwd)) + Slashes(path);
  }
  if (!path.empty() && path[0] == '/') return std::string(path);
  return std::string(cwd) + "/" + Slashes(path);
}

std::string HostPath(std::string_view windowsPath) {
  if (kWindowsHost) return std::string(windowsPath);
  const char* drives = std::getenv("SAPSYSINFO_DRIVES");
  return MapWindowsPath(windowsPath, drives ? drives : "", CurrentDirectory());
}

std::string WindowsPathOfHostPath(std::string_view hostPath, std::string_view drives) {
  std::string path = std::filesystem::path(hostPath).lexically_normal().generic_string();
  if (drives.empty()) return path;
  std::string root(drives);
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  const std::size_t letter = root.size() + 1;
  if (path.size() <= letter || path.compare(0, root.size(), root) != 0 ||
      path[root.size()] != '/' || !IsDriveLetter(path[letter]) ||
      (path.size() > letter + 1 && path[letter + 1] != '/')) {
    return path;
  }
  std::string windowsPath{static_cast<char>(std::toupper(static_cast<unsigned char>(path[letter]))),
                          ':'};
  const std::string rest = path.substr(letter + 1);
  windowsPath += rest.empty() ? "\\" : rest;
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  return windowsPath;
}

std::string FullPath(std::string_view windowsPath) {
  if (kWindowsHost) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(std::string(windowsPath), error);
    return error ? std::string(windowsPath) : full.string();
  }
  const char* drives = std::getenv("SAPSYSINFO_DRIVES");
  return WindowsPathOfHostPath(HostPath(windowsPath), drives ? drives : "");
}

std::unique_ptr<File> File::OpenForReading(std::string_view windowsPath, FileMode mode) {
  // An empty name in a listing names the directory; a FIFO would block the run for ever.
  std::FILE* stream = os::OpenRegularFileForReading(HostPath(windowsPath), mode);
  if (!stream) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

std::unique_ptr<File> File::CreateNew(std::string_view windowsPath) {
  std::FILE* stream = os::CreateNewFile(HostPath(windowsPath));
  if (!stream) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

std::unique_ptr<File> File::OpenForWriting(std::string_view windowsPath, FileMode mode) {
  std::FILE* stream = os::OpenFileForWriting(HostPath(windowsPath), mode);
  if (!stream) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

File::~File() { static_cast<void>(Close()); }  // without the answer, as the header says

bool File::Close() {
  if (stream_ != nullptr) {
    if (std::fclose(stream_) != 0) failed_ = true;
    stream_ = nullptr;
  }
  return !failed_;
}

std::optional<std::string> File::ReadPiece(std::size_t limit) {
  std::string piece;
  while (piece.size() < limit) {
    int c = std::fgetc(stream_);
    if (c == EOF) break;
    piece.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  if (piece.empty()) return std::nullopt;
  return piece;
}

std::string File::ReadBytes(std::size_t size) {
  std::string bytes(size, '\0');
  bytes.resize(std::fread(bytes.data(), 1, size, stream_));
  return bytes;
}

std::optional<std::uintmax_t> File::Size() const { return os::StreamSize(stream_); }

bool File::Seek(std::uintmax_t offset) { return os::SeekStream(stream_, offset); }

bool File::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) failed_ = true;
  return !failed_;
}

std::string StripLineEnd(std::string line) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool FileExists(std::string_view windowsPath) {
  return File::OpenForReading(windowsPath) != nullptr;
}

namespace {

char Folded(char c) {
  return kWindowsHost ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
}

// '*' matches any characters; the rest one for one.
bool Matches(std::string_view name, std::string_view pattern) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') {
    for (std::size_t skip = 0; skip <= name.size(); ++skip) {
      if (Matches(name.substr(skip), pattern.substr(1))) return true;
    }
    return false;
  }
  return !name.empty() && Folded(name[0]) == Folded(pattern[0]) &&
         Matches(name.substr(1), pattern.substr(1));
}

}  // namespace

bool HostFolderHolds(const std::string& hostFolder, std::string_view pattern) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (pattern.find('*') == std::string_view::npos) {
    return fs::is_regular_file(PathFromUtf8(hostFolder) / PathFromUtf8(pattern), error);
  }
  for (fs::directory_iterator entry(PathFromUtf8(hostFolder), error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_regular_file(ignored) &&
        Matches(Utf8FromPath(entry->path().filename()), pattern)) {
      return true;
    }
  }
  return false;
}

bool PathExists(std::string_view windowsPath) { return os::PathExists(HostPath(windowsPath)); }

void RemoveFile(std::string_view windowsPath) { os::RemoveFile(HostPath(windowsPath)); }

std::optional<std::uintmax_t> FileSize(std::string_view windowsPath) {
  return os::RegularFileSize(HostPath(windowsPath));
}

bool RenameFile(std::string_view from, std::string_view to) {
  std::error_code error;
  std::filesystem::rename(PathFromUtf8(HostPath(from)), PathFromUtf8(HostPath(to)), error);
  return !error;
}

bool AppendToFile(std::string_view windowsPath, std::string_view bytes) {
  return os::AppendInOneWrite(HostPath(windowsPath), bytes);
}

}  // namespace platform
