// What only the operating system can do for files and folders: POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "src/platform/file.h"
#include "src/platform/folder.h"

namespace platform::os {

std::FILE* OpenRegularFileForReading(const std::string& hostPath, FileMode) {
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer.
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* stream = ::fdopen(fd, "r");
  if (stream == nullptr) ::close(fd);
  return stream;
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
  const int fd = ::open(hostPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // O_APPEND moves to the end and writes in one step, so appenders never overwrite each other.
  const ssize_t written = ::write(fd, bytes.data(), bytes.size());
  const bool closed = ::close(fd) == 0;
  return written == static_cast<ssize_t>(bytes.size()) && closed;
}

bool PathExists(const std::string& hostPath) {
  struct stat status {};
  return ::lstat(hostPath.c_str(), &status) == 0;
}

bool MakePrivateDirectory(const std::string& hostPath) {
  return ::mkdir(hostPath.c_str(), S_IRWXU) == 0;
}

bool IsPrivateDirectory(const std::string& hostPath) {
  struct stat status {};
  return ::lstat(hostPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string SharedTemporaryFolderSuffix() { return "-" + std::to_string(::geteuid()); }

std::uint64_t ProcessId() { return static_cast<std::uint64_t>(::getpid()); }

void IgnoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace platform::os
