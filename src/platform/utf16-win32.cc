// Texts between UTF-8 and UTF-16 on Windows.
#include "src/platform/utf16-win32.h"

#include <windows.h>

namespace platform {
namespace {

constexpr UINT kWindows1252 = 1252;

std::wstring Convert(UINT codePage, DWORD flags, std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::wstring Utf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  std::wstring wide = Convert(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
  return wide.empty() ? Convert(kWindows1252, 0, utf8) : wide;
}

std::string Utf8(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace platform
