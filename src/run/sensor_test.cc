#include "src/run/sensor.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "src/output/messages.h"
#include "src/run/system_check.h"

namespace {

// What RunToTheEnd prints and returns for phases that end in a given way.
std::pair<std::string, int> Ending(const Document& document, const std::function<int()>& phases) {
  RunContext run;
  run.resultDocument = document;
  testing::internal::CaptureStdout();
  const int exitCode = RunToTheEnd(run, phases);
  return {testing::internal::GetCapturedStdout(), exitCode};
}

TEST(RunToTheEndTest, EveryEndingGivesADocumentAndItsExitCode) {
  const Document document;
  EXPECT_EQ(Ending(document, [] { return 0; }), std::make_pair(std::string(), 0));
  EXPECT_EQ(Ending(document, []() -> int { EndRun(MessageId::ServerListingMissing); }),
            std::make_pair(std::string("<Prtg>\n<Error>1</Error>\n<Text>Error 1025: Global Server "
                                       "Listing missing...</Text>\n</Prtg>\n"),
                           2));
  // Whatever else goes wrong, the monitor reads an error document, not nothing.
  EXPECT_EQ(Ending(document, []() -> int { throw std::length_error("basic_string::append"); }),
            std::make_pair(std::string("<Prtg>\n<Error>1</Error>\n<Text>Error 1044: Unexpected "
                                       "Failure: basic_string::append !</Text>\n</Prtg>\n"),
                           2));
  EXPECT_EQ(Ending(document, []() -> int { throw 7; }).second, 2);
}

TEST(RunToTheEndTest, AnErrorAfterAListingsHeadEndsThatDocument) {
  Document document(OutputFlavour::EXEXML, std::nullopt);
  const std::string head = document.ListingHead();
  const auto [printed, exitCode] =
      Ending(document, []() -> int { EndRun(MessageId::ListingOpenError); });
  EXPECT_EQ(head + printed,
            "\n<Prtg>\n\n<Error>1</Error>\n<Text>Error 1033: RFC Open-Error... </Text>\n</Prtg>\n");
  EXPECT_EQ(exitCode, 2);
}

TEST(LogonOfTest, TheParameterTextMayReplaceHostAndSystemNumber) {
  SystemEntry entry;
  entry.destination = "PRD";
  entry.user = "MON";
  entry.hostname = "prdhost";
  entry.sysnr = "12";
  struct Case {
    const char* parameters;
    const char* host;
    const char* systemNumber;
  } cases[] = {
      {"", "prdhost", "12"},
      {"X,host=OtherHost,No=07 more", "OtherHost", "07"},
      {",HOST= ,NO=", "", ""},  // present but empty: no host, number 0
      {"HOST=ignored", "prdhost", "12"},
  };
  for (const Case& c : cases) {
    const Logon logon = LogonOf(entry, ParseParameters(c.parameters));
    EXPECT_EQ(logon.hostName, c.host) << c.parameters;
    EXPECT_EQ(logon.systemNumber, c.systemNumber) << c.parameters;
    EXPECT_EQ(logon.destination, "PRD");
    EXPECT_EQ(logon.user, "MON");
  }
}

}  // namespace
