// Limits the monitor alerts on, and the channel that counts a listing's failed systems, read
// back from the documents with a real XML parser.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/profiles.h"
#include "tests/support/xml_document.h"

namespace {

using nlohmann::json;
using testsupport::Drives;
using testsupport::ProcessResult;
using testsupport::Sapsim;
using testsupport::XmlChannels;
using Channel = std::map<std::string, std::string>;

const std::string kSensorDirectory = testsupport::kSensorDirectory;

testsupport::RfcLibrary LibraryOf(testsupport::RfcLibrary library) { return library; }
testsupport::RfcLibrary LibraryOf(const testsupport::ListingVariant& variant) {
  return variant.library;
}

// SLOW takes 600 ms to open, FAST answers at once; FAIL and NONE fail their calls. The cases
// run through each RFC library (`Variant` names it).
template <typename Variant>
class Alerting : public testing::TestWithParam<Variant> {
 protected:
  Alerting() {
    drives_.MakeDirectory(kSensorDirectory);
    drives_.UseLibrary(LibraryOf(this->GetParam()));
    const json systems = {
        {{"name", "SLOW"}, {"delays", {{"open", 600}}}},
        {{"name", "FAST"}},
        {{"name", "FAIL"}, {"answer", {{"code", 1}}}},
        {{"name", "NONE"}, {"answer", {{"exception", "NOT_THERE"}}}},
    };
    sim_ = std::make_unique<Sapsim>(json{{"systems", systems}}.dump());
    for (const std::string name : {"SLOW", "FAST", "FAIL", "NONE"}) {
      testsupport::WriteSystemProfile(drives_, *sim_, name);
    }
  }

  std::vector<Channel> Channels(const std::vector<std::string>& arguments) {
    const ProcessResult result = drives_.RunSensor(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.out;
    return XmlChannels(result.out);
  }

  static long Value(const Channel& channel) { return std::stol(channel.at("Value")); }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

using AlertingEndToEnd = Alerting<testsupport::RfcLibrary>;

TEST_P(AlertingEndToEnd, ASingleRunsResponseTimeCarriesTheLimits) {
  for (const std::string system : {"SLOW", "FAST"}) {
    SCOPED_TRACE(system);
    const std::vector<Channel> channels = Channels({system, ",WARN=250,ERROR=5000"});
    ASSERT_EQ(channels.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(channels[i].count("LimitMode"), 0u);
    const Channel& response = channels[3];
    EXPECT_EQ(response.at("Channel"), "Response Time");
    EXPECT_EQ(response.at("LimitMode"), "1");
    EXPECT_EQ(response.at("LimitMaxWarning"), "250");
    EXPECT_EQ(response.at("LimitWarningMsg"), "Response Time above 250 ms");
    EXPECT_EQ(response.at("LimitMaxError"), "5000");
    EXPECT_EQ(response.at("LimitErrorMsg"), "Response Time above 5000 ms");
    // What the monitor will make of it: the slow system past the warning, the fast one not.
    EXPECT_EQ(Value(response) > 250, system == "SLOW") << Value(response);
  }
}

// The listing's cases, with its systems checked at a time as by default and one at a time.
class AlertingListingEndToEnd : public Alerting<testsupport::ListingVariant> {
 protected:
  std::vector<Channel> ListingChannels(const std::vector<std::string>& arguments) {
    return Channels(testsupport::WithSystemsAtATime(arguments, GetParam().systems));
  }
};

TEST_P(AlertingListingEndToEnd, EveryChannelOfAListingCarriesTheLimits) {
  drives_.Write(kSensorDirectory + "Talvex.Prf", "# Gsng: 123456789012SLOW.P00#FAST.P00#\n");
  const std::vector<Channel> channels = ListingChannels({"X", "ITEM=Response:Time,warn=250"});
  ASSERT_EQ(channels.size(), 2u);
  for (const Channel& channel : channels) {
    EXPECT_EQ(channel.at("LimitMaxWarning"), "250") << channel.at("Channel");
    EXPECT_EQ(channel.at("LimitWarningMsg"), "Response Time above 250 ms");
    EXPECT_EQ(channel.count("LimitMaxError"), 0u);
  }
  EXPECT_GT(Value(channels[0]), 250);
  EXPECT_LE(Value(channels[1]), 250);
}

TEST_P(AlertingListingEndToEnd, TheFailedSystemsChannelCountsTheListingsFailures) {
  struct Case {
    std::string listing;
    std::string failed;
  } cases[] = {{"SLOW.P00#FAST.P00#", "0"}, {"FAIL.P00#FAST.P00#NONE.P00#", "2"}};
  for (const Case& c : cases) {
    drives_.Write(kSensorDirectory + "Talvex.Prf", "# Gsng: 123456789012" + c.listing + "\n");
    const std::vector<Channel> channels = ListingChannels({"X", "ITEM=RFC-Close:Time,FAILED"});
    ASSERT_FALSE(channels.empty());
    const Channel& failed = channels.back();
    EXPECT_EQ(failed.at("Channel"), "Failed Systems");
    EXPECT_EQ(failed.at("Unit"), "Count");
    EXPECT_EQ(failed.at("Value"), c.failed) << c.listing;
    EXPECT_EQ(failed.at("LimitMode"), "1");
    EXPECT_EQ(failed.at("LimitMaxError"), "0");
    EXPECT_EQ(failed.at("LimitErrorMsg"), "At least one SAP system failed");
  }
}

TEST_P(AlertingEndToEnd, WithoutTheKeywordsTheDocumentsStayAsTheyWere) {
  drives_.Write(kSensorDirectory + "Talvex.Prf", "# Gsng: 123456789012FAST.P00#\n");
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"FAST"}, {"FAST", "x,FAILED"}, {"X", "ITEM=Response:Time"}}) {
    const ProcessResult result = drives_.RunSensor(arguments);
    EXPECT_EQ(result.out.find("Limit"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("Failed Systems"), std::string::npos) << result.out;
  }
}

TEST_P(AlertingEndToEnd, ALimitThatIsNoNumberEndsTheRun) {
  const ProcessResult result = drives_.RunSensor({"FAST", ",ERROR=2s"});
  EXPECT_EQ(result.out, testsupport::ErrorDocument(
                            "Error 1046: Invalid Limit ERROR=2s (1 to 999999 Milliseconds) !"));
  EXPECT_EQ(result.exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Libraries, AlertingEndToEnd,
                         testing::Values(testsupport::RfcLibrary::Classic,
                                         testsupport::RfcLibrary::NetWeaver),
                         [](const auto& test) { return testsupport::NameOf(test.param); });
INSTANTIATE_TEST_SUITE_P(Listings, AlertingListingEndToEnd,
                         testing::ValuesIn(testsupport::ListingVariants()),
                         [](const auto& test) { return testsupport::NameOf(test.param); });

}  // namespace
