// What only the operating system can do for files and folders: POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <vector>

#include "src/platform/file.h"
#include "src/platform/file_lock.h"
#include "src/platform/folder.h"

namespace platform {
namespace {

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// The stream of a descriptor when it is a regular file; else the descriptor is closed and
// nothing comes back. It was opened without waiting (O_NONBLOCK), which reads and writes of
// a regular file do not need.
std::FILE* RegularFileStream(int fd, const char* mode) {
  if (fd < 0) return nullptr;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(fd, mode);
  if (stream == nullptr) ::close(fd);
  return stream;
}

// Whether nothing, or a regular file itself, stands at the path: what else stands there (a
// FIFO, a device, a link) is not even opened.
bool NothingOrRegularFile(const std::string& hostPath) {
  struct stat status {};
  return ::lstat(hostPath.c_str(), &status) != 0 ? errno == ENOENT : S_ISREG(status.st_mode);
}

// Opens `name` in `parent` as a folder, never through a link; -1 when it is none.
int OpenFolderAt(int parent, const char* name) {
  return ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// A folder itself, this account's own, that nobody else may use.
bool IsPrivateFolder(const struct stat& status) {
  return S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
         (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// When what the status describes last changed.
std::chrono::system_clock::time_point ChangedAt(const struct stat& status) {
  const auto changed = std::chrono::seconds(status.st_mtim.tv_sec) +
                       std::chrono::nanoseconds(status.st_mtim.tv_nsec);
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(changed));
}

// The names in an open folder, but "." and "..".
std::vector<std::string> NamesIn(int folder) {
  std::vector<std::string> names;
  const int listing = ::dup(folder);
  if (listing < 0) return names;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return names;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

void RemoveAt(int parent, const std::string& name);

void RemoveContents(int folder) {
  for (const std::string& name : NamesIn(folder)) RemoveAt(folder, name);
}

void RemoveAt(int parent, const std::string& name) {
  // Without AT_REMOVEDIR a file or a link goes (never what it points to), and a folder stays.
  if (::unlinkat(parent, name.c_str(), 0) == 0) return;
  const int folder = OpenFolderAt(parent, name.c_str());
  if (folder < 0) return;
  RemoveContents(folder);
  ::close(folder);
  ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

}  // namespace

namespace os {

std::FILE* OpenRegularFileForReading(const std::string& hostPath, FileMode) {
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer.
  return RegularFileStream(::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), "r");
}

std::FILE* OpenFileForWriting(const std::string& hostPath, FileMode) {
  return std::fopen(hostPath.c_str(), "w");
}

std::FILE* CreateNewFile(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
  if (fd < 0) return nullptr;
  std::FILE* stream = ::fdopen(fd, "w");
  if (stream == nullptr) ::close(fd);
  return stream;
}

bool AppendInOneWrite(const std::string& hostPath, std::string_view bytes) {
  if (!NothingOrRegularFile(hostPath)) return false;
  // O_NOFOLLOW, O_NONBLOCK and the check after opening: for what is swapped in meanwhile.
  const int fd = ::open(hostPath.c_str(),
                        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return false;
  }
  // O_APPEND moves to the end and writes in one step, so appenders never overwrite each other.
  const ssize_t written = ::write(fd, bytes.data(), bytes.size());
  const bool closed = ::close(fd) == 0;
  return written == static_cast<ssize_t>(bytes.size()) && closed;
}

bool PathExists(const std::string& hostPath) {
  struct stat status {};
  return ::lstat(hostPath.c_str(), &status) == 0;
}

void RemoveFile(const std::string& hostPath) { ::unlink(hostPath.c_str()); }

std::optional<std::uintmax_t> RegularFileSize(const std::string& hostPath) {
  struct stat status {};
  if (::lstat(hostPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<std::uintmax_t>(status.st_size);
}

std::optional<std::uintmax_t> StreamSize(std::FILE* stream) {
  struct stat status {};
  if (::fstat(::fileno(stream), &status) != 0) return std::nullopt;
  return static_cast<std::uintmax_t>(status.st_size);
}

bool SeekStream(std::FILE* stream, std::uintmax_t offset) {
  return ::fseeko(stream, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::intptr_t OpenLockFile(const std::string& hostPath) {
  if (!NothingOrRegularFile(hostPath)) return -1;
  // Read access suffices for flock, so every account that may read the file can lock it.
  const int fd =
      ::open(hostPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return -1;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool TryLock(std::intptr_t lockFile) {
  return ::flock(Descriptor(lockFile), LOCK_EX | LOCK_NB) == 0;
}

// Closing the descriptor lets the lock go.
void CloseLockFile(std::intptr_t lockFile) { ::close(Descriptor(lockFile)); }

bool IsWritableFolder(const std::string& hostPath) {
  struct stat status {};
  return ::stat(hostPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         ::access(hostPath.c_str(), W_OK | X_OK) == 0;
}

std::string SharedTemporaryFolderSuffix() { return "-" + std::to_string(::geteuid()); }

std::uint64_t ProcessId() { return static_cast<std::uint64_t>(::getpid()); }

void IgnoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

void CloseFolder(std::intptr_t folder) { ::close(Descriptor(folder)); }

}  // namespace os

std::string TemporaryFolder() {
  return TemporaryFolderFrom(std::getenv("TMPDIR"), CurrentDirectory());
}

Folder Folder::Open(const std::string& hostPath) {
  return Folder(::open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), hostPath);
}

Folder Folder::OpenPrivateFolder(std::string_view name) const {
  const std::string child(name);
  ::mkdirat(Descriptor(handle_), child.c_str(), S_IRWXU);  // or something stands there already
  const int fd = OpenFolderAt(Descriptor(handle_), child.c_str());
  struct stat status {};
  if (fd >= 0 && ::fstat(fd, &status) == 0 && IsPrivateFolder(status)) {
    return Folder(fd, path_ + "/" + child);
  }
  if (fd >= 0) ::close(fd);
  return Folder();
}

Folder Folder::MakeUniqueFolder(std::string_view prefix) const {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = UniqueFolderName(prefix);
    if (::mkdirat(Descriptor(handle_), name.c_str(), S_IRWXU) != 0) {
      if (errno == EEXIST) continue;
      return Folder();
    }
    const int fd = OpenFolderAt(Descriptor(handle_), name.c_str());
    struct stat status {};
    if (fd >= 0 && ::fstat(fd, &status) == 0 && IsPrivateFolder(status)) {
      return Folder(fd, path_ + "/" + name, name);
    }
    if (fd >= 0) ::close(fd);
    return Folder();
  }
  return Folder();
}

bool Folder::Enter() const {
  struct stat status {};
  // A removed folder still opens as the current directory, but holds nothing and takes no
  // file: the library would find no SapRfc.ini there and leave no trace.
  return handle_ != kNoHandle && ::fstat(Descriptor(handle_), &status) == 0 &&
         status.st_nlink > 0 && ::fchdir(Descriptor(handle_)) == 0;
}

std::unique_ptr<File> Folder::OpenFile(std::string_view name, FileMode) const {
  const std::string file(name);
  std::FILE* stream = RegularFileStream(
      ::openat(Descriptor(handle_), file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC),
      "r");
  if (stream == nullptr) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

std::unique_ptr<File> Folder::WriteFile(std::string_view name, FileMode) const {
  const std::string file(name);
  std::FILE* stream =
      RegularFileStream(::openat(Descriptor(handle_), file.c_str(),
                                 O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                                 S_IRUSR | S_IWUSR),
                        "w");
  if (stream == nullptr) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

void Folder::RemoveFolder(std::string_view name) const {
  if (handle_ != kNoHandle) RemoveAt(Descriptor(handle_), std::string(name));
}

void Folder::RemoveStaleFolders(std::string_view prefix, std::chrono::seconds age) const {
  if (handle_ == kNoHandle) return;
  const int parent = Descriptor(handle_);
  using Clock = std::chrono::system_clock;
  const Clock::time_point before = Clock::now() - age;
  for (const std::string& name : NamesIn(parent)) {
    if (!IsUniqueFolderName(name, prefix)) continue;
    // Checked through what was opened: a link swapped in after the listing does not open.
    const int folder = OpenFolderAt(parent, name.c_str());
    if (folder < 0) continue;
    struct stat status {};
    if (::fstat(folder, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
        ChangedAt(status) < before) {
      RemoveContents(folder);
      ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
    }
    ::close(folder);
  }
}

}  // namespace platform
