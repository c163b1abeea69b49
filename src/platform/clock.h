// The process clock and local time.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Milliseconds since the process started, on a monotonic clock: a sensor that waits on the
// network must not read 0 as the CPU-time clock would.
std::int32_t ClockMilliseconds();

// The local time as HH:MM:SS.
std::string LocalTimeText();

}  // namespace platform
