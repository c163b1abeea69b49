// The process clock and local time.
#include "src/platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {
namespace {
const std::chrono::steady_clock::time_point process_start = std::chrono::steady_clock::now();
}  // namespace

std::int32_t ClockMilliseconds() {
  auto elapsed = std::chrono::steady_clock::now() - process_start;
  return static_cast<std::int32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::string LocalTimeText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

}  // namespace platform
