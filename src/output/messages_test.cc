#include "src/output/messages.h"

#include <gtest/gtest.h>

namespace {

TEST(MessagesTest, JoinsHeadVariableAndTailLetterForLetter) {
  EXPECT_EQ(MessageFor(Message::ProfilePathMissing, "D:\\x\\PRD.P00"),
            "Error 1002: Profile D:\\x\\PRD.P00 is missing...");
  EXPECT_EQ(MessageFor(Message::ProfilePathMissingNebulant, "PRD.P00"),
            "Error 100x: Profile PRD.P00 is missing...");
  EXPECT_EQ(MessageFor(Message::DefaultProfileMissing, "Talvex.Prf"),
            "Error 1024: ProFile Talvex.Prf is missing...");
  EXPECT_EQ(MessageFor(Message::ItemMissing), "Error 1026: Global Item Idenification missing...");
  EXPECT_EQ(MessageFor(Message::ListingOpenError), "Error 1033: RFC Open-Error... ");
  EXPECT_EQ(MessageFor(Message::SensorNotFound, ""), "Error 1030: Global Sensor  not found...");
  EXPECT_EQ(MessageFor(Message::OpenFailed, "BIN"), "Error 1011: RFC-Open for BIN failed !");
}

TEST(MessagesTest, EveryMessageHasItsOwnRow) {
  // A message missing from the table would silently print the path-check text.
  for (int i = static_cast<int>(Message::ProfileNameMissing);
       i <= static_cast<int>(Message::ProfilePathTooLong); ++i) {
    EXPECT_NE(MessageFor(static_cast<Message>(i)), MessageFor(Message::PathCheckCreated)) << i;
  }
}

TEST(MessagesTest, EndRunLeavesTheErrorDocumentAndItsExitCode) {
  RunContext run;
  run.ResultDocument = "\n<Prtg>\npartial";
  try {
    EndRun(run, Message::InvalidPassword, "PRD.P00");
    FAIL() << "EndRun returned";
  } catch (const RunEnded& end) {
    EXPECT_EQ(end.exitCode, 2);
  }
  EXPECT_EQ(run.ResultDocument,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1004: Invalid Password in Profile PRD.P00 "
            "found...</Text>\n</Prtg>\n");
  try {
    EndRun(run, Message::PathCheckCreated);
  } catch (const RunEnded& end) {
    EXPECT_EQ(end.exitCode, 0);
  }
}

}  // namespace
