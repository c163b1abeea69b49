// An exclusive lock shared through a lock file.
#include "src/platform/file_lock.h"

#include <algorithm>
#include <thread>

#include "src/platform/file.h"

namespace platform {
namespace {

// Holders keep the lock for a rename and a write: a few milliseconds. The waits between tries
// grow up to this.
constexpr std::chrono::milliseconds kLongestPause{16};

}  // namespace

FileLock FileLock::Take(std::string_view windowsPath, std::chrono::milliseconds patience) {
  const std::intptr_t lockFile = os::OpenLockFile(HostPath(windowsPath));
  if (lockFile == kNoHandle) return FileLock();
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (std::chrono::milliseconds pause{1};; pause = std::min(pause * 2, kLongestPause)) {
    if (os::TryLock(lockFile)) return FileLock(lockFile);
    if (std::chrono::steady_clock::now() + pause > deadline) break;
    std::this_thread::sleep_for(pause);
  }
  os::CloseLockFile(lockFile);
  return FileLock();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (handle_ != kNoHandle) os::CloseLockFile(handle_);
    handle_ = other.handle_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

FileLock::~FileLock() {
  if (handle_ != kNoHandle) os::CloseLockFile(handle_);
}

}  // namespace platform
