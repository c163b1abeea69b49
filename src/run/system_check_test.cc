#include "src/run/system_check.h"

#include <gtest/gtest.h>

#include "tests/support/test_run.h"

namespace {

using runtests::TestRun;
using testsupport::Ended;
using testsupport::ScriptedRfcClient;

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

// The library is loaded for the run's first system and kept for the others.
TEST(CheckSystemTest, LoadsTheLibraryOnceWhenTheFirstSystemIsChecked) {
  TestRun test("", {});
  test.run.client.reset();
  int loads = 0;
  ScriptedRfcClient* loaded = nullptr;
  test.run.loadClient = [&](LibraryWatch& watch) {
    ++loads;
    EXPECT_EQ(&watch, test.run.libraryWatch.get());
    auto client = std::make_unique<ScriptedRfcClient>(
        std::vector<Conversation>{Ended(Outcome::NotCalled), Ended(Outcome::NotOpened)});
    loaded = client.get();
    return client;
  };
  EXPECT_EQ(CheckSystem(test.run, CallChoice::ConnectOnly).outcome, Outcome::NotCalled);
  EXPECT_EQ(CheckSystem(test.run, CallChoice::CallSystemInfo).outcome, Outcome::NotOpened);
  EXPECT_EQ(loads, 1);
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->received().size(), 2u);
  EXPECT_EQ(loaded->received()[0].call, CallChoice::ConnectOnly);
  EXPECT_EQ(loaded->received()[1].call, CallChoice::CallSystemInfo);
}

}  // namespace
