// The current directory, in which the RFC library reads and writes its files, and host paths
// in a folder.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The current directory, as a path of the host.
std::string CurrentDirectory();
[[nodiscard]] bool ChangeDirectory(const std::string& hostPath);
// The path of `name` in a folder given as a path of the host.
std::string InFolder(std::string_view folder, std::string_view name);

// While it lives, a folder is the current directory; when it goes, the previous one is again.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& hostPath);
  ~ScopedCurrentDirectory();
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

  // Whether the folder could be made the current directory (not when the current one cannot be
  // named, for it could not be returned to).
  explicit operator bool() const { return entered_; }

 private:
  std::string previous_;
  bool entered_ = false;
};

}  // namespace platform
