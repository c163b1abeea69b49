// Listing runs end to end: the real sapsysinfo over several sapsim systems, one channel per
// system and a summary, from the default profile's listing and from the global sensor listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/profiles.h"

namespace {

using nlohmann::json;
using testsupport::Drives;
using testsupport::ErrorDocument;
using testsupport::MaskClock;
using testsupport::MaskTimes;
using testsupport::ProcessResult;
using testsupport::ProfileValues;
using testsupport::Sapsim;
using testsupport::XmlChannel;

const std::string kSensorDirectory = testsupport::kSensorDirectory;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// What a listing run prints without console lines: the head, each channel as it was measured,
// then the summary in the text element and the end of the document.
std::string ListingDocument(const std::vector<std::string>& channels, const std::string& summary) {
  std::string document = "\n<Prtg>\n\n";
  for (const std::string& name : channels) document += XmlChannel(name);
  return document + "\n\n<Text>" + summary + "</Text>\n\n</Prtg>\n\n";
}

// A listing line of the default profile: the tag, twelve characters nobody reads, the piece.
std::string GsngLine(const std::string& piece) { return "# Gsng: 123456789012" + piece + "\n"; }

// sapsim with PRD and QAS, which accept every logon, and BIN, which refuses every one. Each
// case runs with the systems checked as many at a time as by default and one at a time, and
// through each RFC library.
class ListingRunEndToEnd : public testing::TestWithParam<testsupport::ListingVariant> {
 protected:
  ListingRunEndToEnd() {
    drives_.MakeDirectory(kSensorDirectory);
    drives_.UseLibrary(GetParam().library);
  }

  // `changes` holds, by system name, fields that replace the defaults of that system.
  void Start(const json& changes = json::object()) {
    json systems = json::array();
    for (const std::string name : {"PRD", "QAS", "BIN"}) {
      json system = {{"name", name},
                     {"rfcsi", {{"RFCHOST", Lower(name) + "host"}, {"RFCSYSID", name}}}};
      if (name == "BIN") system["logons"] = {{{"user", "SOMEONE"}}};
      if (changes.contains(name)) system.update(changes[name]);
      systems.push_back(system);
    }
    sim_ = std::make_unique<Sapsim>(json{{"systems", systems}}.dump(),
                                    testsupport::SapsimOptions{.record = true});
  }

  // The values of a profile for `system`: its destination, host prdhost (for PRD), its port.
  ProfileValues Values(const std::string& system) const {
    ProfileValues values;
    values.destination = system;
    values.host = Lower(system) + "host";
    values.gwservice = std::to_string(sim_->Port(system));
    return values;
  }

  void WriteProfile(const std::string& file, const ProfileValues& values,
                    const std::string& password = "secret") const {
    testsupport::WriteProfile(drives_, kSensorDirectory + file, values, password);
  }
  void WriteProfile(const std::string& file, const std::string& system) const {
    WriteProfile(file, Values(system));
  }

  void Write(const std::string& file, const std::string& text) const {
    drives_.Write(kSensorDirectory + file, text);
  }
  std::string Read(const std::string& file) const {
    return drives_.Read(kSensorDirectory + file).value_or("");
  }

  // The profile with every line that begins with `key` replaced by `replacement` lines.
  void ReplaceLine(const std::string& file, const std::string& key,
                   const std::string& replacement) const {
    std::string text = Read(file);
    const std::size_t at = text.find(key);
    ASSERT_NE(at, std::string::npos) << file << " has no " << key;
    text.replace(at, text.find('\n', at) + 1 - at, replacement);
    Write(file, text);
  }

  ProcessResult Run(const std::vector<std::string>& arguments) const {
    return drives_.RunSensor(testsupport::WithSystemsAtATime(arguments, GetParam().systems));
  }

  bool OneAtATime() const { return GetParam().systems == testsupport::SystemsAtATime::One; }
  bool NetWeaver() const { return GetParam().library == testsupport::RfcLibrary::NetWeaver; }

  // The conversations sapsim saw after the first `before` events: in listing order one at a
  // time; several at a time each system's own in order, the systems interleaved, so sorted.
  std::vector<std::string> ConversationsSince(std::size_t before) const {
    std::vector<std::string> events = Conversation();
    events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(before));
    if (!OneAtATime()) std::sort(events.begin(), events.end());
    return events;
  }
  std::vector<std::string> Expected(std::vector<std::string> events) const {
    if (!OneAtATime()) std::sort(events.begin(), events.end());
    return events;
  }

