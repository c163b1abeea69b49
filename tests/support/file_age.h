// Files and folders made to look old, for what a program does only with old ones.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include <gtest/gtest.h>

namespace testsupport {

// Sets the time of last change of a file, folder or link (not what it points to) that many
// days back.
inline void DaysOld(const std::filesystem::path& path, int days) {
  timespec times[2];
  ::clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= static_cast<std::time_t>(days) * 24 * 60 * 60;
  times[1] = times[0];
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

}  // namespace testsupport
#endif
