#include "src/rfc/classic_open.h"

#include <gtest/gtest.h>

#include "tests/support/logons.h"

namespace {

using testsupport::PrdLogon;

TEST(OpenRecordsTest, PadsUserAndPasswordOnTheCopiesOnly) {
  Logon logon = PrdLogon();
  OpenRecords records;
  FillOpenRecords(logon, records);
  EXPECT_STREQ(records.options.user, "MON         ");
  EXPECT_STREQ(records.options.password, "pw1       ");
  EXPECT_EQ(logon.user, "MON");
  EXPECT_STREQ(records.options.destination, "PRD");
  EXPECT_STREQ(records.options.client, "100");
  EXPECT_STREQ(records.options.language, "E");
  EXPECT_EQ(records.options.trace, 0);

  // Longer values pass unchanged; a short value after a long one keeps nothing of it.
  logon.user = "MONITORUSER12";
  logon.password = "fifteen-chars!!";
  FillOpenRecords(logon, records);
  EXPECT_STREQ(records.options.user, "MONITORUSER12");
  EXPECT_STREQ(records.options.password, "fifteen-chars!!");
  logon.password = "ab";
  FillOpenRecords(logon, records);
  EXPECT_STREQ(records.options.password, "ab        ");
}

TEST(OpenRecordsTest, OnlyExactlyR2OpensThroughTheGateway) {
  const std::pair<const char*, std::int32_t> cases[] = {{"R/2", RFC_MODE_R2},
                                                        {"r/2", RFC_MODE_HOST},
                                                        {"R/3", RFC_MODE_HOST},
                                                        {"R/2 ", RFC_MODE_HOST},
                                                        {"", RFC_MODE_HOST}};
  for (const auto& [mode, expected] : cases) {
    Logon logon = PrdLogon();
    logon.mode = mode;
    OpenRecords records;
    FillOpenRecords(logon, records);
    EXPECT_EQ(records.options.mode, expected) << mode;
    if (expected == RFC_MODE_R2) {
      EXPECT_EQ(records.options.connectionParameters, &records.gateway);
      EXPECT_STREQ(records.gateway.gatewayHost, "gw");
      EXPECT_STREQ(records.gateway.gatewayService, "sapgw12");
    } else {
      EXPECT_EQ(records.options.connectionParameters, &records.host) << mode;
    }
  }
}

TEST(OpenRecordsTest, EmptyValuesAreNullAndTheSystemNumberIsANumber) {
  Logon logon = PrdLogon();
  OpenRecords records;
  FillOpenRecords(logon, records);
  EXPECT_STREQ(records.host.hostName, "prdhost");
  EXPECT_EQ(records.host.systemNumber, 12);
  logon.hostName = "";
  logon.systemNumber = "";
  logon.gatewayHost = "";
  logon.gatewayService = "";
  FillOpenRecords(logon, records);
  EXPECT_EQ(records.host.hostName, nullptr);
  EXPECT_EQ(records.host.systemNumber, 0);
  EXPECT_EQ(records.host.gatewayHost, nullptr);
  EXPECT_EQ(records.host.gatewayService, nullptr);
}

}  // namespace