  // The recorded events as "event SYSTEM" texts, in the order sapsim received them. The
  // NetWeaver library's lookup of the function before its call is left out: the conversations
  // are the same otherwise.
  std::vector<std::string> Conversation() const {
    std::vector<std::string> events;
    for (const json& record : sim_->Recorded()) {
      if (record["event"] == "lookup") continue;
      events.push_back(record["event"].get<std::string>() + " " +
                       record["system"].get<std::string>());
    }
    return events;
  }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

TEST_P(ListingRunEndToEnd, EachItemGivesOneChannelPerSystemThenTheSummary) {
  // PRD takes a while in each step, so that each item shows which duration it measured.
  Start({{"PRD", {{"delays", {{"open", 160}, {"call", 80}, {"close", 40}}}}}});
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("QAS.P00", "QAS");
  Write("Talvex.Prf", "Comment lines and entries are no listing.\n" + GsngLine("PRD.P00#") +
                          "# gsng: 123456789012BIN.P00#\n" + GsngLine("QAS.P00#"));

  struct Case {
    std::string parameter;
    std::string item;
    long atLeast, below;  // PRD's value, in milliseconds
  } cases[] = {
      {"ITEM=RFC-Open:Time", "RFC-Open Time", 160, 240},
      {"ITEM=Processing:Time", "Processing Time", 80, 160},
      {"item=RFC-Close:Time", "RFC-Close Time", 40, 80},
      {"ITEM=Response:Time", "Response Time", 280, 100000},
  };
  for (const Case& c : cases) {
    const std::size_t before = Conversation().size();
    ProcessResult result = Run({"PRD", c.parameter});
    std::vector<long> times;
    EXPECT_EQ(MaskTimes(result.out, &times),
              ListingDocument({"PRD.P00", "QAS.P00"},
                              "(***) " + c.item + ": NoSystems=2, Processed=2, Failed=0"))
        << c.item;
    EXPECT_EQ(result.exitCode, 0) << c.item;
    EXPECT_EQ(result.err, "");
    ASSERT_EQ(times.size(), 2u) << result.out;
    EXPECT_GE(times[0], c.atLeast) << c.item;
    EXPECT_LT(times[0], c.below) << c.item;

    // One at a time, one conversation after the other, in the listing's order.
    EXPECT_EQ(ConversationsSince(before),
              Expected({"open PRD", "call PRD", "close PRD", "open QAS", "call QAS", "close QAS"}));
  }
}

TEST_P(ListingRunEndToEnd, NamesWithoutAProfileAreCountedAndSkipped) {
  Start();
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("QAS.P00", "QAS");
  // A long name shows that the listing lines are read 199 characters at a time.
  const std::string longName = std::string(90, 'N') + ".P00";
  struct Case {
    std::string listing;  // one or two pieces, each on a line of its own
    int systems;
  } cases[] = {
      {"PRD.P00#GONE.P00#QAS.P00#", 3},
      {"PRD.P00#" + longName + "#QAS.P00#", 3},
      // The empty name names the directory, not a profile.
      {"PRD.P00##QAS.P00#", 3},
      // A last name without its '#' is a system all the same.
      {"PRD.P00#QAS.P00", 2},
  };
  for (const Case& c : cases) {
    Write("Talvex.Prf", GsngLine(c.listing));
    const std::size_t before = Conversation().size();
    ProcessResult result = Run({"ANY", "ITEM=Response:Time"});
    EXPECT_EQ(MaskTimes(result.out),
              ListingDocument({"PRD.P00", "QAS.P00"},
                              "(***) Response Time: NoSystems=" + std::to_string(c.systems) +
                                  ", Processed=2, Failed=0"))
        << c.listing;
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Conversation().size() - before, 6u) << c.listing;
  }
}

TEST_P(ListingRunEndToEnd, ItemThatNamesNoChannelFailsEverySystem) {
  Start();
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("QAS.P00", "QAS");
  Write("Talvex.Prf", GsngLine("PRD.P00#QAS.P00#"));
  for (const std::string item : {"Open:Time", "response:time", "Response:Time:"}) {
    ProcessResult result = Run({"PRD", "ITEM=" + item});
    std::string name = item;
    for (char& c : name) c = c == ':' ? ' ' : c;
    EXPECT_EQ(result.out,
              ListingDocument({}, "(***) " + name + ": NoSystems=2, Processed=0, Failed=2"))
        << item;
    EXPECT_EQ(result.exitCode, 0);
  }

  // Each system answered its call; only the item was not there.
  ProcessResult traced = Run({"PRD", "ITEM=Open:Time", "%"});
  EXPECT_NE(traced.out.find("PRD.P00, prdhost, PRD, 00, 100 State=Not Found\n"), std::string::npos)
      << traced.out;
  EXPECT_NE(traced.out.find("QAS.P00, qashost, QAS, 00, 100 State=Not Found\n"), std::string::npos)
      << traced.out;
}

