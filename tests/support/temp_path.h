// A file name in the temporary directory that no other test uses: CTest runs tests in parallel
// processes, and each must have files of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

inline std::string UniqueTempPath(const std::string& name) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string unique = test ? std::string(test->test_suite_name()) + "." + test->name() : "";
  for (char& c : unique) {
    if (c == '/' || c == '\\' || c == ' ') c = '_';
  }
  return testing::TempDir() + unique + "-" + name;
}

}  // namespace testsupport
