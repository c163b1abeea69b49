// A scratch folder of the fuzz target's process, for the readers that take a file.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fuzz {

// A folder of this process's own, on a memory file system where there is one.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    std::filesystem::path path = base / ("sapsysinfo-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// Writes the bytes to a file of the scratch folder (its folders made) and returns its path.
inline std::string ScratchFile(const std::filesystem::path& relative, std::string_view bytes) {
  const std::filesystem::path path = ScratchFolder() / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace fuzz