// A damaged password fails only its own system, which is still connected but not called.
TEST_P(ListingRunEndToEnd, InvalidPasswordFailsThatSystemAlone) {
  Start();
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("QAS.P00", "QAS");
  WriteProfile("DEV.P00", "PRD");
  Write("Talvex.Prf", GsngLine("PRD.P00#QAS.P00#DEV.P00#"));

  const std::string stored = Read("QAS.P00");
  const std::size_t start = stored.find("Password...: ");
  std::string wrongCheckDigit = stored.substr(start, stored.find('\n', start) + 1 - start);
  // The first character of the body: the check digit no longer matches.
  wrongCheckDigit[17] = static_cast<char>(wrongCheckDigit[17] ^ 1);
  const std::string damaged[] = {"Password...: not a stored password\n", wrongCheckDigit};
  for (const std::string& line : damaged) {
    Write("QAS.P00", stored);
    ReplaceLine("QAS.P00", "Password...:", line);
    const std::size_t before = Conversation().size();
    ProcessResult result = Run({"PRD", "ITEM=Processing:Time"});
    EXPECT_EQ(MaskTimes(result.out),
              ListingDocument({"PRD.P00", "DEV.P00"},
                              "(***) Processing Time: NoSystems=3, Processed=2, Failed=1"))
        << line;
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ConversationsSince(before),
              Expected({"open PRD", "call PRD", "close PRD", "open QAS", "close QAS", "open PRD",
                        "call PRD", "close PRD"}))
        << line;
  }
}

TEST_P(ListingRunEndToEnd, ConnectionThatCannotBeOpenedEndsTheRunWithError1033) {
  Start();
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("BIN.P00", "BIN");
  WriteProfile("QAS.P00", "QAS");
  // Nobody listens at the port a stopped sapsim had.
  ProfileValues gone = Values("QAS");
  {
    Sapsim stopped(json{{"systems", {{{"name", "GONE"}}}}}.dump());
    gone.gwservice = std::to_string(stopped.Port("GONE"));
  }
  WriteProfile("GONE.P00", gone);

  // The trace's section of the failed open names the system (the document does not): GONE.P00
  // is QAS's destination at a closed port.
  const std::map<std::string, std::string> named = {{"BIN.P00", "system BIN.P00 (BIN)"},
                                                    {"GONE.P00", "system GONE.P00 (QAS)"}};
  for (const std::string refused : {"BIN.P00", "GONE.P00"}) {
    std::filesystem::remove(drives_.HostPath("C:\\work\\Dev_Rfc.Trc"));
    Write("Talvex.Prf", GsngLine("PRD.P00#" + refused + "#QAS.P00#"));
    const std::size_t before = sim_->Recorded().size();
    ProcessResult result = Run({"PRD", "ITEM=Response:Time"});
    // The error ends the document whose head and first channel are out already.
    const std::string error =
        "<Error>1</Error>\n<Text>Error 1033: RFC Open-Error... </Text>\n</Prtg>\n";
    EXPECT_EQ(MaskTimes(result.out), "\n<Prtg>\n\n" + XmlChannel("PRD.P00") + MaskTimes(error))
        << refused;
    EXPECT_TRUE(result.out.ends_with(error)) << result.out;
    EXPECT_EQ(result.exitCode, 2);
    // One at a time, QAS after it is not tried; several at a time it may have been started
    // before the refusal was known, and is stopped.
    const std::vector<json> recorded = sim_->Recorded();
    for (std::size_t i = before; i < recorded.size() && OneAtATime(); ++i) {
      EXPECT_NE(recorded[i]["system"], "QAS") << refused;
    }
    const std::string trace = drives_.Read("C:\\work\\Dev_Rfc.Trc").value_or("");
    EXPECT_NE(trace.find(named.at(refused)), std::string::npos) << trace;
    EXPECT_EQ(trace.find("secret"), std::string::npos) << trace;
  }
}

