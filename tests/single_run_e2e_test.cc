// The sensor's main job, end to end: the real sapsysinfo against sapsim, as the monitor runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "src/config/profile_writer.h"
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
using testsupport::RfcLibrary;
using testsupport::Sapsim;
using testsupport::XmlChannel;

const std::string kProfile = std::string(testsupport::kSensorDirectory) + "PRD.P00";
const std::string kSysInfo =
    "(PRD) Sys-Info: Host=prdhost, Sid=PRD, Is=00, Rel=7.40, Dbs=ORACLE, Os=Linux, "
    "IP=127.0.0.1";

// Each case runs once with each RFC library; the documents are the same, the library's own
// reasons and what it records of the open differ.
class SingleRunEndToEnd : public testing::TestWithParam<RfcLibrary> {
 protected:
  SingleRunEndToEnd() {
    drives_.MakeDirectory(testsupport::kSensorDirectory);
    drives_.UseLibrary(GetParam());
  }

  bool NetWeaver() const { return GetParam() == RfcLibrary::NetWeaver; }

  // Starts sapsim with one system PRD, changed by `changes`, and points the profile at it.
  void Start(const json& changes = json::object()) {
    json system = {{"name", "PRD"},
                   {"rfcsi",
                    {{"RFCHOST", "prdhost"},
                     {"RFCSYSID", "PRD"},
                     {"RFCSAPRL", "740"},
                     {"RFCDBSYS", "ORACLE"},
                     {"RFCOPSYS", "Linux"},
                     {"RFCIPADDR", "127.0.0.1"}}}};
    system.update(changes);
    sim_ = std::make_unique<Sapsim>(json{{"systems", {system}}}.dump(),
                                    testsupport::SapsimOptions{.record = true});
    values_.gwservice = std::to_string(sim_->Port("PRD"));
  }

  void WriteProfile(const std::string& password = "secret") {
    testsupport::WriteProfile(drives_, kProfile, values_, password);
  }

  ProcessResult Run(const std::vector<std::string>& arguments) {
    return drives_.RunSensor(arguments);
  }

  // The last open the library sent.
  json RecordedOpen() {
    const std::vector<json> recorded = sim_->Recorded();
    for (auto record = recorded.rbegin(); record != recorded.rend(); ++record) {
      if ((*record)["event"] == "open") return *record;
    }
    ADD_FAILURE() << "no open recorded";
    return json::object();
  }

  // The NetWeaver library's connection parameters of that open, by name, as they arrived.
  json RecordedParameters() {
    json parameters = json::object();
    for (const json& parameter : RecordedOpen().value("parameters", json::array())) {
      parameters[parameter["name"].get<std::string>()] = parameter["value"];
    }
    return parameters;
  }

  Drives drives_;
  ProfileValues values_;
  std::unique_ptr<Sapsim> sim_;
};

