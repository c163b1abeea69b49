// A scratch tree of drives for end-to-end tests: files are laid out by their Windows paths, and
// the programs run with a Windows current directory on those drives.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/process.h"

namespace testsupport {

class Drives {
 public:
  Drives();

  // Where the Windows path "X:\a\b" lies on the host.
  std::string HostPath(std::string_view windowsPath) const;

  // Writes a file (creating its folders) or a folder, by its Windows path.
  void Write(std::string_view windowsPath, std::string_view bytes) const;
  void MakeDirectory(std::string_view windowsPath) const;
  std::optional<std::string> Read(std::string_view windowsPath) const;

  // Runs one of the built programs, by name, in `currentDirectory` (created when missing).
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments,
                    std::string_view currentDirectory = "C:\\work",
                    const std::string& input = "") const;

  // Set in the environment of every program run from here on (e.g. the library's timeout).
  void SetEnvironment(const std::string& name, const std::string& value) {
    env_.emplace_back(name, value);
  }

  ProcessResult RunSensor(const std::vector<std::string>& arguments,
                          std::string_view currentDirectory = "C:\\work") const {
    return Run("sapsysinfo", arguments, currentDirectory);
  }

 private:
  ScratchDirectory root_{"drives"};
  std::vector<std::pair<std::string, std::string>> env_;
};

}  // namespace testsupport
