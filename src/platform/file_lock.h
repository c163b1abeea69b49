// An exclusive lock that processes share through a lock file, for a file that several runs
// change in more than one step (the shared trace: a rename, then an append).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class FileLock {
 public:
  // Takes the lock of the lock file at the path, created when missing. Waits at most
  // `patience` for another holder to let go: a holder that is stuck never holds the caller up
  // for longer. Empty when the lock is not had, and at once when the path holds anything but a
  // regular file (a link is not followed, a FIFO never waited for).
  [[nodiscard]] static FileLock Take(std::string_view windowsPath,
                                     std::chrono::milliseconds patience);

  FileLock() = default;
  FileLock(FileLock&& other) noexcept : handle_(other.handle_) { other.handle_ = kNoHandle; }
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  // Lets the lock go.
  ~FileLock();

  explicit operator bool() const { return handle_ != kNoHandle; }

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  explicit FileLock(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = kNoHandle;
};

namespace os {
// The open lock file; -1 when it cannot be opened or is no regular file.
std::intptr_t OpenLockFile(const std::string& hostPath);
// Takes the lock when nobody holds it, without waiting.
bool TryLock(std::intptr_t lockFile);
// Lets the lock go and closes the file.
void CloseLockFile(std::intptr_t lockFile);
}  // namespace os

}  // namespace platform