// The library's error handler ends the run; the document whose head and channels are out is
// ended with the error flag and what the library said, so the monitor still reads a document.
TEST_P(ListingRunEndToEnd, ALibraryErrorEndsTheOpenDocument) {
  Start({{"QAS", {{"fault", "drop_on_call"}}}});
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("QAS.P00", "QAS");
  Write("Talvex.Prf", GsngLine("PRD.P00#QAS.P00#"));
  const ProcessResult result = Run({"PRD", "ITEM=Response:Time"});
  const std::string head =
      "\n<Prtg>\n\n" + XmlChannel("PRD.P00") + "<Error>1</Error>\n<Text>RFC error in " +
      (NetWeaver() ? "RfcInvoke: CONNECTION_CLOSED - " : "RfcReceive: CONNECTION_BROKEN - ");
  EXPECT_EQ(MaskTimes(result.out).rfind(head, 0), 0u) << result.out;
  EXPECT_TRUE(result.out.ends_with("</Text>\n</Prtg>\n")) << result.out;
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(drives_.RunFoldersLeft().empty());
}

// Profiles of a listing are read into the same entry: a key a profile lacks keeps the value of
// the one before it, and lines are read 199 characters at a time.
TEST_P(ListingRunEndToEnd, MissingKeysKeepThePreviousProfilesValues) {
  Start();
  WriteProfile("PRD.P00", "PRD");
  ProfileValues qas = Values("QAS");
  qas.client = "200";
  WriteProfile("QAS.P00", qas);
  // Without Client and Gwservice, QAS logs on with PRD's client, at PRD's port.
  ReplaceLine("QAS.P00", "Gwservice..:", "");
  ReplaceLine("QAS.P00", "Client.....:",
              std::string(99, '*') + "Client.....: 999 would be read in pieces of 99\n");
  Write("Talvex.Prf", GsngLine("PRD.P00#QAS.P00#"));

  ProcessResult result = Run({"PRD", "ITEM=Response:Time"});
  EXPECT_EQ(MaskTimes(result.out),
            ListingDocument({"PRD.P00", "QAS.P00"},
                            "(***) Response Time: NoSystems=2, Processed=2, Failed=0"));
  std::vector<json> opens;
  for (const json& record : sim_->Recorded()) {
    if (record["event"] == "open" && record["host"] == "qashost") opens.push_back(record);
  }
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0]["system"], "PRD");
  EXPECT_EQ(opens[0]["client"], "100");
}

TEST_P(ListingRunEndToEnd, ConsoleLines) {
  Start();
  WriteProfile("PRD.P00", "PRD");
  WriteProfile("QAS.P00", "QAS");
  ReplaceLine("QAS.P00", "Password...:", "Password...: damaged\n");
  Write("Talvex.Prf", GsngLine("PRD.P00#GONE.P00#QAS.P00#"));

  ProcessResult result = Run({"PRD", "ITEM=Response:Time", "% @shown no more"});
  EXPECT_EQ(MaskClock(MaskTimes(result.out)),
            "* hh:mm:ss SAP SysInfo Vers 4.4 / 15.02.23\n"
            "* hh:mm:ss ITEM=Response Time % State=Executing\n"
            "\n<Prtg>\n\n" +
                XmlChannel("PRD.P00") +
                "\n* hh:mm:ss PRD.P00, prdhost, PRD, 00, 100 State=Processed\n" +
                XmlChannel("QAS.P00") +
                "\n* hh:mm:ss QAS.P00, qashost, QAS, 00, 100 State=Rfc Failure\n"
                "\n\n<Text>(***) Response Time: NoSystems=3, Processed=1, Failed=1</Text>\n"
                "\n</Prtg>\n\n"
                "\n* hh:mm:ss SAP SysInfo now processed...\n");
  EXPECT_EQ(result.exitCode, 0);
}

// The global sensor listing: each sensor's listing and allocation lines in Talvex.Gbl.
class GlobalListingEndToEnd : public ListingRunEndToEnd {
 protected:
  void SetUp() override {
    Start();
    ProfileValues alpha = Values("PRD");
    alpha.destination = "PR1";  // told apart from the profile's name
    WriteProfile("ALPHA.P00", alpha);
    ProfileValues beta = Values("QAS");
    beta.destination = "QA1";
    WriteProfile("BETA.P00", beta);
  }
};

