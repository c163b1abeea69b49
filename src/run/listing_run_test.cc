#include "src/run/listing_run.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/test_run.h"

namespace {

using runtests::ErrorDocument;
using runtests::MaskClock;
using runtests::TestRun;
using runtests::TimeChannel;
using testsupport::Answered;
using testsupport::Ended;
using testsupport::LibraryFailedWith;

const SystemFields kFields{"host", "SID", "740", "ORACLE", "Linux", "10.0.0.1"};

// Each system's durations tell it apart: open 1n, processing 2n, close 3n, response 4n.
Durations Times(int n) { return {10 + n, 20 + n, 30 + n, 40 + n}; }
Conversation Ok(int n) { return Answered(kFields, Times(n)); }

// The listed profiles: what each path holds, and the values it names.
struct Profile {
  ListedProfile kind = ListedProfile::Valid;
  SystemEntry values;
};

class ListingRunTest : public testing::Test {
 protected:
  // Runs the listing of `names` reporting `item`, with `script` as the library's answers.
  int RunListingOf(const std::string& names, const std::string& item,
                   std::vector<Conversation> script, const std::string& parameters = "",
                   DisplayMode display = DisplayMode::Profile) {
    test_ = std::make_unique<TestRun>(parameters, std::move(script));
    test_->run.profile.directory = "C:\\ExeXml\\";
    test_->run.readListedProfile = [this](const std::string& path, SystemEntry& entry) {
      read_.push_back(path);
      auto profile = profiles_.find(path.substr(path.rfind('\\') + 1));
      if (profile == profiles_.end()) return ListedProfile::Missing;
      for (const EntryKey& key : EntryKeys()) {
        const std::string& value = profile->second.values.*key.value;
        if (!value.empty()) entry.*key.value = value;
      }
      return profile->second.kind;
    };
    ServerListing listing;
    listing.names = names;
    listing.itemName = item;
    listing.display = display;
    return test_->Run([&] { return RunListing(test_->run, listing); });
  }

  void AddProfile(const std::string& name, ListedProfile kind = ListedProfile::Valid) {
    Profile profile;
    profile.kind = kind;
    profile.values.destination = name.substr(0, 3);
    profile.values.hostname = "host" + name.substr(0, 1);
    profile.values.sysnr = "00";
    profile.values.client = "100";
    profiles_[name] = profile;
  }

  const std::string& printed() const { return test_->printed(); }
  const std::vector<testsupport::ScriptedRfcClient::Received>& received() const {
    return test_->client->received();
  }

