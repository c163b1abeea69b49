#include "src/platform/file_lock.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "tests/support/temp_path.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

TEST(FileLockTest, OneHolderAtATimeAndAWaitThatEnds) {
  const std::string path = testsupport::UniqueTempPath("trace.lock");
  fs::remove(path);
  {
    platform::FileLock first = platform::FileLock::Take(path, milliseconds(0));
    ASSERT_TRUE(first);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::FileLock::Take(path, milliseconds(200)));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, milliseconds(150));
    EXPECT_LT(waited, milliseconds(2000));

    first = platform::FileLock();  // lets go
    EXPECT_TRUE(platform::FileLock::Take(path, milliseconds(0)));
  }
  EXPECT_TRUE(fs::is_regular_file(path));
  fs::remove(path);
}

// A lock file that is no regular file is never waited for, and a link never followed.
TEST(FileLockTest, NothingButARegularFileIsALockFile) {
  const fs::path folder = testsupport::UniqueTempPath("locks");
  fs::remove_all(folder);
  fs::create_directories(folder / "a-folder");
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  fs::create_symlink(folder / "target", folder / "link");
#endif
  for (const char* name : {"a-folder", "fifo", "link"}) {
    if (!fs::exists(fs::symlink_status(folder / name))) continue;  // no FIFOs or links here
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::FileLock::Take((folder / name).string(), milliseconds(5000))) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(1000)) << name;
  }
  EXPECT_FALSE(fs::exists(folder / "target"));
  fs::remove_all(folder);
}

}  // namespace