// "# GSNG: " + the sensor id + two characters nobody reads + the piece.
std::string ListingLine(const std::string& sensor, const std::string& piece) {
  return "# GSNG: " + sensor + "--" + piece + "\n";
}
// "# GSNX: " + the sensor id + one character nobody reads + the allocation.
std::string AllocationLine(const std::string& sensor, const std::string& allocation) {
  return "# GSNX: " + sensor + "-" + allocation + "\n";
}
const std::string kSapSysInfo = ",Sensor=\"SAP SysInfo\"";

TEST_P(GlobalListingEndToEnd, PiecesJoinInOrderAndTheAllocationNamesItemAndDisplay) {
  const std::string listing =
      ListingLine("SENSOR0001", "ALPHA.P") + "# Gsng: OTHER-SENS--GONE.P00#\n" +
      ListingLine("sensor0001", "00#BETA.P00#") + ListingLine("SENSOR0002", "GONE.P00#");
  struct Case {
    std::string allocations;
    std::vector<std::string> arguments;
    std::vector<std::string> channels;
    std::string item = "Response Time";
  } cases[] = {
      {AllocationLine("SENSOR0001", "Item=Response:Time" + kSapSysInfo),
       {"GLOBAL", "Sensor0001"},
       {"ALPHA.P00", "BETA.P00"}},
      // Tags and ids in any case; ids alike in their first ten characters share the lines.
      {"# gsnx: sensor0001-Item=Response:Time,Alias" + kSapSysInfo + "\n",
       {"global", "SENSOR0001-and-more", "x"},
       {"ALPHA", "BETA"}},
      {AllocationLine("SENSOR0001", "Item=RFC-Close:Time,Host" + kSapSysInfo),
       {"C:\\elsewhere\\Global.p00", "sensor0001"},
       {"prdhost", "qashost"},
       "RFC-Close Time"},
      {AllocationLine("SENSOR0001", "Item=Response:Time,Sid" + kSapSysInfo),
       {"GLOBAL", "SENSOR0001"},
       {"PR1", "QA1"}},
      // The last of Profile, Alias, Host and Sid wins, wherever it stands in the line.
      {AllocationLine("SENSOR0001", "Item=Response:Time,Sid,Alias,Host,Profile" + kSapSysInfo),
       {"GLOBAL", "SENSOR0001"},
       {"PR1", "QA1"}},
      {AllocationLine("SENSOR0001", "Item=Response:Time" + kSapSysInfo + ",Host"),
       {"GLOBAL", "SENSOR0001"},
       {"prdhost", "qashost"}},
      // A later allocation takes the place of an earlier one, but keeps its display mode.
      {AllocationLine("SENSOR0001", "Item=Response:Time,Alias" + kSapSysInfo) +
           AllocationLine("SENSOR0001", "Item=Processing:Time" + kSapSysInfo),
       {"GLOBAL", "SENSOR0001"},
       {"ALPHA", "BETA"},
       "Processing Time"},
  };
  // The listing and another sensor's allocation come first in every case.
  const std::string before = listing + AllocationLine("SENSOR0002", "Item=Open:Time" + kSapSysInfo);
  for (const Case& c : cases) {
    Write("Talvex.Gbl", before + c.allocations);
    ProcessResult result = Run(c.arguments);
    EXPECT_EQ(
        MaskTimes(result.out),
        ListingDocument(c.channels, "(***) " + c.item + ": NoSystems=2, Processed=2, Failed=0"))
        << c.allocations;
    EXPECT_EQ(result.exitCode, 0);
  }
}

// The allocation's text up to ",Sensor=" becomes the parameter text the console shows.
TEST_P(GlobalListingEndToEnd, AllocationReplacesTheParameterText) {
  Write("Talvex.Gbl",
        ListingLine("SENSOR0001", "ALPHA.P00#") +
            AllocationLine("SENSOR0001", "Item=Response:Time,Sid" + kSapSysInfo + ",Alias"));
  ProcessResult result = Run({"GLOBAL", "SENSOR0001 %"});
  EXPECT_EQ(MaskClock(MaskTimes(result.out)),
            "* hh:mm:ss SAP SysInfo Vers 4.4 / 15.02.23\n"
            "* hh:mm:ss Item=Response Time,Sid State=Executing\n"
            "\n<Prtg>\n\n" +
                XmlChannel("PR1") +
                "\n* hh:mm:ss ALPHA.P00, prdhost, PR1, 00, 100 State=Processed\n"
                "\n\n<Text>(***) Response Time: NoSystems=1, Processed=1, Failed=0</Text>\n"
                "\n</Prtg>\n\n"
                "\n* hh:mm:ss SAP SysInfo now processed...\n");
}

