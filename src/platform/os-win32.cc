// What only the operating system can do for files and folders: Windows. Paths are UTF-8 in the
// program and go to the wide functions; a folder's handle is held without delete sharing, so
// that nobody can rename, remove or replace it while the run works in it.
#include <windows.h>
// These build on windows.h.
#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#include <sys/stat.h>

#include <vector>

#include "src/platform/file.h"
#include "src/platform/file_lock.h"
#include "src/platform/folder.h"
#include "src/platform/utf16-win32.h"

namespace platform {
namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t Number(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Without FILE_SHARE_DELETE: nobody may rename or remove a folder while it is held.
constexpr DWORD kShareButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kLinkOrFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

// A file on a disk itself: no folder, no link, no device, no pipe.
bool IsDiskFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information{};
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) &&
         (information.dwFileAttributes & kLinkOrFolder) == 0;
}

// The stream of a handle when it is a file on a disk; else the handle is closed.
std::FILE* DiskFileStream(HANDLE file, int flags, FileMode mode, const char* access) {
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  if (!IsDiskFile(file)) {
    CloseHandle(file);
    return nullptr;
  }
  const int fd =
      _open_osfhandle(Number(file), flags | (mode == FileMode::Binary ? _O_BINARY : _O_TEXT));
  if (fd < 0) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, access);
  if (stream == nullptr) _close(fd);
  return stream;
}

// Full access for the folder's owner, nothing inherited, nobody else.
bool CreatePrivateDirectory(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;OICI;FA;;;OW)", SDDL_REVISION_1,
                                                           &descriptor, nullptr)) {
    attributes.lpSecurityDescriptor = descriptor;
  }
  const BOOL made = CreateDirectoryW(path.c_str(), &attributes);
  if (descriptor != nullptr) LocalFree(descriptor);
  return made != 0;
}

// A folder's handle that keeps it where it is; with `link` NoFollow a link is opened itself.
enum class Links { Follow, NoFollow };
HANDLE OpenFolderHandle(const std::wstring& path, Links links) {
  return CreateFileW(
      path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL, kShareButDelete,
      nullptr, OPEN_EXISTING,
      FILE_FLAG_BACKUP_SEMANTICS | (links == Links::NoFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
      nullptr);
}

bool IsFolderItself(HANDLE folder) {
  BY_HANDLE_FILE_INFORMATION information{};
  return GetFileInformationByHandle(folder, &information) &&
         (information.dwFileAttributes & kLinkOrFolder) == FILE_ATTRIBUTE_DIRECTORY;
}

// Whether the account owns what the handle names: as its user, or as the default owner of
// what it makes (the Administrators group, for an administrator).
bool OwnedByThisAccount(HANDLE handle) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool own = false;
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    for (const TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
      DWORD size = 0;
      GetTokenInformation(token, kind, nullptr, 0, &size);
      std::vector<BYTE> buffer(size);
      if (size == 0 || !GetTokenInformation(token, kind, buffer.data(), size, &size)) continue;
      const PSID sid = kind == TokenUser ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid
                                         : reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner;
      own = own || EqualSid(owner, sid);
    }
    CloseHandle(token);
  }
  LocalFree(descriptor);
  return own;
}

std::wstring WideInFolder(const std::string& folder, std::string_view name) {
  std::wstring path = Utf16(folder);
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + Utf16(name);
}

// Removes a file, a link or a folder with everything in it; a link is removed itself, never
// followed.
void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    if (attributes & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    return;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") RemoveTree(path + L"\\" + entry.cFileName);
      } while (FindNextFileW(find, &entry));
      FindClose(find);
    }
  }
  RemoveDirectoryW(path.c_str());
}

