// Folders of the run's own under the system's temporary folder, and the current directory,
// in which the RFC library reads and writes its files.
#include "src/platform/folder.h"

#include <filesystem>
#include <random>

namespace platform {

namespace fs = std::filesystem;

std::string CurrentDirectory() {
  std::error_code error;
  std::string cwd = fs::current_path(error).string();
  return error ? std::string(".") : cwd;
}

bool ChangeDirectory(const std::string& hostPath) {
  std::error_code error;
  fs::current_path(hostPath, error);
  return !error;
}

std::string InFolder(std::string_view folder, std::string_view name) {
  return (fs::path(folder) / fs::path(name)).string();
}

std::string TemporaryFolder() {
  std::error_code error;
  return fs::temp_directory_path(error).string();
}

std::optional<std::string> PrivateTemporaryFolder(std::string_view name) {
  std::error_code error;
  const fs::path temporary = fs::temp_directory_path(error);
  if (error) return std::nullopt;
  const std::string path =
      (temporary / (std::string(name) + os::SharedTemporaryFolderSuffix())).string();
  os::MakePrivateDirectory(path);  // or it is there already
  if (!os::IsPrivateDirectory(path)) return std::nullopt;
  return path;
}

std::optional<std::string> CreatePrivateFolder(const std::string& parent) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name =
        std::to_string(os::ProcessId()) + "-" + std::to_string(random() % 1000000000u);
    const std::string path = (fs::path(parent) / name).string();
    if (os::MakePrivateDirectory(path)) return path;
  }
  return std::nullopt;
}

void RemoveFolder(const std::string& hostPath) {
  std::error_code error;
  fs::remove_all(hostPath, error);
}

void RemoveStaleFolders(const std::string& parent, std::chrono::seconds age) {
  std::error_code error;
  const auto before = fs::file_time_type::clock::now() - age;
  for (fs::directory_iterator entry(parent, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_directory(ignored) && entry->last_write_time(ignored) < before) {
      fs::remove_all(entry->path(), ignored);
    }
  }
}

void IgnoreBrokenPipe() { os::IgnoreBrokenPipe(); }

}  // namespace platform
