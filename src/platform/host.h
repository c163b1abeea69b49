// Which kind of host the program is built for. A constant rather than a preprocessor branch, so
// that code for both hosts is compiled on each.
#pragma once

namespace platform {

#ifdef _WIN32
inline constexpr bool kWindowsHost = true;
#else
inline constexpr bool kWindowsHost = false;
#endif

}  // namespace platform
