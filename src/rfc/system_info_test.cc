#include "src/rfc/system_info.h"

#include <gtest/gtest.h>

namespace {

TEST(DescribeCallFailureTest, MapsEveryCodeToItsText) {
  const std::tuple<std::int32_t, const char*, const char*> cases[] = {
      {1, "IGNORED", "Error 1014: RFC-Failure raised !"},
      {2, "NOT_AUTHORIZED", "Error 1012: Exception.: NOT_AUTHORIZED"},
      {3, "NOT_AUTHORIZED", "Error 1013: Sys-Exception raised !"},
      {4, "", "Error 1015: Other Failure raised !"},
      {99, "", "Error 1015: Other Failure raised !"},
      {-1, "", "Error 1015: Other Failure raised !"},
  };
  for (const auto& [code, exception, text] : cases) {
    EXPECT_EQ(DescribeCallFailure(code, exception), text) << code;
  }
}

}  // namespace