// The shared trace is the administrators' record of earlier failures: a run that succeeds
// leaves it as it was.
TEST_P(SingleRunEndToEnd, SuccessfulRunPrintsTheDocumentAndLeavesTheTraceAlone) {
  Start({{"logons", {{{"client", "100"}, {"user", "MONITOR"}, {"password", "secret"}}}}});
  WriteProfile();
  drives_.Write("C:\\work\\Dev_Rfc.Trc", "**** ERROR old\n");

  ProcessResult result = Run({"PRD"});
  std::vector<long> times;
  EXPECT_EQ(MaskTimes(result.out, &times),
            "\n<Prtg>\n\n<Text>" + kSysInfo + "</Text>\n" + XmlChannel("RFC-Open Time") +
                XmlChannel("Processing Time") + XmlChannel("RFC-Close Time") +
                XmlChannel("Response Time") + "\n</Prtg>\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(drives_.Read("C:\\work\\Dev_Rfc.Trc"), "**** ERROR old\n");
  ASSERT_EQ(times.size(), 4u);
  EXPECT_GE(times[3], times[0] + times[1] + times[2]);  // the response covers the other three
}

TEST_P(SingleRunEndToEnd, DurationsAreMeasured) {
  Start({{"delays", {{"open", 200}, {"call", 100}, {"close", 50}}}});
  WriteProfile();
  ProcessResult result = Run({"PRD"});
  std::vector<long> times;
  MaskTimes(result.out, &times);
  ASSERT_EQ(times.size(), 4u) << result.out;
  EXPECT_GE(times[0], 200);
  EXPECT_GE(times[1], 100);
  EXPECT_GE(times[2], 50);
  EXPECT_GE(times[3], 350);
}

TEST_P(SingleRunEndToEnd, TextFlavours) {
  Start();
  WriteProfile();
  // The other flavours take the profile from the directory on the command line.
  drives_.Write("D:\\S\\PRD.P00", *drives_.Read(kProfile));
  const std::string nebulant =
      "\n# " + kSysInfo +
      "\n\nStatistic.RFC_Open: ####\nMessage.RFC_Open: RFC-Open Time (mSec)"
      "\n\nStatistic.Processing: ####\nMessage.Processing: Processing Time (mSec)"
      "\n\nStatistic.RFC_Close: ####\nMessage.RFC_Close: RFC-Close Time (mSec)"
      "\n\nStatistic.Response_Time: ####\nMessage.Response_Time: Response Time (mSec)\n";
  const std::string quillon = "\n# " + kSysInfo +
                              "\n> RFC-Open Time: #### mSec\n> Processing Time: #### mSec"
                              "\n> RFC-Close Time: #### mSec\n> Response Time: #### mSec\n";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"/Flavour=Nebulant", "D:\\S\\PRD"}, nebulant},
      {{"/Flavour=Quillon", "D:\\S\\PRD"}, quillon},
      {{"/Flavour=Quillon", "D:\\S\\PRD", "ch=3"}, "####\n"},
      {{"/Flavour=Quillon", "D:\\S\\PRD", "CH=9"}, "\n"},
  };
  for (const auto& [arguments, expected] : cases) {
    ProcessResult result = Run(arguments);
    EXPECT_EQ(MaskTimes(result.out), expected) << arguments.back();
    EXPECT_EQ(result.exitCode, 0);
  }
}

TEST_P(SingleRunEndToEnd, CheckPrintsTheReadableList) {
  Start();
  WriteProfile();
  ProcessResult result = Run({"PRD", "x/check"});
  EXPECT_EQ(result.out,
            "\n* HostName......:  prdhost\n* System-ID.......:  PRD\n* SAP-Instance.:  00"
            "\n* SAP Release..:  7.40\n* DB-System.....:  ORACLE\n* OS-System.....:  Linux"
            "\n* IP-Address.....:  127.0.0.1");
  EXPECT_EQ(result.exitCode, 0);
}

// A connection that cannot be opened is Error 1011, followed by the library's own reason: a
// wrong password, a system that is down and a gateway that never answers each say which.
TEST_P(SingleRunEndToEnd, ConnectionThatCannotBeOpenedIsError1011WithItsReason) {
  Start({{"logons", {{{"user", "SOMEONE"}}}}, {"delays", {{"open", 3000}}}});
  values_.destination = "BIN";
  WriteProfile();
  const std::string port = values_.gwservice;
  const std::string failed = "Error 1011: RFC-Open for BIN failed ! - ";
  drives_.SetEnvironment("RFC_STANDIN_TIMEOUT_MS", "1000");
  // sapsim answers the logon only after its open delay: the library's own timeout comes first.
  EXPECT_EQ(Run({"PRD"}).out,
            ErrorDocument(failed + "no reply from 127.0.0.1:" + port + " within 1000 ms"));

  Start({{"logons", {{{"user", "SOMEONE"}}}}});
  values_.destination = "BIN";
  WriteProfile();
  ProcessResult refused = Run({"PRD"});
  EXPECT_EQ(refused.out,
            ErrorDocument(failed + "logon to PRD refused: client, user or password incorrect"));
  EXPECT_EQ(refused.exitCode, 2);

  const std::string closed = values_.gwservice;
  sim_.reset();  // nobody listens any more
  ProcessResult unreachable = Run({"PRD"});
  const std::string notReached = failed + "partner 127.0.0.1:" + closed + " not reached";
  if (NetWeaver()) {  // its reason adds the system's own words in brackets
    EXPECT_TRUE(unreachable.out.starts_with("<Prtg>\n<Error>1</Error>\n<Text>" + notReached + " ("))
        << unreachable.out;
  } else {
    EXPECT_EQ(unreachable.out, ErrorDocument(notReached));
  }
  EXPECT_EQ(unreachable.exitCode, 2);
}

