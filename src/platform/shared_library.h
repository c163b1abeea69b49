// Shared libraries loaded at run time, and the running program's own file and folder: the only
// code that knows dlopen and LoadLibrary. Paths here are host paths, in UTF-8 on Windows.
#pragma once

#include <string>

namespace platform {

// Why a library could not be loaded.
struct LibraryLoadError {
  std::string reason;     // the system's own text
  bool notFound = false;  // the path names no file, or the standard search found none
  std::string file;       // the file that was found and failed, where the system tells it
};

// A loaded library. It is unloaded when this value goes, unless Keep() was called.
class SharedLibrary {
 public:
  // A path with a folder is loaded as it stands. A bare file name is looked for in the system's
  // standard search: on Windows the program's folder, the system folders and PATH, but never
  // the current directory, where anyone who can write there could plant a library (neither for
  // the libraries it brings in turn); elsewhere the dynamic loader's search. Returns an empty
  // value and fills `error` on failure.
  [[nodiscard]] static SharedLibrary Open(const std::string& pathOrName, LibraryLoadError& error);

  SharedLibrary() = default;
  SharedLibrary(SharedLibrary&& other) noexcept : handle_(other.handle_) {
    other.handle_ = nullptr;
  }
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  ~SharedLibrary();

  explicit operator bool() const { return handle_ != nullptr; }

  // The address of an exported symbol by its plain name; null when the library has none. The
  // caller casts it to the symbol's own type.
  using Symbol = void (*)();
  [[nodiscard]] Symbol Find(const char* name) const;

  // The file the library was loaded from, which the standard search chose; empty when the
  // system does not tell.
  std::string File() const;

  // Leaves the library loaded until the process ends, so that what Find returned stays valid
  // for everyone who was handed it.
  void Keep() { handle_ = nullptr; }

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void* handle_ = nullptr;
};

// The running program's own file; empty when the system does not tell.
std::string ProgramFile();

// The folder that holds the running program, ending with the path separator; empty when the
// system does not tell.
std::string ProgramFolder();

}  // namespace platform
