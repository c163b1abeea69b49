// Every file the programs touch goes through here: paths arrive in Windows form and are
// mapped onto the host's file system, so the rest of the code never asks where it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Where a Windows path lies on a POSIX host. `drives` is the directory holding one folder per
// drive letter (empty: every drive is "/"), `cwd` the current directory on the host.
std::string MapWindowsPath(std::string_view windowsPath, std::string_view drives,
                           std::string_view cwd);

// The host path of a Windows path: unchanged on Windows, mapped through SAPSYSINFO_DRIVES
// elsewhere.
std::string HostPath(std::string_view windowsPath);

// The other way: the Windows path of a host path below `drives` ("X:\a\b"), made plain ("."
// and ".." resolved); a path outside them, or any path when `drives` is empty, stays the host's.
std::string WindowsPathOfHostPath(std::string_view hostPath, std::string_view drives);

// The full path of a file, as the user would look for it: on Windows the absolute path;
// elsewhere its Windows path below SAPSYSINFO_DRIVES, or the host's absolute path.
std::string FullPath(std::string_view windowsPath);

enum class FileMode { Text, Binary };

// An open file. Close() tells whether everything written reached the file; a file that goes
// out of scope unclosed is closed without that answer, which is fine only for reading.
class File {
 public:
  // Opens a regular file only: a directory, a FIFO or a device counts as missing, and the
  // opening never waits for a writer at the other end.
  static std::unique_ptr<File> OpenForReading(std::string_view windowsPath,
                                              FileMode mode = FileMode::Text);
  // Creates the file or empties an existing one.
  static std::unique_ptr<File> OpenForWriting(std::string_view windowsPath,
                                              FileMode mode = FileMode::Text);
  // Creates a file that is not there yet, readable and writable by its owner only; nothing
  // when anything stands at the path, a symbolic link (also a dangling one) included, so that
  // it never writes through a link.
  static std::unique_ptr<File> CreateNew(std::string_view windowsPath);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Reads the next piece of a line as fgets does with a buffer of `limit` + 1 bytes: at most
  // `limit` characters, the line feed counting, so a longer line arrives in pieces. Returns
  // nothing at the end of the file. The line end stays on the piece.
  std::optional<std::string> ReadPiece(std::size_t limit);
  // At most `size` bytes; fewer only at the end of the file.
  std::string ReadBytes(std::size_t size);
  // The file's size; nothing when the system does not tell.
  std::optional<std::uintmax_t> Size() const;
  // Reads on from that many bytes after the file's start.
  [[nodiscard]] bool Seek(std::uintmax_t offset);
  [[nodiscard]] bool Write(std::string_view bytes);
  // Closes the file; false when a write failed or the data could not be flushed. A second call
  // returns the first one's answer.
  [[nodiscard]] bool Close();

 private:
  friend class Folder;  // opens files relative to a folder it holds
  explicit File(std::FILE* stream) : stream_(stream) {}
  std::FILE* stream_;
  bool failed_ = false;
};

// One line with its end removed: one trailing LF, then one trailing CR.
std::string StripLineEnd(std::string line);

[[nodiscard]] bool FileExists(std::string_view windowsPath);
// Whether the folder at a host path holds a file whose name matches `pattern`, where '*' stands
// for any characters (letter case ignored on Windows, whose file names ignore it).
[[nodiscard]] bool HostFolderHolds(const std::string& hostFolder, std::string_view pattern);

// Whether anything stands at the path: a file, a folder, a symbolic link (dangling or not).
[[nodiscard]] bool PathExists(std::string_view windowsPath);
// A missing file is no error. A symbolic link is removed itself, not what it points to.
void RemoveFile(std::string_view windowsPath);
// The size of the regular file at the path (a link is not followed); nothing for anything else.
[[nodiscard]] std::optional<std::uintmax_t> FileSize(std::string_view windowsPath);
// Renames a file, replacing what has the new name.
[[nodiscard]] bool RenameFile(std::string_view from, std::string_view to);
// Appends the bytes in one write, creating the file when it is missing: processes that append
// to the same file at the same time never mix their bytes. Only a regular file is written: a
// link is not followed, and a FIFO or a device is left alone at once, never waited for.
[[nodiscard]] bool AppendToFile(std::string_view windowsPath, std::string_view bytes);

// What only the operating system can do for these: implemented once per host.
namespace os {
std::FILE* OpenRegularFileForReading(const std::string& hostPath, FileMode mode);
std::FILE* OpenFileForWriting(const std::string& hostPath, FileMode mode);
std::FILE* CreateNewFile(const std::string& hostPath);
bool AppendInOneWrite(const std::string& hostPath, std::string_view bytes);
bool PathExists(const std::string& hostPath);
void RemoveFile(const std::string& hostPath);
std::optional<std::uintmax_t> RegularFileSize(const std::string& hostPath);
std::optional<std::uintmax_t> StreamSize(std::FILE* stream);
bool SeekStream(std::FILE* stream, std::uintmax_t offset);
}  // namespace os

}  // namespace platform
