#include "src/output/flavour.h"

#include <gtest/gtest.h>

namespace {

TEST(FlavourTest, NamesMatchExactly) {
  EXPECT_EQ(FlavourNamed("Nebulant"), OutputFlavour::Nebulant);
  EXPECT_EQ(FlavourNamed("EXEXML"), OutputFlavour::EXEXML);
  EXPECT_FALSE(FlavourNamed("exexml").has_value());
  EXPECT_FALSE(FlavourNamed("Nebu").has_value());
  EXPECT_FALSE(FlavourNamed("").has_value());
}

}  // namespace
