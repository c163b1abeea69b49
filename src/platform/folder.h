// Folders of the run's own under the system's temporary folder, and the current directory,
// in which the RFC library reads and writes its files.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The current directory, as a path of the host.
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& hostPath);
// The path of `name` in a folder given as a path of the host.
std::string InFolder(std::string_view folder, std::string_view name);

// The system's temporary folder, as a path of the host.
std::string TemporaryFolder();
// A folder of the program's own in the system's temporary folder, named `name` (where every
// user shares the temporary folder, with the user's number after it), that only its owner may
// use: made when it is missing. Nothing when it cannot be made, or when what stands there is no
// such folder of this user's (another user could read what runs put into it).
std::optional<std::string> PrivateTemporaryFolder(std::string_view name);
// A new folder in `parent`, named after this process and a random number, that only its owner
// may use; nothing when none can be made.
std::optional<std::string> CreatePrivateFolder(const std::string& parent);
// Removes a folder and everything in it; what cannot be removed stays.
void RemoveFolder(const std::string& hostPath);
// Removes the folders in `parent` that nothing has changed for longer than `age`.
void RemoveStaleFolders(const std::string& parent, std::chrono::seconds age);

// A write to a pipe whose reader is gone fails like any other write, instead of ending the
// process unseen.
void IgnoreBrokenPipe();

namespace os {
bool MakePrivateDirectory(const std::string& hostPath);
// A directory itself (no link), owned by this user, that nobody else may use.
bool IsPrivateDirectory(const std::string& hostPath);
// "-" and the user's number where every user shares the temporary folder; else nothing.
std::string SharedTemporaryFolderSuffix();
std::uint64_t ProcessId();
void IgnoreBrokenPipe();
}  // namespace os

}  // namespace platform
