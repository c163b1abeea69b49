// Shared libraries and the program's own file through dlopen and /proc.
#include <dlfcn.h>
#include <link.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "src/platform/shared_library.h"

#include "src/platform/current_directory.h"

namespace platform {
namespace {

// One of the loader's trusted folders, there on every system with the C library.
constexpr const char* kSystemLibraryFolder = "/usr/lib";

}  // namespace

SharedLibrary SharedLibrary::Open(const std::string& pathOrName, LibraryLoadError& error) {
  const bool hasFolder = pathOrName.find('/') != std::string::npos;
  // The loader is given a full path: it looks for the library from another folder.
  const std::string path = hasFolder && pathOrName.front() != '/'
                               ? InFolder(CurrentDirectory(), pathOrName)
                               : pathOrName;
  void* handle = nullptr;
  {
    // The loader read LD_LIBRARY_PATH when the program started, and takes an empty or relative
    // entry of it (or of a library's run path) as relative to the current directory, for this
    // library and for every one it needs by name. So it searches from the system's own library
    // folder, which it searches anyway and where only the administrator puts files.
    const ScopedCurrentDirectory systemFolder(kSystemLibraryFolder);
    if (!systemFolder) {
      error = {"the search cannot start from " + std::string(kSystemLibraryFolder), false,
               hasFolder ? path : std::string()};
      return SharedLibrary();
    }
    // Every symbol bound now: a library that lacks something it needs fails here, with the
    // loader's reason, and not in the middle of a call.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (handle) return SharedLibrary(handle);
  const char* reason = dlerror();
  error.reason = reason ? reason : "unknown error";
  // The loader puts the name it was given in front of its reason; the caller names the file.
  const bool aboutThisName = error.reason.starts_with(path + ": ");
  if (aboutThisName) error.reason.erase(0, path.size() + 2);
  if (hasFolder) {
    std::error_code ignored;
    error.notFound = !std::filesystem::exists(path, ignored);
    error.file = path;
  } else {
    // A library it depends on that is missing is named instead, and a file of the wrong kind
    // that the search passed over gives that fault instead of the one for a missing file.
    error.notFound = aboutThisName && error.reason.ends_with(std::strerror(ENOENT));
    error.file.clear();
  }
  return SharedLibrary();
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_) dlclose(handle_);
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

SharedLibrary::~SharedLibrary() {
  if (handle_) dlclose(handle_);
}

SharedLibrary::Symbol SharedLibrary::Find(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<Symbol>(dlsym(handle_, name));
}

std::string SharedLibrary::File() const {
  link_map* map = nullptr;
  if (!handle_ || dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
  return map->l_name;
}

std::string ProgramFile() {
  std::error_code error;
  std::filesystem::path file = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : file.string();
}

std::string ProgramFolder() {
  const std::string file = ProgramFile();
  return file.substr(0, file.rfind('/') + 1);
}

}  // namespace platform
