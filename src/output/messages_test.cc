#include "src/output/messages.h"

#include <gtest/gtest.h>

namespace {

TEST(MessagesTest, JoinsHeadVariableAndTailLetterForLetter) {
  const std::pair<std::string, std::string> cases[] = {
      {MessageFor(MessageId::ProfileMissing, "D:\\x\\PRD.P00"),
       "Error 1002: Profile D:\\x\\PRD.P00 is missing..."},
      {MessageFor(MessageId::ProfilePathMissingNebulant, "PRD.P00"),
       "Error 100x: Profile PRD.P00 is missing..."},
      {MessageFor(MessageId::DefaultProfileMissing, "Talvex.Prf"),
       "Error 1024: ProFile Talvex.Prf is missing..."},
      {MessageFor(MessageId::ItemMissing), "Error 1026: Global Item Idenification missing..."},
      {MessageFor(MessageId::ListingOpenError), "Error 1033: RFC Open-Error... "},
      {MessageFor(MessageId::SensorNotFound, ""), "Error 1030: Global Sensor  not found..."},
      {MessageFor(MessageId::OpenFailed, "BIN"), "Error 1011: RFC-Open for BIN failed !"},
      // The texts that state a limit or a list take it from where it is defined.
      {MessageFor(MessageId::ProfileNameTooLong, "PRD"),
       "Error 1041: Profile-Name PRD is longer than 63 characters !"},
      {MessageFor(MessageId::ParametersTooLong),
       "Error 1042: Parameters longer than 119 characters !"},
      {MessageFor(MessageId::UnknownFlavour, "xml"),
       "Error 1043: Unknown Flavour xml ! Valid are EXEXML, Tendril, Vigilor, Nebulant, Quillon"},
  };
  for (const auto& [message, expected] : cases) EXPECT_EQ(message, expected);
}

TEST(MessagesTest, EndRunCarriesTheMessageAndItsExitCode) {
  const std::pair<MessageId, int> cases[] = {{MessageId::InvalidPassword, 2},
                                             {MessageId::PathCheckCreated, 0}};
  for (const auto& [message, exitCode] : cases) {
    try {
      EndRun(message, "PRD.P00");
      ADD_FAILURE() << "EndRun returned";
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.message, MessageFor(message, "PRD.P00"));
      EXPECT_EQ(end.exitCode, exitCode);
    }
  }
}

}  // namespace
