#include "src/platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
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
  EXPECT_TRUE(std::regex_match(text, std::regex("([01][0-9]|2[0-3]):[0-5][0-9]:([0-5][0-9]|60)")))
      << text;
}

}  // namespace
