#include "src/platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(UpperCaseAtoZTest, UpperCasesOnlyTheLettersAToZ) {
  EXPECT_EQ(platform::UpperCaseAtoZ("abz,AZ?h\xe4\xfc{`}"), "ABZ,AZ?H\xe4\xfc{`}");
}

TEST(LeadingNumberTest, ReadsDigitsAfterWhiteSpaceAndSignAsAtoiDoes) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"00", 0}, {"12", 12}, {" 7x", 7}, {"\t\n5", 5}, {"-3", -3},
      {"+4", 4}, {"x1", 0},  {"", 0},    {"- 1", 0},   {"99999999999999", 2147483647}};
  for (const auto& [text, number] : cases) {
    EXPECT_EQ(platform::LeadingNumber(text), number) << text;
  }
}

TEST(CutAtTest, KeepsWhatStandsBeforeTheFirstMark) {
  EXPECT_EQ(platform::CutAt("one @two @three", " @"), "one");
  EXPECT_EQ(platform::CutAt("no mark", " @"), "no mark");
  EXPECT_EQ(platform::CutAt("", "#"), "");
}

}  // namespace
