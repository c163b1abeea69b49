#include "src/output/channel.h"

#include <gtest/gtest.h>

namespace {

TEST(ChannelLabelTest, ReplacesSeparatorsAndTheFirstDotOnly) {
  EXPECT_EQ(ChannelLabel("", "a.b.c/d e\\f"), "a_b.c_d_e_f");
  EXPECT_EQ(ChannelLabel("Response_Time", "Response Time"), "Response_Time");
}

TEST(UnitSymbolTest, NebulantsSymbolOfEachUnit) {
  EXPECT_EQ(UnitSymbol(""), "#");
  EXPECT_EQ(UnitSymbol("TimeResponse"), "mSec");
  EXPECT_EQ(UnitSymbol("Count"), "Count");
}

}  // namespace
