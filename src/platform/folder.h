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
// A new folder under the system's temporary folder, named `prefix` and a part unique to this
// process, that only its owner may use; nothing when none can be made.
std::optional<std::string> CreatePrivateFolder(std::string_view prefix);
// Removes a folder and everything in it; what cannot be removed stays.
void RemoveFolder(const std::string& hostPath);
// Removes the folders under the temporary folder whose name begins with `prefix` and that
// nothing has changed for longer than `age`.
void RemoveStaleFolders(std::string_view prefix, std::chrono::seconds age);

// A write to a pipe whose reader is gone fails like any other write, instead of ending the
// process unseen.
void IgnoreBrokenPipe();

namespace os {
bool MakePrivateDirectory(const std::string& hostPath);
std::uint64_t ProcessId();
void IgnoreBrokenPipe();
}  // namespace os

}  // namespace platform
