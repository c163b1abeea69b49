#include "src/output/console_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ConsoleParametersTest, ASingleRunShowsTheTextBeforeTheConsoleMarks) {
  const std::pair<const char*, const char*> cases[] = {
      {"A%B x", "A"},
      {"(No #1", "(No Parameters)"},
      {"(Parameters @", "(No Parameters)"},
      {"100% sure", "100"},
      {"one two $", "one two "},
      {"", "(No Parameters)"},
      {"#", "(No Parameters)"},
      {"a $b", "a "},
  };
  for (const auto& [typed, shown] : cases) {
    EXPECT_EQ(SingleRunConsoleParameters(typed), shown) << typed;
  }
}

TEST(ConsoleParametersTest, AListingRunShowsBlanksForColonsAndCutsBeforeAnAt) {
  EXPECT_EQ(ListingConsoleParameters("Item=Response:Time,Alias @x"), "Item=Response Time,Alias");
  EXPECT_EQ(ListingConsoleParameters("SENSOR1 a@b"), "SENSOR1 a@b");
}

}  // namespace
