// The current directory, in which the RFC library reads and writes its files, and host paths
// in a folder.
#include "src/platform/current_directory.h"

#include <filesystem>

#include "src/platform/utf8_path.h"

namespace platform {

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path cwd = std::filesystem::current_path(error);
  return error ? std::string(".") : Utf8FromPath(cwd);
}

bool ChangeDirectory(const std::string& hostPath) {
  std::error_code error;
  std::filesystem::current_path(PathFromUtf8(hostPath), error);
  return !error;
}

std::string InFolder(std::string_view folder, std::string_view name) {
  return Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(name));
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& hostPath) {
  // A current directory that cannot be named could not be returned to.
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return;
  previous_ = Utf8FromPath(current);
  entered_ = ChangeDirectory(hostPath);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  if (entered_) static_cast<void>(ChangeDirectory(previous_));  // nothing else to be done
}

}  // namespace platform
