#include "src/output/durations.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeTextTest, WritesMillisecondsWithAtLeastFourDigits) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0000"},      {5, "0005"},
      {10, "0010"},     {99, "0099"},
      {234, "0234"},    {1000, "1000"},
      {1234, "1234"},   {12345, "12345"},
      {60007, "60007"}, {2147483647, "2147483647"}};
  for (const auto& [milliseconds, text] : cases) {
    EXPECT_EQ(TimeText(milliseconds), text) << milliseconds;
  }
}

TEST(DurationChannelTest, AnItemNamesItsChannelExactly) {
  ASSERT_NE(DurationChannelNamed("Response Time"), nullptr);
  EXPECT_EQ(DurationChannelNamed("Response Time")->time, &Durations::response);
  EXPECT_EQ(DurationChannelNamed("RFC-Open Time")->time, &Durations::open);
  for (const char* other : {"response time", "Response Time ", "Open Time", ""}) {
    EXPECT_EQ(DurationChannelNamed(other), nullptr) << other;
  }
}

}  // namespace