  std::map<std::string, Profile> profiles_;
  std::vector<std::string> read_;
  std::unique_ptr<TestRun> test_;
};

const std::string kHead = "\n<Prtg>\n\n";
std::string Ending(const std::string& summary) {
  return "\n\n<Text>" + summary + "</Text>\n\n</Prtg>\n\n";
}

// Each item gives one channel per system, in listing order, named after the system: the open
// and processing times only of a system that answered, the close and response times of every
// connected one. A system counts as processed when its entry is valid, it answered and its
// channel was delivered.
TEST_F(ListingRunTest, EachItemGivesOneChannelPerSystemAndTheCounts) {
  AddProfile("PRD.P00");
  AddProfile("QAS.P00");
  AddProfile("BAD.P00", ListedProfile::Invalid);
  AddProfile("DEV.P00");
  const std::string names = "PRD.P00#QAS.P00#GONE.P00#BAD.P00#DEV.P00#";
  const auto script = [] {
    return std::vector<Conversation>{Ok(1), Ended(Outcome::Exception, Times(2)),
                                     Ended(Outcome::NotCalled, Times(3)), Ok(4)};
  };
  struct Case {
    std::string item;
    std::string channels;
    std::string counts;
  } cases[] = {
      {"RFC-Open Time", TimeChannel("PRD.P00", "0011") + TimeChannel("DEV.P00", "0014"),
       "NoSystems=5, Processed=2, Failed=2"},
      {"Processing Time", TimeChannel("PRD.P00", "0021") + TimeChannel("DEV.P00", "0024"),
       "NoSystems=5, Processed=2, Failed=2"},
      {"RFC-Close Time",
       TimeChannel("PRD.P00", "0031") + TimeChannel("QAS.P00", "0032") +
           TimeChannel("BAD.P00", "0033") + TimeChannel("DEV.P00", "0034"),
       "NoSystems=5, Processed=2, Failed=2"},
      {"Response Time",
       TimeChannel("PRD.P00", "0041") + TimeChannel("QAS.P00", "0042") +
           TimeChannel("BAD.P00", "0043") + TimeChannel("DEV.P00", "0044"),
       "NoSystems=5, Processed=2, Failed=2"},
      // An item that names no channel: every system fails.
      {"response time", "", "NoSystems=5, Processed=0, Failed=4"},
  };
  for (const Case& c : cases) {
    read_.clear();
    EXPECT_EQ(RunListingOf(names, c.item, script()), 0) << c.item;
    EXPECT_EQ(printed(), kHead + c.channels + Ending("(***) " + c.item + ": " + c.counts))
        << c.item;
    // The missing profile is looked for, counted and skipped; the invalid entry is connected
    // but not called.
    EXPECT_EQ(read_, (std::vector<std::string>{"C:\\ExeXml\\PRD.P00", "C:\\ExeXml\\QAS.P00",
                                               "C:\\ExeXml\\GONE.P00", "C:\\ExeXml\\BAD.P00",
                                               "C:\\ExeXml\\DEV.P00"}));
    ASSERT_EQ(received().size(), 4u);
    EXPECT_EQ(received()[0].logon.destination, "PRD");
    EXPECT_EQ(received()[2].logon.destination, "BAD");
    EXPECT_EQ(received()[2].call, CallChoice::ConnectOnly);
    EXPECT_EQ(received()[3].call, CallChoice::CallSystemInfo);
  }
}

TEST_F(ListingRunTest, ConsoleLinesNameEachSystemsState) {
  AddProfile("PRD.P00");
  AddProfile("QAS.P00");
  AddProfile("BAD.P00", ListedProfile::Invalid);
  EXPECT_EQ(RunListingOf("PRD.P00#QAS.P00#BAD.P00#", "Processing Time",
                         {Ok(1), Answered(kFields, Times(2)), Ended(Outcome::NotCalled, Times(3))},
                         "Item=Processing:Time #"),
            0);
  EXPECT_EQ(MaskClock(printed()),
            "* hh:mm:ss SAP SysInfo Vers 4.4 / 15.02.23\n"
            "* hh:mm:ss Item=Processing Time # State=Executing\n" +
                kHead + TimeChannel("PRD.P00", "0021") +
                "\n* hh:mm:ss PRD.P00, hostP, PRD, 00, 100 State=Processed\n" +
                TimeChannel("QAS.P00", "0022") +
                "\n* hh:mm:ss QAS.P00, hostQ, QAS, 00, 100 State=Processed\n"
                "\n* hh:mm:ss BAD.P00, hostB, BAD, 00, 100 State=Rfc Failure\n" +
                Ending("(***) Processing Time: NoSystems=3, Processed=2, Failed=1") +
                "\n* hh:mm:ss SAP SysInfo now processed...\n");
}

TEST_F(ListingRunTest, AnAnsweredSystemWithoutItsChannelIsNotFound) {
  AddProfile("PRD.P00");
  EXPECT_EQ(RunListingOf("PRD.P00#", "RFC-Open Time", {Ok(1)}, "/CHECK #"), 0);
  EXPECT_NE(MaskClock(printed()).find("PRD.P00, hostP, PRD, 00, 100 State=Not Found\n"),
            std::string::npos)
      << printed();
  EXPECT_NE(printed().find("NoSystems=1, Processed=0, Failed=1"), std::string::npos);
}

// The first system whose connection cannot be opened ends the document after the channels
// before it; the systems after it are not tried.
TEST_F(ListingRunTest, AConnectionThatCannotBeOpenedEndsTheDocument) {
  AddProfile("PRD.P00");
  AddProfile("QAS.P00");
  AddProfile("DEV.P00");
  EXPECT_EQ(RunListingOf("PRD.P00#QAS.P00#DEV.P00#", "Response Time",
                         {Ok(1), Ended(Outcome::NotOpened), Ok(3)}),
            2);
  EXPECT_EQ(printed(), kHead + TimeChannel("PRD.P00", "0041") +
                           "<Error>1</Error>\n<Text>Error 1033: RFC Open-Error... </Text>\n"
                           "</Prtg>\n");
  EXPECT_EQ(received().size(), 2u);

  // The document's text names no system; the console lines name the one it failed on.
  EXPECT_EQ(RunListingOf("PRD.P00#QAS.P00#DEV.P00#", "Response Time",
                         {Ok(1), Ended(Outcome::NotOpened), Ok(3)}, "X #"),
            2);
  EXPECT_TRUE(MaskClock(printed()).ends_with(
      "\n* hh:mm:ss QAS.P00, hostQ, QAS, 00, 100 State=Rfc Failure\n"
      "<Error>1</Error>\n<Text>Error 1033: RFC Open-Error... </Text>\n"
      "</Prtg>\n"))
      << printed();
}

// A library failure ends the document with what the library said, exit code 1.
TEST_F(ListingRunTest, ALibraryFailureEndsTheDocument) {
  AddProfile("PRD.P00");
  AddProfile("QAS.P00");
  AddProfile("DEV.P00");
  EXPECT_EQ(RunListingOf("PRD.P00#QAS.P00#DEV.P00#", "Response Time",
                         {Ok(1),
                          LibraryFailedWith({"RfcReceive", "CONNECTION_BROKEN", "",
                                             "connection to a<b broken", ""}),
                          Ok(3)}),
            1);
  EXPECT_EQ(printed(), kHead + TimeChannel("PRD.P00", "0041") +
                           "<Error>1</Error>\n<Text>RFC error in RfcReceive: CONNECTION_BROKEN - "
                           "connection to a&lt;b broken</Text>\n</Prtg>\n");
  EXPECT_EQ(received().size(), 2u);
}

TEST_F(ListingRunTest, LimitsGoOnEveryChannelAndTheFailedSystemsAreCounted) {
  AddProfile("PRD.P00");
  AddProfile("QAS.P00");
  const std::string limits =
      "\n<LimitMode>1</LimitMode>\n<LimitMaxWarning>40</LimitMaxWarning>\n<LimitWarningMsg>"
      "Response Time above 40 ms</LimitWarningMsg>";
  EXPECT_EQ(RunListingOf("PRD.P00#QAS.P00#", "Response Time",
                         {Ok(1), Ended(Outcome::CallFailed, Times(2))}, "X,warn=40,Failed"),
            0);
  EXPECT_EQ(printed(), kHead + TimeChannel("PRD.P00", "0041", limits) +
                           TimeChannel("QAS.P00", "0042", limits) +
                           "\n<Result><Channel>Failed Systems</Channel>\n<Unit>Count</Unit>\n"
                           "<Value>1</Value>\n<LimitMode>1</LimitMode>\n<LimitMaxError>0"
                           "</LimitMaxError>\n<LimitErrorMsg>At least one SAP system failed"
                           "</LimitErrorMsg></Result>\n" +
                           Ending("(***) Response Time: NoSystems=2, Processed=1, Failed=1"));
}

// A value that a later profile does not name keeps the value an earlier one set, and each
// system's channel is named by the listing's display mode.
TEST_F(ListingRunTest, LaterSystemsKeepValuesTheirProfilesDoNotName) {
  AddProfile("PRD.P00");
  Profile qas;
  qas.values.destination = "QAS";
  profiles_["QAS.P00"] = qas;
  EXPECT_EQ(
      RunListingOf("PRD.P00#QAS.P00#", "Response Time", {Ok(1), Ok(2)}, "", DisplayMode::Host), 0);
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[1].logon.destination, "QAS");
  EXPECT_EQ(received()[1].logon.hostName, "hostP");
  EXPECT_EQ(printed(), kHead + TimeChannel("hostP", "0041") + TimeChannel("hostP", "0042") +
                           Ending("(***) Response Time: NoSystems=2, Processed=2, Failed=0"));
}

TEST(SystemStateTest, TheLastRuleWins) {
  const Conversation answered = Ok(1);
  const Conversation failed = Ended(Outcome::CallFailed);
  EXPECT_EQ(SystemState(EntryValidity::Valid, answered, ItemDelivery::Delivered), "Processed");
  EXPECT_EQ(SystemState(EntryValidity::Valid, answered, ItemDelivery::NotDelivered), "Not Found");
  EXPECT_EQ(SystemState(EntryValidity::Valid, failed, ItemDelivery::Delivered), "Rfc Failure");
  EXPECT_EQ(SystemState(EntryValidity::Invalid, answered, ItemDelivery::Delivered), "Rfc Failure");
}

}  // namespace
