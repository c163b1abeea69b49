#include "src/config/parameters.h"

#include <gtest/gtest.h>

#include <cctype>

#include "src/output/messages.h"

namespace {

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The table is what the usage text and the reference list: each keyword in it must be one the
// parser takes, in any letter case ("1" is a valid value for every keyword with one).
TEST(ParametersTest, EveryKeywordOfTheTableIsReadInAnyLetterCase) {
  for (const ParameterKeyword& keyword : ParameterKeywords()) {
    const std::string typed = "X " + LowerCase(keyword.keyword) + "1";
    const Parameters with = ParseParameters(typed);
    Parameters without = ParseParameters("X");
    without.typed = typed;
    EXPECT_NE(with, without) << keyword.keyword << " changes nothing";
    EXPECT_FALSE(keyword.description.empty()) << keyword.keyword;
  }
}

TEST(ParametersTest, KeywordsInAnyLetterCaseWithTheirValuesAsTyped) {
  const Parameters p = ParseParameters("Sensor1 item=Response:Time,x /check,host=OtherHost,No=07");
  EXPECT_EQ(p.typed, "Sensor1 item=Response:Time,x /check,host=OtherHost,No=07");
  EXPECT_EQ(p.item, "Response Time");
  EXPECT_TRUE(p.check);
  EXPECT_EQ(p.host, "OtherHost");
  EXPECT_EQ(p.systemNumber, "07");
  EXPECT_EQ(p.sensorId, "SENSOR1   ");
  EXPECT_FALSE(p.consoleTrace);
  EXPECT_FALSE(p.syslog);
  EXPECT_FALSE(p.channel.has_value());
}

TEST(ParametersTest, AbsentKeywordsAndEmptyValues) {
  const Parameters none = ParseParameters("");
  EXPECT_FALSE(none.item || none.channel || none.host || none.systemNumber);
  EXPECT_FALSE(none.check || none.consoleTrace || none.syslog);
  EXPECT_EQ(none.sensorId, std::string(10, ' '));

  // Present but empty: the item names nothing, there is no host, the number is 0.
  const Parameters empty = ParseParameters("ITEM= x,HOST= ,NO=");
  EXPECT_EQ(empty.item, "");
  EXPECT_EQ(empty.host, "");
  EXPECT_EQ(empty.systemNumber, "");

  // Without the comma before them the connection options are not there.
  const Parameters noComma = ParseParameters("HOST=x NO=1 SYSLOG");
  EXPECT_FALSE(noComma.host || noComma.systemNumber || noComma.syslog);
  EXPECT_TRUE(ParseParameters("a,syslog").syslog);
}

TEST(ParametersTest, TheChannelIsReadFromAtMostThreeCharactersBeforeAComma) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"CH=3", 3},   {"ch=2,X", 2}, {"MATCH=4", 4}, {"CH=1234", 123}, {"CH=0", 0},
      {"CH=-1", -1}, {"CH=x", 0},   {"CH= 1", 1},   {"CH=,5", 0},     {"a CH=12", 12},
  };
  for (const auto& [text, channel] : cases) {
    EXPECT_EQ(ParseParameters(text).channel, channel) << text;
  }
}

TEST(ParametersTest, ConsoleMarks) {
  const std::pair<const char*, bool> cases[] = {{"", false},      {"ITEM=x", false}, {"ABC%", true},
                                                {"(No #1", true}, {"a@b", true},     {"$", true},
                                                {"!&*", false}};
  for (const auto& [text, on] : cases) EXPECT_EQ(ParseParameters(text).consoleTrace, on) << text;
}

TEST(ParametersTest, TheSensorIdIsTheFirstWordUpperCasedToTenCharacters) {
  EXPECT_EQ(ParseParameters("response01 x").sensorId, "RESPONSE01");
  EXPECT_EQ(ParseParameters("RESPONSE0123 x").sensorId, "RESPONSE01");
  EXPECT_EQ(ParseParameters(" x").sensorId, std::string(10, ' '));
}

TEST(ParametersTest, LimitsAndTheFailedSystemsChannel) {
  const Parameters p = ParseParameters("X,warn=500,Error=2000,failed");
  EXPECT_EQ(p.warningLimit, 500);
  EXPECT_EQ(p.errorLimit, 2000);
  EXPECT_TRUE(p.failedChannel);
  const Parameters alone = ParseParameters("ITEM=Response:Time,ERROR=1 x");
  EXPECT_FALSE(alone.warningLimit.has_value());
  EXPECT_EQ(alone.errorLimit, 1);
  EXPECT_FALSE(alone.failedChannel);
  EXPECT_EQ(ParseParameters(",WARN=999999").warningLimit, 999999);
  EXPECT_FALSE(ParseParameters("WARN=5 FAILED").warningLimit ||
               ParseParameters("FAILED").failedChannel);
}

TEST(ParametersTest, ALimitThatIsNoNumberOfMillisecondsEndsTheRun) {
  for (const std::string value : {"", "0", "1000000", "-5", "+5", "5ms", "1e3", " 5"}) {
    try {
      ParseParameters("X,WARN=" + value);
      ADD_FAILURE() << value << " was taken";
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.message, "Error 1046: Invalid Limit WARN=" + value.substr(0, value.find(' ')) +
                                 " (1 to 999999 Milliseconds) !");
      EXPECT_EQ(end.exitCode, 2);
    }
  }
}

TEST(ParametersTest, TheTimeoutIsWholeSecondsFromOneTo900) {
  EXPECT_EQ(ParseParameters("").timeoutSeconds, 55);
  EXPECT_EQ(ParseParameters("X,timeout=1").timeoutSeconds, 1);
  EXPECT_EQ(ParseParameters("ITEM=Response:Time,TIMEOUT=900,FAILED").timeoutSeconds, 900);
  EXPECT_EQ(ParseParameters("TIMEOUT=7").timeoutSeconds, 55);  // no comma before: not the keyword
  for (const std::string value : {"", "0", "901", "5000", "-5", "5s", "1.5", " 5"}) {
    try {
      ParseParameters("X,TIMEOUT=" + value);
      ADD_FAILURE() << value << " was taken";
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.message, "Error 1049: Invalid Timeout TIMEOUT=" +
                                 value.substr(0, value.find(' ')) + " (1 to 900 Seconds) !");
      EXPECT_EQ(end.exitCode, 2);
    }
  }
}

TEST(ParametersTest, TheSystemsAtATimeAreFromOneTo32) {
  EXPECT_EQ(ParseParameters("ITEM=Response:Time").parallel, 8);
  EXPECT_EQ(ParseParameters("X,parallel=1").parallel, 1);
  EXPECT_EQ(ParseParameters("X,PARALLEL=32,TIMEOUT=5").parallel, 32);
  for (const std::string value : {"0", "33", "100", "", "x", "-1"}) {
    try {
      ParseParameters("X,PARALLEL=" + value);
      ADD_FAILURE() << value << " was taken";
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.message, "Error 1051: Invalid Parallel PARALLEL=" + value + " (1 to 32) !");
      EXPECT_EQ(end.exitCode, 2);
    }
  }
}

TEST(ItemNameTest, TheItemNameIsCutAtNinetyCharacters) {
  EXPECT_EQ(ItemNameFrom(std::string(100, 'x')), std::string(90, 'x'));
  EXPECT_EQ(ItemNameFrom("a:b,c d"), "a b");
}

}  // namespace
