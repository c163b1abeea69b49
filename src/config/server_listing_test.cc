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
      {ProfileMode::ItemListing, "Talvex.Prf",
       "<Text>Error 1024: ProFile Talvex.Prf is missing...</Text>"},
      {ProfileMode::GlobalListing, "Talvex.Gbl",
       "<Text>Error 10x1: ProFile Talvex.Gbl is missing...</Text>"},
  };
  for (const Case& c : cases) {
    RunContext run;
    run.Mode = c.mode;
    run.ProfileDirectory = testing::TempDir() + "gone/";
    run.ProfileName = c.file;
    run.Parameters = {"SENSOR0001", "SENSOR0001"};
    try {
      ReadServerListing(run);
      ADD_FAILURE() << c.file << " was read";
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.exitCode, 2);
      EXPECT_NE(run.ResultDocument.find(c.message), std::string::npos) << run.ResultDocument;
    }
  }
}

}  // namespace
