// Odd and hostile bytes from every side the sensor reads (the remote system, the profile, the
// file name, the arguments, the listing, the library's trace): the monitor always gets a
// well-formed document, since Drives::RunSensor parses every document with a real XML parser.
#include <gtest/gtest.h>

#include <functional>
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

const std::string kSensorDirectory = testsupport::kSensorDirectory;

// Through each RFC library: the NetWeaver library's texts arrive as UTF-16 and its reasons come
// from its error record, and still every document is well-formed.
class HostileInputEndToEnd : public testing::TestWithParam<testsupport::RfcLibrary> {
 protected:
  HostileInputEndToEnd() {
    drives_.MakeDirectory(kSensorDirectory);
    drives_.UseLibrary(GetParam());
    const json systems = {
        {{"name", "ODD"},
         {"rfcsi",
          {{"RFCHOST", "a<b&c"}, {"RFCSYSID", "\x01\x02\x1b"}, {"RFCOPSYS", "Lin\x07ux"}}}},
        {{"name", "EXC"}, {"answer", {{"exception", "BAD\x01NAME\x1b"}}}},
        {{"name", "MSG"}, {"answer", {{"code", 1}, {"message", "reason <&>\x07 here"}}}},
    };
    sim_ = std::make_unique<Sapsim>(json{{"systems", systems}}.dump());
    WriteProfiles();
  }

  void WriteProfiles() const {
    for (const std::string system : {"ODD", "EXC", "MSG"}) {
      testsupport::WriteSystemProfile(drives_, *sim_, system);
    }
  }

  // The profile with its line of `key` holding `value` instead, bytes as they are: what a text
  // editor on the probe may leave, and what sapprofile would refuse to write.
  void SetValue(const std::string& file, const std::string& key, const std::string& value) const {
    std::string text = *drives_.Read(kSensorDirectory + file);
    const std::size_t at = text.find(key);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, text.find('\n', at) - at, key + " " + value);
    drives_.Write(kSensorDirectory + file, text);
  }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

TEST_P(HostileInputEndToEnd, EveryDocumentIsWellFormed) {
  struct Case {
    std::string what;
    std::function<void()> prepare;
    std::vector<std::string> arguments;
    int exitCode;
    std::string expected;  // a piece of the document
  } cases[] = {
      {"control characters and markup from the remote system",
       [] {},
       {"ODD"},
       0,
       "<Text>(ODD) Sys-Info: Host=a&lt;b&amp;c, Sid=   , Is=00, Rel=., Dbs=, Os=Lin ux, IP="},
      {"a profile saved as Windows-1252",
       [this] { SetValue("ODD.P00", "Destination:", "PRD\xc4"); },
       {"ODD"},
       0,
       "<Text>(PRD\xc3\x84) Sys-Info: "},
      {"a control character in a profile value",
       [this] {
         SetValue("ODD.P00", "Destination:",
                  "PR\x07"
                  "D");
       },
       {"ODD"},
       0,
       "<Text>(PR D) Sys-Info: "},
      {"a control character in the profile's name",
       [] {},
       {"PR\x01"
        "D"},
       2,
       "<Text>Error 1002: Profile PR D.P00 is missing...</Text>"},
      {"a control character in an argument",
       [] {},
       {"/Flavour=X\x1bY", "ODD"},
       2,
       "<Text>Error 1043: Unknown Flavour X Y ! Valid are "},
      {"a control character in an exception's name",
       [] {},
       {"EXC"},
       2,
       "<Text>Error 1012: Exception.: BAD NAME  - "},
      {"markup in the library's trace",
       [] {},
       {"MSG"},
       2,
       "<Text>Error 1014: RFC-Failure raised ! - reason &lt;&amp;&gt;  here</Text>"},
      {"a listed system that opens through SapRfc.ini",
       [this] {
         drives_.Write("C:\\work\\SapRfc.ODD",
                       "DEST=ODD\nGWHOST=127.0.0.1\nGWSERV=" + std::to_string(sim_->Port("ODD")));
         drives_.Write(kSensorDirectory + "Talvex.Prf", "# Gsng: 123456789012ODD.P00#\n");
       },
       {"X", "ITEM=Response:Time"},
       0,
       "<Text>(***) Response Time: NoSystems=1, Processed=1, Failed=0</Text>"},
      {"a control character in the item",
       [this] { drives_.Write(kSensorDirectory + "Talvex.Prf", "# Gsng: 123456789012ODD.P00#\n"); },
       {"X", "ITEM=Response:Time\x02"},
       0,
       "<Text>(***) Response Time : NoSystems=1, Processed=0, Failed=1</Text>"},
      {"a listed system named by a Windows-1252 host name",
       [this] {
         SetValue("ODD.P00", "Hostname...:", "h\xf6st");
         drives_.Write(kSensorDirectory + "Talvex.Gbl",
                       "# GSNG: SENSOR0001--ODD.P00#\n"
                       "# GSNX: SENSOR0001-Item=Response:Time,Host,Sensor=\"SAP SysInfo\"\n");
       },
       {"GLOBAL", "SENSOR0001"},
       0,
       "<Result><Channel>h\xc3\xb6st</Channel>"},
      {"a control character in the sensor id",
       [] {},
       {"GLOBAL", "SENS\x02"},
       2,
       "<Text>Error 1030: Global Sensor SENS  not found...</Text>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteProfiles();
    drives_.Write(kSensorDirectory + "Talvex.Gbl", "# GSNG: NONE--X#\n");
    c.prepare();
    const ProcessResult result = drives_.RunSensor(c.arguments);
    EXPECT_TRUE(testsupport::LooksLikeXmlDocument(result.out)) << result.out;
    EXPECT_NE(result.out.find(c.expected), std::string::npos) << result.out;
    EXPECT_EQ(result.exitCode, c.exitCode) << result.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, HostileInputEndToEnd,
                         testing::Values(testsupport::RfcLibrary::Classic,
                                         testsupport::RfcLibrary::NetWeaver),
                         [](const auto& test) { return testsupport::NameOf(test.param); });

}  // namespace
