// Shared libraries and the program's own file through LoadLibrary and GetModuleFileName.
#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "src/platform/shared_library.h"

#include "src/platform/folder.h"
#include "src/platform/utf16-win32.h"

namespace platform {
namespace {

// The file a module was loaded from; the program's own for null.
std::string ModuleFile(HMODULE module) {
  std::wstring file(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, file.data(), static_cast<DWORD>(file.size()));
    if (length == 0) return {};
    if (length < file.size()) {
      file.resize(length);
      return Utf8(file);
    }
    file.resize(file.size() * 2);  // cut short: a long path, try again with room for it
  }
}

// The system's text for an error code on one line, its "%1" naming the file, and the code,
// which is what administrators search for.
std::string SystemText(DWORD code, const std::string& file) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length ? Utf8(std::wstring_view(buffer, length)) : std::string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  if (std::size_t insert = text.find("%1"); insert != std::string::npos) {
    text.replace(insert, 2, file);
  }
  return text + (text.empty() ? "" : " ") + "(error " + std::to_string(code) + ")";
}

bool IsAbsolute(std::wstring_view folder) {
  const bool drive =
      folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
  return drive || folder.starts_with(L"\\\\");
}

// The system folder, where only administrators put files.
std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

// The folders of the system's standard search, in its order, but without the current
// directory: the program's folder, the system folders, then the folders of PATH that do not
// depend on the current directory.
std::vector<std::wstring> SearchFolders() {
  std::vector<std::wstring> folders{Utf16(ProgramFolder()), SystemFolder()};
  wchar_t buffer[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    folders.push_back(std::wstring(buffer, length) + L"\\System");
    folders.emplace_back(buffer, length);
  }
  std::wstring path(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
  path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
  for (std::size_t begin = 0; begin <= path.size();) {
    std::size_t end = std::min(path.find(L';', begin), path.size());
    std::wstring folder = path.substr(begin, end - begin);
    std::erase(folder, L'"');
    if (IsAbsolute(folder)) folders.push_back(folder);
    begin = end + 1;
  }
  return folders;
}

std::string FullPath(const std::string& path) {
  const std::wstring wide = Utf16(path);
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  const DWORD length =
      GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  return length > 0 && length < full.size() ? Utf8(std::wstring_view(full.data(), length)) : path;
}

// The file that the standard search meets first for a bare name; empty when there is none.
std::string Locate(const std::string& name) {
  for (std::wstring folder : SearchFolders()) {
    if (folder.empty()) continue;
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    const std::wstring file = folder + Utf16(name);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return Utf8(file);
    }
  }
  return {};
}

}  // namespace

SharedLibrary SharedLibrary::Open(const std::string& pathOrName, LibraryLoadError& error) {
  // A bare name is looked for here and loaded by its full path, so that the current directory
  // never comes into it, whatever the system makes of SetDllDirectoryW(L"") (Wine searches the
  // current directory all the same). The libraries that one brings are the system's to find:
  // on Windows, from now on without the current directory.
  static const bool currentDirectoryLeft = SetDllDirectoryW(L"") != 0;
  (void)currentDirectoryLeft;
  const bool hasFolder = pathOrName.find_first_of("\\/") != std::string::npos;
  // A path is made full here: the loading happens from another folder.
  const std::string file = hasFolder ? FullPath(pathOrName) : Locate(pathOrName);
  if (file.empty()) {
    error.notFound = true;
    error.file.clear();
    error.reason = SystemText(ERROR_MOD_NOT_FOUND, pathOrName);
    return SharedLibrary();
  }
  const std::wstring wide = Utf16(file);
  // No dialog box for a damaged library or a missing drive: the monitor starts the sensor
  // where nobody could click it away, and the run would wait until it is killed.
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  HMODULE module = nullptr;
  DWORD code = ERROR_CURRENT_DIRECTORY;
  {
    // The libraries this one brings are looked for in its own folder first. The current
    // directory is the system folder meanwhile, which the search takes anyway: a relative
    // folder of PATH, or Wine, which searches the current directory all the same, can then
    // find nothing there that an administrator did not put there.
    const ScopedCurrentDirectory systemFolder(Utf8(SystemFolder()));
    if (systemFolder) {
      module = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
      code = GetLastError();
    }
  }
  SetThreadErrorMode(previousMode, nullptr);
  if (module) return SharedLibrary(module);
  error.file = file;
  error.notFound = GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
  error.reason = SystemText(code, file.substr(file.find_last_of("\\/") + 1));
  return SharedLibrary();
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

SharedLibrary::~SharedLibrary() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

SharedLibrary::Symbol SharedLibrary::Find(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<Symbol>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string SharedLibrary::File() const {
  return handle_ ? ModuleFile(static_cast<HMODULE>(handle_)) : std::string();
}

std::string ProgramFile() { return ModuleFile(nullptr); }

std::string ProgramFolder() {
  const std::string file = ProgramFile();
  const std::size_t separator = file.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
}

}  // namespace platform
