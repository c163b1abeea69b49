#include "src/rfc/record_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

template <std::size_t N>
void Set(char (&field)[N], std::string_view value) {
  std::memset(field, ' ', N);
  std::memcpy(field, value.data(), std::min(N, value.size()));
}

TEST(FieldTextTest, StripsTrailingBlanksKeepsLeadingOnesAndStopsAtZero) {
  char field[8];
  Set(field, "  ab c");
  EXPECT_EQ(FieldText(field, sizeof field), "  ab c");
  Set(field, "");
  EXPECT_EQ(FieldText(field, sizeof field), "");
  Set(field, "abcdefgh");  // full, no end mark: never read past the field
  EXPECT_EQ(FieldText(field, sizeof field), "abcdefgh");
  Set(field, "ab\0cd");
  field[2] = '\0';
  EXPECT_EQ(FieldText(field, sizeof field), "ab");
}

}  // namespace
