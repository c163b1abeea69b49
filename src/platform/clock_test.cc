#include "src/platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

TEST(ClockTest, CountsWallTimeWhileTheProcessWaits) {
  const std::int32_t before = platform::ClockMilliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(120));  // no CPU time spent here
  const std::int32_t waited = platform::ClockMilliseconds() - before;
  EXPECT_GE(before, 0);
  EXPECT_GE(waited, 120);
  EXPECT_LT(waited, 5000);
}

TEST(ClockTest, LocalTimeIsHoursMinutesSecondsOfTheDay) {
  const std::string text = platform::LocalTimeText();
  ASSERT_EQ(text.size(), 8u) << text;
  EXPECT_EQ(text[2], ':') << text;
  EXPECT_EQ(text[5], ':') << text;
  const struct {
    std::size_t at;
    int limit;  // the largest value: a leap second makes 60 seconds
  } fields[] = {{0, 23}, {3, 59}, {6, 60}};
  for (const auto& field : fields) {
    const char tens = text[field.at];
    const char ones = text[field.at + 1];
    ASSERT_TRUE(tens >= '0' && tens <= '9' && ones >= '0' && ones <= '9') << text;
    EXPECT_LE((tens - '0') * 10 + (ones - '0'), field.limit) << text;
  }
}

}  // namespace
