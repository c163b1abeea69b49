// Folders of the run's own under the system's temporary folder.
#include "src/platform/folder.h"

#include <cctype>
#include <filesystem>
#include <random>

#include "src/platform/utf8_path.h"

namespace platform {
namespace {

// Where the C library and std::filesystem go when TMPDIR names nothing usable.
constexpr std::string_view kPosixTemporaryFolder = "/tmp";
// The random part of a unique folder's name: 64 bits in hexadecimal.
constexpr std::size_t kRandomDigits = 16;

bool AllOf(std::string_view text, int (*is)(int)) {
  for (char c : text) {
    if (!is(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

std::string TemporaryFolderFrom(const char* tmpdir, std::string_view currentDirectory) {
  if (tmpdir == nullptr || *tmpdir == '\0') return std::string(kPosixTemporaryFolder);
  std::string folder = tmpdir;
  // Made absolute here, once: the run later works in other directories.
  if (folder.front() != '/') folder = std::string(currentDirectory) + "/" + folder;
  return os::IsWritableFolder(folder) ? folder : std::string(kPosixTemporaryFolder);
}

std::string UniqueFolderName(std::string_view prefix) {
  static std::random_device random;
  const std::uint64_t number = (std::uint64_t{random()} << 32) ^ random();
  std::string digits(kRandomDigits, '0');
  for (std::size_t i = 0; i < kRandomDigits; ++i) {
    digits[kRandomDigits - 1 - i] = "0123456789abcdef"[(number >> (4 * i)) & 0xf];
  }
  return std::string(prefix) + std::to_string(os::ProcessId()) + "-" + digits;
}

bool IsUniqueFolderName(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return false;
  name.remove_prefix(prefix.size());
  const std::size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos) return false;
  const std::string_view process = name.substr(0, dash);
  const std::string_view random = name.substr(dash + 1);
  // Earlier versions named them with a decimal random number, a hexadecimal number's digits.
  return AllOf(process, std::isdigit) && !random.empty() && random.size() <= kRandomDigits &&
         AllOf(random, std::isxdigit);
}

Folder::Folder(Folder&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)), name_(std::move(other.name_)) {
  other.handle_ = kNoHandle;
}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (handle_ != kNoHandle) os::CloseFolder(handle_);
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    name_ = std::move(other.name_);
    other.handle_ = kNoHandle;
  }
  return *this;
}

Folder::~Folder() {
  if (handle_ != kNoHandle) os::CloseFolder(handle_);
}

void IgnoreBrokenPipe() { os::IgnoreBrokenPipe(); }

}  // namespace platform