// A failed call ends with its error text and the library's reason. The classic library's
// reason comes from this run's own trace (a reason that an earlier run left in the shared trace
// is none of this run's), the NetWeaver library's from its error record, and the sensor writes
// the section of the shared trace for it.
TEST_P(SingleRunEndToEnd, FailedCallsCarryTheTraceNote) {
  const std::string earlier = "**** ERROR earlier\nERROR       an earlier reason\n";
  const std::string sectionOnly = "**** ERROR earlier\nERROR       old\n**** ERROR later\n";
  const std::string noReason = "Look for Trace-File";
  struct Case {
    json answer;
    std::optional<std::string> trace;  // Dev_Rfc.Trc before the run
    std::string error;
    std::string classicReason, netWeaverReason;
  } cases[] = {
      {{{"code", 1}, {"message", "no system information today"}},
       std::nullopt,
       "Error 1014: RFC-Failure raised !",
       "no system information today",
       "no system information today"},
      {{{"code", 1}, {"message", "no system information today"}},
       earlier,
       "Error 1014: RFC-Failure raised !",
       "no system information today",
       "no system information today"},
      {{{"exception", "NOT_AUTHORIZED"}},
       std::nullopt,
       "Error 1012: Exception.: NOT_AUTHORIZED",
       noReason,
       "RFC_SYSTEM_INFO raised the exception NOT_AUTHORIZED"},
      {{{"exception", "NOT_AUTHORIZED"}},
       earlier,
       "Error 1012: Exception.: NOT_AUTHORIZED",
       noReason,
       "RFC_SYSTEM_INFO raised the exception NOT_AUTHORIZED"},
      {{{"system_exception", "SYSTEM_FAILURE"}},
       sectionOnly,
       "Error 1013: Sys-Exception raised !",
       noReason,
       "RFC_SYSTEM_INFO raised the system exception SYSTEM_FAILURE"},
      {{{"code", 7}},
       std::nullopt,
       "Error 1015: Other Failure raised !",
       noReason,
       "RFC_SYSTEM_INFO ended with code 7"},
      {{{"code", -1}},
       earlier,
       "Error 1015: Other Failure raised !",
       noReason,
       "RFC_SYSTEM_INFO ended with code -1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.dump());
    Start({{"answer", c.answer}});
    WriteProfile();
    if (c.trace) {
      drives_.Write("C:\\work\\Dev_Rfc.Trc", *c.trace);
    } else {
      std::filesystem::remove(drives_.HostPath("C:\\work\\Dev_Rfc.Trc"));
    }
    ProcessResult result = Run({"PRD"});
    const std::string& reason = NetWeaver() ? c.netWeaverReason : c.classicReason;
    EXPECT_EQ(result.out, ErrorDocument(c.error + " - " + reason));
    EXPECT_EQ(result.exitCode, 2);
    // The shared trace keeps what it held, and gets this run's section behind it where there
    // is one (the classic library writes one for a failure it sees itself); the connection was
    // closed all the same.
    const bool sectionWritten = NetWeaver() || c.answer.value("code", 0) == 1;
    const std::optional<std::string> trace = drives_.Read("C:\\work\\Dev_Rfc.Trc");
    EXPECT_EQ(trace.has_value(), c.trace.has_value() || sectionWritten);
    if (trace) {
      EXPECT_TRUE(trace->starts_with(c.trace.value_or(""))) << *trace;
      const std::string added = trace->substr(c.trace.value_or("").size());
      EXPECT_EQ(added.find(c.netWeaverReason) != std::string::npos, sectionWritten) << *trace;
      EXPECT_EQ(added.find("secret"), std::string::npos) << *trace;
      if (NetWeaver()) {
        EXPECT_TRUE(added.starts_with("**** ERROR ")) << added;
        EXPECT_NE(added.find("system PRD.P00 (PRD)"), std::string::npos) << added;
      }
    }
    EXPECT_EQ(sim_->Recorded().back()["event"], "close");
  }
}

TEST_P(SingleRunEndToEnd, RefusedCallIsAnRfcFailureWithTheLibrarysReason) {
  Start({{"fault", "refuse_call"}});
  WriteProfile();
  ProcessResult result = Run({"PRD"});
  EXPECT_EQ(
      result.out.rfind("<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - ", 0),
      0u)
      << result.out;
  EXPECT_EQ(result.out.find("Look for"), std::string::npos);
  EXPECT_EQ(result.out.find("Please Check"), std::string::npos);
  EXPECT_EQ(result.exitCode, 2);
}

// A connection lost during the call, or a system that does not answer it within the library's
// own timeout, is the library's failure: its error block and exit code 1.
TEST_P(SingleRunEndToEnd, LostConnectionEndsInTheErrorBlock) {
  drives_.SetEnvironment("RFC_STANDIN_TIMEOUT_MS", "1000");
  for (const std::string fault : {"drop_on_call", "hang_on_call"}) {
    SCOPED_TRACE(fault);
    Start({{"fault", fault}});
    WriteProfile();
    ProcessResult result = Run({"PRD"});
    // Five labelled lines, an empty line and the abort lines; no document after them. The
    // operation is the one that lost it: the classic library's receive, the NetWeaver
    // library's invocation.
    const std::string head =
        "RFC error\noperation/code  : " + std::string(NetWeaver() ? "RfcInvoke" : "RfcReceive") +
        "\nkey             : ";
    EXPECT_EQ(result.out.rfind(head, 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\nstatus          : "), std::string::npos);
    EXPECT_NE(result.out.find("\nmessage         : "), std::string::npos);
    EXPECT_NE(result.out.find("\ninternal status : "), std::string::npos);
    const std::string tail = "\n\n* Programm aborted...\n* Error at EoXput-File...\n";
    EXPECT_TRUE(result.out.ends_with(tail)) << result.out;
    EXPECT_EQ(result.out.find("<Prtg>"), std::string::npos);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out.find("secret"), std::string::npos);
  }
}

// The classic library takes the user and the password padded to their fields; the NetWeaver
// library takes them as they are.
TEST_P(SingleRunEndToEnd, LogonValuesReachTheLibrary) {
  Start();
  struct Case {
    std::string user, password, paddedUser, paddedPassword, netWeaverUser;
  } cases[] = {
      {"mon", "abc", "MON         ", "abc       ", "MON"},
      {"monitoruser1", "fifteen-chars!!", "MONITORUSER1", "fifteen-chars!!", "MONITORUSER1"},
      {"ab", "x y", "AB          ", "x y       ", "AB"},
  };
  for (const Case& c : cases) {
    values_.user = c.user;
    WriteProfile(c.password);
    ProcessResult result = Run({"PRD"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    const json open = RecordedOpen();
    if (NetWeaver()) {
      EXPECT_EQ(open["operation"], "RfcOpenConnection");
      const json parameters = RecordedParameters();
      EXPECT_EQ(parameters["USER"], c.netWeaverUser);
      EXPECT_EQ(parameters["PASSWD"], c.password);
      EXPECT_EQ(parameters["CLIENT"], "100");
      EXPECT_EQ(parameters["LANG"], "E");
    } else {
      EXPECT_EQ(open["operation"], "RfcOpen");
      EXPECT_EQ(open["user"], c.paddedUser);
      EXPECT_EQ(open["password"], c.paddedPassword);
      EXPECT_EQ(open["client"], "100");
      EXPECT_EQ(open["language"], "E");
    }
    EXPECT_EQ(result.out.find(c.password), std::string::npos);
  }
}

// The mode, the host and the system number the profile and the command line give: the classic
// library takes them as fields, the NetWeaver library as parameters (an R/2 system has no
// application server, so neither ASHOST nor SYSNR).
TEST_P(SingleRunEndToEnd, ModeHostAndSystemNumberReachTheLibrary) {
  Start();
  struct Case {
    std::string mode, sysnr, parameters;
    json classic;    // fields of the recorded open
    json netWeaver;  // parameters of the recorded open
  } cases[] = {
      {"R/2",
       "00",
       "",
       {{"mode", 1}, {"host", nullptr}, {"sysnr", nullptr}},
       {{"ASHOST", nullptr}, {"SYSNR", nullptr}}},
      {"r/2",
       "12",
       "",
       {{"mode", 0}, {"host", "127.0.0.1"}, {"sysnr", 12}},
       {{"ASHOST", "127.0.0.1"}, {"SYSNR", "12"}}},
      {"R/3",
       "07",
       ",HOST=",
       {{"mode", 0}, {"host", nullptr}, {"sysnr", 7}},
       {{"ASHOST", nullptr}, {"SYSNR", "07"}}},
      {"R/3",
       "07",
       "x,host=localhost,no=3",
       {{"mode", 0}, {"host", "localhost"}, {"sysnr", 3}},
       {{"ASHOST", "localhost"}, {"SYSNR", "03"}}},
      {"R/3", "xx", "", {{"mode", 0}, {"sysnr", 0}}, {{"SYSNR", "00"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode + " " + c.sysnr + " " + c.parameters);
    // sapprofile writes only the modes the sensor knows; a profile edited by hand may hold any
    // other text there.
    const bool known = std::find(kConnectionModes.begin(), kConnectionModes.end(), c.mode) !=
                       kConnectionModes.end();
    values_.mode = known ? c.mode : kConnectionModes[0];
    values_.sysnr = c.sysnr;
    WriteProfile();
    if (!known) {
      std::string text = *drives_.Read(kProfile);
      const std::string line = "Mode.......: " + values_.mode;
      text.replace(text.find(line), line.size(), "Mode.......: " + c.mode);
      drives_.Write(kProfile, text);
    }
    ProcessResult result = Run({"PRD", c.parameters});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    const json recorded = NetWeaver() ? RecordedParameters() : RecordedOpen();
    for (const auto& [field, value] : (NetWeaver() ? c.netWeaver : c.classic).items()) {
      EXPECT_EQ(recorded.value(field, json()), value) << field;
    }
    EXPECT_EQ(recorded[NetWeaver() ? "GWHOST" : "gwhost"], "127.0.0.1");
    EXPECT_EQ(recorded[NetWeaver() ? "GWSERV" : "gwservice"], values_.gwservice);
  }
}

TEST_P(SingleRunEndToEnd, PerDestinationFileOpensThroughSapRfcIni) {
  Start();
  values_.language = "E";
  WriteProfile("pass word");
  const std::string ini =
      "* the monitor's own destination\r\nDEST=PRD\r\nTYPE=A\r\nASHOST=127.0.0.1"
      "\r\nGWSERV=" +
      values_.gwservice + "\r\n\xff\x01 trailing bytes";
  drives_.Write("C:\\work\\SapRfc.PRD", ini);
  drives_.Write("C:\\work\\SapRfc.ini",
                "an older file that is replaced, longer than the new one " + std::string(200, '-'));

  ProcessResult result = Run({"PRD"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  // The library read the copy in the run's own folder; the administrator's file is untouched.
  EXPECT_EQ(result.out.rfind("\n<Prtg>\n", 0), 0u) << result.out;
  EXPECT_EQ(drives_.Read("C:\\work\\SapRfc.ini"),
            "an older file that is replaced, longer than the new one " + std::string(200, '-'));
  if (NetWeaver()) {
    // The sensor read the block itself; the line without a key is no parameter.
    EXPECT_EQ(RecordedOpen()["operation"], "RfcOpenConnection");
    EXPECT_EQ(RecordedParameters(), json({{"ASHOST", "127.0.0.1"},
                                          {"GWSERV", values_.gwservice},
                                          {"CLIENT", "100"},
                                          {"USER", "MONITOR"},
                                          {"PASSWD", "pass word"},
                                          {"LANG", "D"}}));
  } else {
    const json open = RecordedOpen();
    EXPECT_EQ(open["operation"], "RfcOpenEx");
    EXPECT_EQ(open["connect_string"], "CLIENT=100 USER=MONITOR PASSWD=pass word LANG=D DEST=PRD");
  }
  EXPECT_EQ(result.out.find("pass word"), std::string::npos);
}

TEST_P(SingleRunEndToEnd, EmptyPerDestinationFileIsCopiedToo) {
  Start();
  WriteProfile();
  drives_.Write("C:\\work\\SapRfc.PRD", "");
  drives_.Write("C:\\work\\SapRfc.ini", "DEST=PRD\nGWSERV=" + values_.gwservice + "\n");
  ProcessResult result = Run({"PRD"});
  // The empty file names no destination, so the open fails, whatever the sensor's directory
  // holds as SapRfc.ini.
  EXPECT_EQ(result.out,
            ErrorDocument("Error 1011: RFC-Open for PRD failed ! - destination PRD not in " +
                          std::string(NetWeaver() ? "SapRfc.PRD or not readable" : "SapRfc.ini")));
  EXPECT_EQ(drives_.Read("C:\\work\\SapRfc.ini"), "DEST=PRD\nGWSERV=" + values_.gwservice + "\n");
}

TEST_P(SingleRunEndToEnd, ConsoleLines) {
  Start();
  WriteProfile();
  const std::string document = MaskTimes(Run({"PRD"}).out);
  struct Case {
    std::vector<std::string> arguments;
    std::string shown;  // the parameters on the State=Executing line
  } cases[] = {
      {{"PRD", "A%B", "x"}, "A"},
      {{"PRD", "(No", "#1"}, "(No Parameters)"},
      {{"PRD", "100% sure"}, "100"},
      {{"PRD", "one two", "$"}, "one two "},
  };
  for (const Case& c : cases) {
    ProcessResult result = Run(c.arguments);
    EXPECT_EQ(MaskClock(MaskTimes(result.out)),
              "* hh:mm:ss SAP SysInfo Vers 4.4 / 15.02.23\n"
              "* hh:mm:ss PRD.P00, 127.0.0.1, PRD, 00, 100 State=Processing\n"
              "* hh:mm:ss SysInfo - " +
                  c.shown + " State=Executing\n" + document +
                  "\n* hh:mm:ss SAP SysInfo now processed...\n");
    EXPECT_EQ(result.exitCode, 0);
  }
}

// The NetWeaver library's way to systems the classic open cannot reach: the destination's
// block names a message server, a router or secure network communication. sapsim has none of
// them; it records what arrived and refuses the logon, saying why, and the document says so.
class NetWeaverSingleRunEndToEnd : public SingleRunEndToEnd {};

TEST_P(NetWeaverSingleRunEndToEnd, TheDestinationsBlockIsPassedAsConnectionParameters) {
  Start();
  WriteProfile();
  const std::string port = values_.gwservice;
  const std::string server = "ASHOST=127.0.0.1\nGWSERV=" + port + "\n";
  const std::string refused = "Error 1011: RFC-Open for PRD failed ! - logon to PRD refused: PRD ";
  struct Case {
    std::string block;    // after DEST=PRD
    std::string message;  // of the document; empty for a document of the system
    json parameters;      // those of the destination's block, as they arrived
  } cases[] = {
      {"TYPE=B\nMSHOST=127.0.0.1\nMSSERV=" + port + "\nR3NAME=PRD\nGROUP=PUBLIC\n",
       refused + "has no message server (MSHOST)",
       {{"MSHOST", "127.0.0.1"}, {"MSSERV", port}, {"SYSID", "PRD"}, {"GROUP", "PUBLIC"}}},
      {server + "SAPROUTER=/H/router.acme.example/S/3299/H/\n",
       refused + "cannot be reached through a router (SAPROUTER)",
       {{"ASHOST", "127.0.0.1"},
        {"GWSERV", port},
        {"SAPROUTER", "/H/router.acme.example/S/3299/H/"}}},
      {server + "SNC_MODE=1\nSNC_PARTNERNAME=p:CN=PRD, O=ACME\nSNC_QOP=9\nSNC_MYNAME=p:CN=MONITOR"
                "\nSNC_LIB=C:\\sec\\sapcrypto.dll\n",
       refused + "has no secure network communication (SNC_MODE=1)",
       {{"ASHOST", "127.0.0.1"},
        {"GWSERV", port},
        {"SNC_MODE", "1"},
        {"SNC_PARTNERNAME", "p:CN=PRD, O=ACME"},
        {"SNC_QOP", "9"},
        {"SNC_MYNAME", "p:CN=MONITOR"},
        {"SNC_LIB", "C:\\sec\\sapcrypto.dll"}}},
      // A key the sensor does not know is left out; SNC_MODE=0 is no encryption.
      {server + "TRACE=2\nSNC_MODE=0\nSYSNR=07\n",
       "",
       {{"ASHOST", "127.0.0.1"}, {"GWSERV", port}, {"SNC_MODE", "0"}, {"SYSNR", "07"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    std::filesystem::remove(drives_.HostPath("C:\\work\\Dev_Rfc.Trc"));
    drives_.Write("C:\\work\\SapRfc.PRD", "DEST=QAS\nASHOST=elsewhere\nDEST=PRD\n" + c.block +
                                              "DEST=DEV\nSAPROUTER=/H/other/\n");
    ProcessResult result = Run({"PRD"});
    if (c.message.empty()) {
      EXPECT_EQ(result.exitCode, 0) << result.out;
    } else {
      EXPECT_EQ(result.out, ErrorDocument(c.message));
      EXPECT_EQ(result.exitCode, 2);
      const std::string trace = drives_.Read("C:\\work\\Dev_Rfc.Trc").value_or("");
      EXPECT_NE(trace.find("RfcOpenConnection"), std::string::npos) << trace;
      EXPECT_EQ(trace.find("secret"), std::string::npos) << trace;
    }
    json expected = c.parameters;
    expected.update(
        json{{"CLIENT", "100"}, {"USER", "MONITOR"}, {"PASSWD", "secret"}, {"LANG", "D"}});
    EXPECT_EQ(RecordedParameters(), expected);
    EXPECT_EQ(result.out.find("secret"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, SingleRunEndToEnd,
                         testing::Values(RfcLibrary::Classic, RfcLibrary::NetWeaver),
                         [](const auto& test) { return testsupport::NameOf(test.param); });
INSTANTIATE_TEST_SUITE_P(Libraries, NetWeaverSingleRunEndToEnd,
                         testing::Values(RfcLibrary::NetWeaver),
                         [](const auto& test) { return testsupport::NameOf(test.param); });

}  // namespace
