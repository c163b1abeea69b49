#include "src/rfc/connection.h"

#include <gtest/gtest.h>

namespace {

RunContext RunWith(std::string parameters = "") {
  RunContext run;
  run.Parameters.typed = parameters;
  run.Parameters.upper = parameters;
  for (char& c : run.Parameters.upper) c = static_cast<char>(std::toupper(c));
  SystemEntry& e = run.Entry;
  e.Destination = "PRD";
  e.Client = "100";
  e.User = "MON";
  e.Password = "pw1";
  e.Language = "E";
  e.Mode = "R/3";
  e.Hostname = "prdhost";
  e.Sysnr = "12";
  e.Gwhost = "gw";
  e.Gwservice = "sapgw12";
  return run;
}

TEST(OpenRecordsTest, PadsUserAndPasswordOnTheCopiesOnly) {
  RunContext run = RunWith();
  OpenRecords records;
  FillOpenRecords(run, records);
  EXPECT_STREQ(records.options.user, "MON         ");
  EXPECT_STREQ(records.options.password, "pw1       ");
  EXPECT_EQ(run.Entry.User, "MON");
  EXPECT_STREQ(records.options.destination, "PRD");
  EXPECT_STREQ(records.options.client, "100");
  EXPECT_STREQ(records.options.language, "E");
  EXPECT_EQ(records.options.trace, 0);

  // Longer values pass unchanged; a short value after a long one keeps nothing of it.
  run.Entry.User = "MONITORUSER12";
  run.Entry.Password = "fifteen-chars!!";
  FillOpenRecords(run, records);
  EXPECT_STREQ(records.options.user, "MONITORUSER12");
  EXPECT_STREQ(records.options.password, "fifteen-chars!!");
  run.Entry.Password = "ab";
  FillOpenRecords(run, records);
  EXPECT_STREQ(records.options.password, "ab        ");
}

TEST(OpenRecordsTest, OnlyExactlyR2OpensThroughTheGateway) {
  const std::pair<const char*, std::int32_t> cases[] = {{"R/2", RFC_MODE_R2},
                                                        {"r/2", RFC_MODE_HOST},
                                                        {"R/3", RFC_MODE_HOST},
                                                        {"R/2 ", RFC_MODE_HOST},
                                                        {"", RFC_MODE_HOST}};
  for (const auto& [mode, expected] : cases) {
    RunContext run = RunWith();
    run.Entry.Mode = mode;
    OpenRecords records;
    FillOpenRecords(run, records);
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
  RunContext run = RunWith();
  OpenRecords records;
  FillOpenRecords(run, records);
  EXPECT_STREQ(records.host.hostName, "prdhost");
  EXPECT_EQ(records.host.systemNumber, 12);
  run.Entry.Hostname = "";
  run.Entry.Sysnr = "";
  run.Entry.Gwhost = "";
  run.Entry.Gwservice = "";
  FillOpenRecords(run, records);
  EXPECT_EQ(records.host.hostName, nullptr);
  EXPECT_EQ(records.host.systemNumber, 0);
  EXPECT_EQ(records.host.gatewayHost, nullptr);
  EXPECT_EQ(records.host.gatewayService, nullptr);
}

TEST(LeadingNumberTest, ReadsDigitsAfterBlanksAndSign) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"00", 0}, {"12", 12}, {" 7x", 7}, {"-3", -3},
      {"+4", 4}, {"x1", 0},  {"", 0},    {"99999999999999", 2147483647}};
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingNumber(text), number) << text;
}

TEST(OpenRecordsTest, HostAndNumberOverridesComeFromTheTypedParameters) {
  RunContext run = RunWith("X,host=OtherHost,No=07 more");
  OpenRecords records;
  FillOpenRecords(run, records);
  EXPECT_STREQ(records.host.hostName, "OtherHost");
  EXPECT_EQ(records.host.systemNumber, 7);

  run = RunWith(",HOST= ,NO=");  // overrides present but empty: no host, number 0
  FillOpenRecords(run, records);
  EXPECT_EQ(records.host.hostName, nullptr);
  EXPECT_EQ(records.host.systemNumber, 0);

  run = RunWith("HOST=ignored");  // without the comma it is not the option
  FillOpenRecords(run, records);
  EXPECT_STREQ(records.host.hostName, "prdhost");
}

}  // namespace

namespace {
TEST(OpenRecordsTest, OverrideBeyondAShorterTypedTextIsEmpty) {
  RunContext run = RunWith();
  run.Parameters.upper = "SENSOR1 ITEM=X,HOST=abc";
  run.Parameters.typed = "Item=X";  // replaced by a listing's allocation
  OpenRecords records;
  FillOpenRecords(run, records);
  EXPECT_EQ(records.host.hostName, nullptr);
}
}  // namespace