// The connection options come from the command line, with their values from the same text; an
// allocation's text only stands in for the parameters on the console.
TEST_P(GlobalListingEndToEnd, ConnectionOptionsKeepTheCommandLinesValues) {
  Write("Talvex.Gbl",
        ListingLine("SENSOR0001", "ALPHA.P00#") +
            AllocationLine("SENSOR0001", "Item=Response:Time,HOST=other,NO=9" + kSapSysInfo));
  ProcessResult result = Run({"GLOBAL", "SENSOR0001 ,host=localhost,No=3"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  std::vector<json> opens;
  for (const json& record : sim_->Recorded()) {
    if (record["event"] == "open") opens.push_back(record);
  }
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0]["host"], "localhost");
  EXPECT_EQ(opens[0]["sysnr"], 3);
}

TEST_P(GlobalListingEndToEnd, ListingErrorsInTheirOrder) {
  const std::string listing = ListingLine("SENSOR0001", "ALPHA.P00#");
  const std::string allocation = AllocationLine("SENSOR0001", "Item=Response:Time" + kSapSysInfo);
  struct Case {
    std::string what;
    std::string gbl;
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {"an allocation for another kind of sensor, before all else",
       AllocationLine("SENSOR0001", "Item=Response:Time,Sensor=\"SAP Sysinfo\""),
       {"GLOBAL", "SENSOR0001"},
       "Error 1029: Invalid Sensor-Allocation..."},
      {"the second allocation lacks the sensor name",
       listing + allocation + AllocationLine("SENSOR0001", "Item=Response:Time"),
       {"GLOBAL", "SENSOR0001"},
       "Error 1029: Invalid Sensor-Allocation..."},
      {"no allocation for the sensor, which has no listing either",
       AllocationLine("SENSOR0002", "Item=Response:Time" + kSapSysInfo),
       {"GLOBAL", "Sensor0001"},
       "Error 1030: Global Sensor Sensor0001 not found..."},
      {"no parameters: the sensor id of ten blanks",
       listing + allocation,
       {"GLOBAL"},
       "Error 1030: Global Sensor  not found..."},
      {"no listing for the sensor, and no item either",
       AllocationLine("SENSOR0001", "Alias" + kSapSysInfo) +
           ListingLine("SENSOR0002", "ALPHA.P00#"),
       {"GLOBAL", "SENSOR0001"},
       "Error 1025: Global Server Listing missing..."},
      {"no item",
       listing + AllocationLine("SENSOR0001", "item=Response:Time" + kSapSysInfo),
       {"GLOBAL", "SENSOR0001"},
       "Error 1026: Global Item Idenification missing..."},
  };
  for (const Case& c : cases) {
    Write("Talvex.Gbl", c.gbl);
    ProcessResult result = Run(c.arguments);
    EXPECT_EQ(result.out, ErrorDocument(c.message)) << c.what;
    EXPECT_EQ(result.exitCode, 2) << c.what;
  }
  EXPECT_TRUE(sim_->Recorded().empty());
}

TEST_P(ListingRunEndToEnd, DefaultProfileErrors) {
  struct Case {
    std::string prf;
    std::string message;
  } cases[] = {
      {"# GSNG: 123456789012PRD.P00#\n", "Error 1025: Global Server Listing missing..."},
      {GsngLine("").substr(0, 20) + "\n", "Error 1025: Global Server Listing missing..."},
  };
  for (const Case& c : cases) {
    Write("Talvex.Prf", c.prf);
    ProcessResult result = Run({"PRD", "ITEM=Response:Time"});
    EXPECT_EQ(result.out, ErrorDocument(c.message)) << c.prf;
    EXPECT_EQ(result.exitCode, 2);
  }
  Write("Talvex.Prf", GsngLine("PRD.P00#"));
  ProcessResult noItem = Run({"PRD", "ITEM= Response:Time"});
  EXPECT_EQ(noItem.out, ErrorDocument("Error 1026: Global Item Idenification missing..."));
  EXPECT_EQ(noItem.exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Listings, ListingRunEndToEnd,
                         testing::ValuesIn(testsupport::ListingVariants()),
                         [](const auto& test) { return testsupport::NameOf(test.param); });
INSTANTIATE_TEST_SUITE_P(Listings, GlobalListingEndToEnd,
                         testing::ValuesIn(testsupport::ListingVariants()),
                         [](const auto& test) { return testsupport::NameOf(test.param); });

}  // namespace
