#include "src/run/single_run.h"

#include <gtest/gtest.h>

#include "tests/support/test_run.h"

namespace {

using runtests::ErrorDocument;
using runtests::MaskClock;
using runtests::TestRun;
using runtests::TimeChannel;
using testsupport::Answered;
using testsupport::Ended;
using testsupport::LibraryFailedWith;

const SystemFields kPrd{"prdhost", "PRD", "740", "ORACLE", "Linux", "10.0.0.1"};
const Durations kTimes{16, 2, 3, 1234};
const std::string kSystemText =
    "(PRD) Sys-Info: Host=prdhost, Sid=PRD, Is=00, Rel=7.40, Dbs=ORACLE, Os=Linux, IP=10.0.0.1";
const std::string kDocument =
    "\n<Prtg>\n\n<Text>" + kSystemText + "</Text>\n" + TimeChannel("RFC-Open Time", "0016") +
    TimeChannel("Processing Time", "0002") + TimeChannel("RFC-Close Time", "0003") +
    TimeChannel("Response Time", "1234") + "\n</Prtg>\n";

struct SingleCase {
  const char* name;
  std::string parameters;
  Conversation conversation;
  std::string printed;
  int exitCode;
};

void PrintTo(const SingleCase& c, std::ostream* os) { *os << c.name; }

class SingleRunTest : public testing::TestWithParam<SingleCase> {};

// Each way a system's conversation can end gives its document and exit code, and the library's
// trace is handed over only once the document is out.
TEST_P(SingleRunTest, PrintsTheDocumentOfHowTheConversationEnded) {
  const SingleCase& c = GetParam();
  TestRun test(c.parameters, {c.conversation});
  const int exitCode = test.Run([&] { return RunSingleSystem(test.run); });
  EXPECT_EQ(test.printed(), c.printed);
  EXPECT_EQ(exitCode, c.exitCode);
  ASSERT_EQ(test.client->received().size(), 1u);
  EXPECT_EQ(test.client->received()[0].call, CallChoice::CallSystemInfo);
  EXPECT_EQ(test.client->finishes(), 1);
  EXPECT_EQ(test.client->printedAtFinish(), c.printed);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, SingleRunTest,
    testing::Values(
        SingleCase{"answered", "", Answered(kPrd, kTimes), kDocument, 0},
        SingleCase{"check list", "/check", Answered(kPrd, kTimes),
                   "\n* HostName......:  prdhost\n* System-ID.......:  PRD\n* SAP-Instance.:  00"
                   "\n* SAP Release..:  7.40\n* DB-System.....:  ORACLE"
                   "\n* OS-System.....:  Linux\n* IP-Address.....:  10.0.0.1",
                   0},
        SingleCase{"limits on the response time", "X,WARN=500,ERROR=900", Answered(kPrd, kTimes),
                   "\n<Prtg>\n\n<Text>" + kSystemText + "</Text>\n" +
                       TimeChannel("RFC-Open Time", "0016") +
                       TimeChannel("Processing Time", "0002") +
                       TimeChannel("RFC-Close Time", "0003") +
                       TimeChannel("Response Time", "1234",
                                   "\n<LimitMode>1</LimitMode>\n<LimitMaxWarning>500"
                                   "</LimitMaxWarning>\n<LimitWarningMsg>Response Time above "
                                   "500 ms</LimitWarningMsg>\n<LimitMaxError>900</LimitMaxError>"
                                   "\n<LimitErrorMsg>Response Time above 900 ms</LimitErrorMsg>") +
                       "\n</Prtg>\n",
                   0},
        SingleCase{"not opened", "", Ended(Outcome::NotOpened, {}, " - partner not reached"),
                   ErrorDocument("Error 1011: RFC-Open for PRD failed ! - partner not reached"), 2},
        SingleCase{"system exception", "",
                   Ended(Outcome::SystemException, kTimes, " - Please Check Trace-File !"),
                   ErrorDocument("Error 1013: Sys-Exception raised ! - Please Check Trace-File !"),
                   2},
        SingleCase{"call failed", "", Ended(Outcome::CallFailed, kTimes, " - call refused"),
                   ErrorDocument("Error 1014: RFC-Failure raised ! - call refused"), 2},
        SingleCase{"other failure", "", Ended(Outcome::OtherFailure, kTimes, " - code 7"),
                   ErrorDocument("Error 1015: Other Failure raised ! - code 7"), 2},
        SingleCase{"library failure", "",
                   LibraryFailedWith({"RfcReceive", "TIMEOUT", "RfcReceive",
                                      "no reply within 30000 ms", ""}),
                   "RFC error\noperation/code  : RfcReceive\nkey             : TIMEOUT\n"
                   "status          : RfcReceive\nmessage         : no reply within 30000 ms\n"
                   "internal status : \n\n* Programm aborted...\n* Error at EoXput-File...\n",
                   1}));

TEST(SingleRunTest, AnExceptionIsNamedInItsText) {
  Conversation conversation = Ended(Outcome::Exception, kTimes, " - Look for Trace-File");
  conversation.exception = "NOT_AUTHORIZED";
  TestRun test("", {conversation});
  EXPECT_EQ(test.Run([&] { return RunSingleSystem(test.run); }), 2);
  EXPECT_EQ(test.printed(),
            ErrorDocument("Error 1012: Exception.: NOT_AUTHORIZED - Look for Trace-File"));
}

TEST(SingleRunTest, ConsoleMarksAddTheProgressLinesAroundTheDocument) {
  Conversation conversation = Answered(kPrd, kTimes);
  conversation.throughSapRfcIni = true;
  TestRun test("A%B x", {conversation});
  EXPECT_EQ(test.Run([&] { return RunSingleSystem(test.run); }), 0);
  EXPECT_EQ(MaskClock(test.printed()),
            "* hh:mm:ss SAP SysInfo Vers 4.4 / 15.02.23\n"
            "* hh:mm:ss PRD.P00, prdhost, PRD, 00, 100 State=Processing\n"
            "* hh:mm:ss SysInfo - A State=Executing\n"
            "* SapRfc.Ini.......: PRD<\n" +
                kDocument + "\n* hh:mm:ss SAP SysInfo now processed...\n");

  // Without console marks the document stands alone, whatever way the connection went.
  TestRun quiet("", {conversation});
  EXPECT_EQ(quiet.Run([&] { return RunSingleSystem(quiet.run); }), 0);
  EXPECT_EQ(quiet.printed(), kDocument);
}

TEST(SingleRunTest, TheLogonCarriesTheParameterTextsHostAndSystemNumber) {
  TestRun test("X,HOST=otherhost,NO=07", {Answered(kPrd, kTimes)});
  test.Run([&] { return RunSingleSystem(test.run); });
  ASSERT_EQ(test.client->received().size(), 1u);
  const Logon& logon = test.client->received()[0].logon;
  EXPECT_EQ(logon.hostName, "otherhost");
  EXPECT_EQ(logon.systemNumber, "07");
  EXPECT_EQ(logon.destination, "PRD");
  EXPECT_EQ(logon.password, "secret");
}

}  // namespace
