// Host paths between UTF-8 texts and std::filesystem.
#include "src/platform/utf8_path.h"

#ifdef _WIN32
#include "src/platform/utf16-win32.h"
#endif

namespace platform {

std::filesystem::path PathFromUtf8(std::string_view hostPath) {
#ifdef _WIN32
  return std::filesystem::path(Utf16(hostPath));
#else
  return std::filesystem::path(std::string(hostPath));
#endif
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace platform
