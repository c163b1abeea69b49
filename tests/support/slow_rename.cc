// Preloaded into the sensor by the tests: every rename takes 2 ms longer, so that what runs at
// the same time do between renaming a file and using the new name comes to light.
#include <dlfcn.h>

#include <chrono>
#include <thread>

namespace {

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void Slowly() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }

}  // namespace

// The C library declares these with parameter names reserved to it, which a definition here
// may not take.
// NOLINTBEGIN(readability-inconsistent-declaration-parameter-name)
extern "C" {

int rename(const char* from, const char* to) {
  static const auto next = Next<int (*)(const char*, const char*)>("rename");
  Slowly();
  return next(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  static const auto next = Next<int (*)(int, const char*, int, const char*)>("renameat");
  Slowly();
  return next(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
  static const auto next = Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
  Slowly();
  return next(fromFolder, from, toFolder, to, flags);
}

}  // extern "C"
// NOLINTEND(readability-inconsistent-declaration-parameter-name)
