#include "src/config/server_listing.h"

#include <gtest/gtest.h>

#include "src/output/messages.h"

namespace {

// The run has found the listing file once; here it is gone when it is opened to be read.
TEST(ServerListingTest, AListingFileThatCannotBeOpenedAgainEndsTheRun) {
  struct Case {
    ProfileMode mode;
    std::string file;
    std::string message;
  } cases[] = {
      {ProfileMode::ItemListing, "Talvex.Prf", "Error 1024: ProFile Talvex.Prf is missing..."},
      {ProfileMode::GlobalListing, "Talvex.Gbl", "Error 10x1: ProFile Talvex.Gbl is missing..."},
  };
  for (const Case& c : cases) {
    ProfileSet profiles;
    profiles.mode = c.mode;
    profiles.directory = testing::TempDir() + "gone/";
    profiles.name = c.file;
    try {
      ReadServerListing(profiles, ParseParameters("SENSOR0001"), "SENSOR0001");
      ADD_FAILURE() << c.file << " was read";
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.exitCode, 2);
      EXPECT_EQ(end.message, c.message);
    }
  }
}

TEST(ServerListingTest, TakesNamesOffTheFrontAndNamesSystemsByTheDisplayMode) {
  std::string_view names = "A.P00##B.P00";
  EXPECT_EQ(TakeNextSystemName(names), "A.P00");
  EXPECT_EQ(TakeNextSystemName(names), "");
  EXPECT_EQ(TakeNextSystemName(names), "B.P00");
  EXPECT_EQ(names, "");

  SystemEntry entry;
  entry.hostname = "sap01";
  entry.destination = "PRD";
  const std::pair<DisplayMode, const char*> cases[] = {{DisplayMode::Profile, "PRD.P00"},
                                                       {DisplayMode::Alias, "PRD"},
                                                       {DisplayMode::Host, "sap01"},
                                                       {DisplayMode::Sid, "PRD"}};
  for (const auto& [mode, name] : cases) {
    EXPECT_EQ(DisplayNameOf(mode, "PRD.P00", entry), name) << name;
  }
  EXPECT_EQ(DisplayNameOf(DisplayMode::Alias, "ab", entry), "");
}

}  // namespace
