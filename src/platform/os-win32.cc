// What only the operating system can do for files and folders: Windows.
#include <windows.h>
// These build on windows.h.
#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#include <sys/stat.h>

#include "src/platform/file.h"
#include "src/platform/folder.h"

namespace platform::os {

std::FILE* OpenRegularFileForReading(const std::string& hostPath, FileMode mode) {
  std::FILE* stream = std::fopen(hostPath.c_str(), mode == FileMode::Binary ? "rb" : "r");
  if (stream == nullptr) return nullptr;
  // CON, NUL, COM1 and named pipes open like files; only a file on a disk is one.
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(stream);
    return nullptr;
  }
  return stream;
}

std::FILE* CreateNewFile(const std::string& hostPath) {
  const int fd =
      _open(hostPath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* stream = _fdopen(fd, "w");
  if (stream == nullptr) _close(fd);
  return stream;
}

bool AppendInOneWrite(const std::string& hostPath, std::string_view bytes) {
  // Append access alone lets the system put every write at the end as one piece; the C
  // runtime's append mode would seek first and write after, with another writer between.
  const HANDLE file = CreateFileA(hostPath.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const BOOL closed = CloseHandle(file);
  return wrote && closed && written == bytes.size();
}

bool PathExists(const std::string& hostPath) {
  // The attributes of a symbolic link are its own, whether or not it points anywhere.
  return GetFileAttributesA(hostPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakePrivateDirectory(const std::string& hostPath) {
  // Full access for the folder's owner, nothing inherited, nobody else.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;OICI;FA;;;OW)", SDDL_REVISION_1,
                                                           &descriptor, nullptr)) {
    attributes.lpSecurityDescriptor = descriptor;
  }
  const BOOL made = CreateDirectoryA(hostPath.c_str(), &attributes);
  if (descriptor != nullptr) LocalFree(descriptor);
  return made != 0;
}

bool IsPrivateDirectory(const std::string& hostPath) {
  // The temporary folder is the user's own; the folder must be one, not a link to elsewhere.
  const DWORD attributes = GetFileAttributesA(hostPath.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

std::string SharedTemporaryFolderSuffix() { return ""; }

std::uint64_t ProcessId() { return GetCurrentProcessId(); }

void IgnoreBrokenPipe() {}

}  // namespace platform::os
