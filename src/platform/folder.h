// Folders of the run's own under the system's temporary folder, and the current directory,
// in which the RFC library reads and writes its files. The temporary folder is shared with
// every account of the machine: a folder is opened once, checked through what was opened, and
// everything done in it goes through that handle, so that nobody can swap a part of its path
// for a link between a check and a use.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "src/platform/current_directory.h"
#include "src/platform/file.h"

namespace platform {

// The system's temporary folder, as an absolute path of the host: on Windows what the system
// names; elsewhere TMPDIR, taken relative to the current directory when it is relative, or
// /tmp when it is empty or names no folder this account can write into.
std::string TemporaryFolder();
// The same from the value of TMPDIR (nothing: unset) and the current directory, on POSIX.
std::string TemporaryFolderFrom(const char* tmpdir, std::string_view currentDirectory);

// An opened folder. Moving it keeps the handle; it is closed when the value goes.
class Folder {
 public:
  // The folder at a host path, links followed. Empty when no folder can be opened there.
  [[nodiscard]] static Folder Open(const std::string& hostPath);

  Folder() = default;
  Folder(Folder&& other) noexcept;
  Folder& operator=(Folder&& other) noexcept;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder();

  explicit operator bool() const { return handle_ != kNoHandle; }
  // The path it was opened by, to name it in messages; what stands at that path now may be
  // something else.
  const std::string& path() const { return path_; }

  // The folder `name` in this one, made when nothing stands there, when it is a folder itself
  // (no link), this account's own and closed to everybody else. Empty otherwise: another
  // account could read or steer what a run puts there.
  [[nodiscard]] Folder OpenPrivateFolder(std::string_view name) const;
  // A new folder in this one, closed to everybody else, made in one step under a name nobody
  // can foresee: `prefix`, this process's number, "-" and a random number. Empty when none
  // can be made.
  [[nodiscard]] Folder MakeUniqueFolder(std::string_view prefix) const;
  // The name of the folder in its parent, for one made by MakeUniqueFolder; else empty.
  const std::string& name() const { return name_; }

  // Makes this folder the current directory. Fails when it cannot, also when the folder has
  // been removed since it was opened.
  [[nodiscard]] bool Enter() const;

  // A regular file in this folder, never through a link, and never waiting for a writer at
  // the other end of a FIFO: nothing for anything else.
  [[nodiscard]] std::unique_ptr<File> OpenFile(std::string_view name,
                                               FileMode mode = FileMode::Text) const;
  // Creates the file in this folder, or empties the regular file there, readable and writable
  // by its owner only; never through a link.
  [[nodiscard]] std::unique_ptr<File> WriteFile(std::string_view name,
                                                FileMode mode = FileMode::Text) const;

  // Removes the folder `name` in this one and everything in it. A link is removed itself,
  // never followed; what cannot be removed stays.
  void RemoveFolder(std::string_view name) const;
  // Removes the folders in this one that MakeUniqueFolder(prefix) made, this account's own,
  // real folders (no links), in which nothing has changed for longer than `age`.
  void RemoveStaleFolders(std::string_view prefix, std::chrono::seconds age) const;

  // What stands for "no handle" on every host: -1 (INVALID_HANDLE_VALUE on Windows).
  static constexpr std::intptr_t kNoHandle = -1;

 private:
  Folder(std::intptr_t handle, std::string path, std::string name = {})
      : handle_(handle), path_(std::move(path)), name_(std::move(name)) {}

  std::intptr_t handle_ = kNoHandle;  // a file descriptor, or a Windows HANDLE
  std::string path_;
  std::string name_;
};

// A name for MakeUniqueFolder(prefix), and whether a name is one of those.
std::string UniqueFolderName(std::string_view prefix);
bool IsUniqueFolderName(std::string_view name, std::string_view prefix);

// A write to a pipe whose reader is gone fails like any other write, instead of ending the
// process unseen.
void IgnoreBrokenPipe();

namespace os {
// "-" and the user's number where every user shares the temporary folder; else nothing.
std::string SharedTemporaryFolderSuffix();
std::uint64_t ProcessId();
void IgnoreBrokenPipe();
void CloseFolder(std::intptr_t folder);
// Whether a folder stands at the host path in which this account may make files.
bool IsWritableFolder(const std::string& hostPath);
}  // namespace os

}  // namespace platform
