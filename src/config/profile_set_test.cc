#include "src/config/profile_set.h"

#include <gtest/gtest.h>

#include "src/output/messages.h"
#include "src/run/command_line.h"

namespace {

RunContext Resolved(const std::string& name, const std::string& parameters) {
  RunContext run;
  run.ProfileName = name;
  run.Parameters = {parameters, UpperCaseAtoZ(parameters)};
  run.Entry.Client = "left from before";
  ResolveProfileSet(run);
  SplitProfileName(run);
  return run;
}

TEST(ProfileSetTest, NameParametersModeDirectoryAndItem) {
  struct Case {
    const char* name;
    const char* parameters;
    ProfileMode mode;
    const char* profileName;
    const char* directory;
    const char* item;
  } cases[] = {
      {"PRD", "", ProfileMode::Single, "PRD.P00", "", ""},
      {"prd.p01", "", ProfileMode::Single, "prd.p01", "", ""},
      {"AB", "", ProfileMode::Single, "AB.P00", "", ""},
      {"PRD.", "", ProfileMode::Single, "PRD..P00", "", ""},
      {"\\PRD", "", ProfileMode::Single, "\\PRD.P00", "", ""},
      {"D:\\Sensors\\PRD", "", ProfileMode::Single, "PRD.P00", "D:\\Sensors\\", ""},
      {"GLOBAL.P00", "", ProfileMode::GlobalListing, "Talvex.Gbl", "", ""},
      {"global", "", ProfileMode::GlobalListing, "Talvex.Gbl", "", ""},
      {"C:\\x\\Global.p00", "", ProfileMode::GlobalListing, "Talvex.Gbl", "C:\\x\\", ""},
      {"D:\\Sensors\\global", "", ProfileMode::GlobalListing, "Talvex.Gbl", "D:\\Sensors\\", ""},
      {"GLOBAL.P01", "", ProfileMode::Single, "GLOBAL.P01", "", ""},
      {"PRD", "ITEM=RFC-Open:Time,Sensor", ProfileMode::ItemListing, "Talvex.Prf", "",
       "RFC-Open Time"},
      {"GLOBAL", "item=Response:Time", ProfileMode::ItemListing, "Talvex.Prf", "", "Response Time"},
      {"D:\\x\\PRD", "Sensor1 iTeM=Processing:Time more", ProfileMode::ItemListing, "Talvex.Prf",
       "", "Processing Time"},
      {"PRD", "ITEM= Response:Time", ProfileMode::ItemListing, "Talvex.Prf", "", ""},
  };
  for (const Case& c : cases) {
    RunContext run = Resolved(c.name, c.parameters);
    EXPECT_EQ(run.Mode, c.mode) << c.name << " " << c.parameters;
    EXPECT_EQ(run.ProfileName, c.profileName) << c.name << " " << c.parameters;
    EXPECT_EQ(run.ProfileDirectory, c.directory) << c.name << " " << c.parameters;
    EXPECT_EQ(run.ItemName, c.item) << c.name << " " << c.parameters;
    EXPECT_EQ(run.Entry.Client, "");
  }
}

TEST(ProfileSetTest, TheItemNameIsCutAtNinetyCharacters) {
  EXPECT_EQ(ItemNameFrom(std::string(100, 'x')), std::string(90, 'x'));
  EXPECT_EQ(ItemNameFrom("a:b,c d"), "a b");
}

TEST(ProfileSetTest, ANameThatOutgrowsItsCapacityWithTheExtensionIsRefused) {
  RunContext fits = Resolved(std::string(59, 'n'), "");
  EXPECT_EQ(fits.ProfileName.size(), 63u);
  try {
    Resolved(std::string(60, 'n'), "");
    FAIL() << "a 64-character profile name was accepted";
  } catch (const RunEnded& end) {
    EXPECT_EQ(end.exitCode, 2);
  }
}

}  // namespace