ULONGLONG Ticks(const FILETIME& time) {
  return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

namespace os {

std::FILE* OpenRegularFileForReading(const std::string& hostPath, FileMode mode) {
  // CON, NUL, COM1 and named pipes open like files; only a file on a disk is one.
  const HANDLE file = CreateFileW(Utf16(hostPath).c_str(), GENERIC_READ, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return DiskFileStream(file, _O_RDONLY, mode, mode == FileMode::Binary ? "rb" : "r");
}

std::FILE* OpenFileForWriting(const std::string& hostPath, FileMode mode) {
  return _wfopen(Utf16(hostPath).c_str(), mode == FileMode::Binary ? L"wb" : L"w");
}

std::FILE* CreateNewFile(const std::string& hostPath) {
  const int fd = _wopen(Utf16(hostPath).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT,
                        _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* stream = _fdopen(fd, "w");
  if (stream == nullptr) _close(fd);
  return stream;
}

bool AppendInOneWrite(const std::string& hostPath, std::string_view bytes) {
  // Append access alone lets the system put every write at the end as one piece; the C
  // runtime's append mode would seek first and write after, with another writer between.
  const HANDLE file = CreateFileW(Utf16(hostPath).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                  kShareAll, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (!IsDiskFile(file)) {
    CloseHandle(file);
    return false;
  }
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const BOOL closed = CloseHandle(file);
  return wrote && closed && written == bytes.size();
}

bool PathExists(const std::string& hostPath) {
  // The attributes of a symbolic link are its own, whether or not it points anywhere.
  return GetFileAttributesW(Utf16(hostPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFile(const std::string& hostPath) { DeleteFileW(Utf16(hostPath).c_str()); }

std::optional<std::uintmax_t> RegularFileSize(const std::string& hostPath) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Utf16(hostPath).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & kLinkOrFolder) != 0) {
    return std::nullopt;
  }
  return (std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

std::optional<std::uintmax_t> StreamSize(std::FILE* stream) {
  const __int64 size = _filelengthi64(_fileno(stream));
  if (size < 0) return std::nullopt;
  return static_cast<std::uintmax_t>(size);
}

bool SeekStream(std::FILE* stream, std::uintmax_t offset) {
  return _fseeki64(stream, static_cast<__int64>(offset), SEEK_SET) == 0;
}

std::intptr_t OpenLockFile(const std::string& hostPath) {
  // Read access suffices for LockFileEx, so every account that may read the file can lock it.
  const HANDLE file =
      CreateFileW(Utf16(hostPath).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  if (!IsDiskFile(file)) {
    CloseHandle(file);
    return -1;
  }
  return Number(file);
}

bool TryLock(std::intptr_t lockFile) {
  OVERLAPPED start{};
  return LockFileEx(Handle(lockFile), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &start) != 0;
}

void CloseLockFile(std::intptr_t lockFile) {
  OVERLAPPED start{};
  UnlockFileEx(Handle(lockFile), 0, 1, 0, &start);
  CloseHandle(Handle(lockFile));
}

bool IsWritableFolder(const std::string& hostPath) {
  const DWORD attributes = GetFileAttributesW(Utf16(hostPath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string SharedTemporaryFolderSuffix() { return ""; }

std::uint64_t ProcessId() { return GetCurrentProcessId(); }

void IgnoreBrokenPipe() {}

void CloseFolder(std::intptr_t folder) { CloseHandle(Handle(folder)); }

}  // namespace os

std::string TemporaryFolder() {
  // The system's choice (TMP, TEMP, the user's profile, the Windows folder), made absolute.
  std::wstring folder(MAX_PATH + 1, L'\0');
  folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
  std::wstring full(MAX_PATH + 1, L'\0');
  const DWORD length =
      GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length > 0 && length < full.size()) folder.assign(full.data(), length);
  // Without its last backslash, as a folder is named in messages; a drive's root keeps it.
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return Utf8(folder);
}

Folder Folder::Open(const std::string& hostPath) {
  const HANDLE folder = OpenFolderHandle(Utf16(hostPath), Links::Follow);
  if (folder == INVALID_HANDLE_VALUE) return Folder();
  return Folder(Number(folder), hostPath);
}

Folder Folder::OpenPrivateFolder(std::string_view name) const {
  const std::wstring path = WideInFolder(path_, name);
  CreatePrivateDirectory(path);  // or something stands there already
  const HANDLE folder = OpenFolderHandle(path, Links::NoFollow);
  if (folder == INVALID_HANDLE_VALUE) return Folder();
  // The temporary folder is the user's own on Windows; what is checked is that it is a folder
  // itself, not a link to elsewhere, and the account's.
  if (!IsFolderItself(folder) || !OwnedByThisAccount(folder)) {
    CloseHandle(folder);
    return Folder();
  }
  return Folder(Number(folder), Utf8(path));
}

Folder Folder::MakeUniqueFolder(std::string_view prefix) const {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = UniqueFolderName(prefix);
    const std::wstring path = WideInFolder(path_, name);
    if (!CreatePrivateDirectory(path)) {
      if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return Folder();
    }
    const HANDLE folder = OpenFolderHandle(path, Links::NoFollow);
    if (folder == INVALID_HANDLE_VALUE) return Folder();
    if (!IsFolderItself(folder)) {
      CloseHandle(folder);
      return Folder();
    }
    return Folder(Number(folder), Utf8(path), name);
  }
  return Folder();
}

bool Folder::Enter() const {
  // The handle, held without delete sharing, keeps the folder at its path.
  return handle_ != kNoHandle && SetCurrentDirectoryW(Utf16(path_).c_str()) != 0;
}

std::unique_ptr<File> Folder::OpenFile(std::string_view name, FileMode mode) const {
  const HANDLE file = CreateFileW(WideInFolder(path_, name).c_str(), GENERIC_READ, kShareAll,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  std::FILE* stream = DiskFileStream(file, _O_RDONLY, mode, mode == FileMode::Binary ? "rb" : "r");
  if (stream == nullptr) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

std::unique_ptr<File> Folder::WriteFile(std::string_view name, FileMode mode) const {
  // The file takes the folder's own protection: its owner only.
  const HANDLE file = CreateFileW(
      WideInFolder(path_, name).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  std::FILE* stream = DiskFileStream(file, _O_WRONLY, mode, mode == FileMode::Binary ? "wb" : "w");
  if (stream == nullptr) return nullptr;
  return std::unique_ptr<File>(new File(stream));
}

void Folder::RemoveFolder(std::string_view name) const {
  if (handle_ != kNoHandle) RemoveTree(WideInFolder(path_, name));
}

void Folder::RemoveStaleFolders(std::string_view prefix, std::chrono::seconds age) const {
  if (handle_ == kNoHandle) return;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  // File times count 100 nanoseconds.
  const ULONGLONG before = Ticks(now) - static_cast<ULONGLONG>(age.count()) * 10'000'000;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((Utf16(path_) + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Utf8(entry.cFileName);
    if (!IsUniqueFolderName(name, prefix) ||
        (entry.dwFileAttributes & kLinkOrFolder) != FILE_ATTRIBUTE_DIRECTORY ||
        Ticks(entry.ftLastWriteTime) >= before) {
      continue;
    }
    const std::wstring path = WideInFolder(path_, name);
    const HANDLE folder = OpenFolderHandle(path, Links::NoFollow);
    if (folder == INVALID_HANDLE_VALUE) continue;
    const bool own = IsFolderItself(folder) && OwnedByThisAccount(folder);
    CloseHandle(folder);
    if (own) RemoveTree(path);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

}  // namespace platform
