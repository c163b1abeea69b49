#include "src/config/profile_set.h"

#include <gtest/gtest.h>

#include "src/config/parameters.h"
#include "src/output/messages.h"

namespace {

ProfileSet Resolved(const std::string& name, const std::string& parameters) {
  ProfileSet profiles = ResolveProfileSet(name, ParseParameters(parameters).item);
  SplitProfileName(profiles);
  return profiles;
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
    const ProfileSet profiles = Resolved(c.name, c.parameters);
    EXPECT_EQ(profiles.mode, c.mode) << c.name << " " << c.parameters;
    EXPECT_EQ(profiles.name, c.profileName) << c.name << " " << c.parameters;
    EXPECT_EQ(profiles.directory, c.directory) << c.name << " " << c.parameters;
    EXPECT_EQ(profiles.itemName, c.item) << c.name << " " << c.parameters;
  }
}

TEST(ProfileSetTest, ANameThatOutgrowsItsCapacityWithTheExtensionIsRefused) {
  EXPECT_EQ(Resolved(std::string(59, 'n'), "").name.size(), 63u);
  try {
    Resolved(std::string(60, 'n'), "");
    FAIL() << "a 64-character profile name was accepted";
  } catch (const RunEnded& end) {
    EXPECT_EQ(end.message,
              MessageFor(MessageId::ProfileNameTooLong, std::string(60, 'n') + ".P00"));
    EXPECT_EQ(end.exitCode, 2);
  }
}

}  // namespace
