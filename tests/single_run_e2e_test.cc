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
using testsupport::Sapsim;
using testsupport::XmlChannel;

const std::string kProfile = std::string(testsupport::kSensorDirectory) + "PRD.P00";
const std::string kSysInfo =
    "(PRD) Sys-Info: Host=prdhost, Sid=PRD, Is=00, Rel=7.40, Dbs=ORACLE, Os=Linux, "
    "IP=127.0.0.1";

class SingleRunEndToEnd : public testing::Test {
 protected:
  SingleRunEndToEnd() { drives_.MakeDirectory(testsupport::kSensorDirectory); }

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

  // The one open the library sent for this run.
  json RecordedOpen() {
    for (const json& record : sim_->Recorded()) {
      if (record["event"] == "open") return record;
    }
    ADD_FAILURE() << "no open recorded";
    return json::object();
  }

  Drives drives_;
  ProfileValues values_;
  std::unique_ptr<Sapsim> sim_;
};

// The shared trace is the administrators' record of earlier failures: a run that succeeds
// leaves it as it was.
TEST_F(SingleRunEndToEnd, SuccessfulRunPrintsTheDocumentAndLeavesTheTraceAlone) {
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

TEST_F(SingleRunEndToEnd, DurationsAreMeasured) {
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

TEST_F(SingleRunEndToEnd, TextFlavours) {
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

TEST_F(SingleRunEndToEnd, CheckPrintsTheReadableList) {
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
TEST_F(SingleRunEndToEnd, ConnectionThatCannotBeOpenedIsError1011WithItsReason) {
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
  EXPECT_EQ(unreachable.out,
            ErrorDocument(failed + "partner 127.0.0.1:" + closed + " not reached"));
  EXPECT_EQ(unreachable.exitCode, 2);
}

// A failed call ends with its error text and the library's reason from this run's own trace:
// a reason that an earlier run left in the shared trace is none of this run's.
TEST_F(SingleRunEndToEnd, FailedCallsCarryTheTraceNote) {
  const std::string earlier = "**** ERROR earlier\nERROR       an earlier reason\n";
  const std::string sectionOnly = "**** ERROR earlier\nERROR       old\n**** ERROR later\n";
  struct Case {
    json answer;
    std::optional<std::string> trace;  // Dev_Rfc.Trc before the run
    std::string message;
  } cases[] = {
      {{{"code", 1}, {"message", "no system information today"}},
       std::nullopt,
       "Error 1014: RFC-Failure raised ! - no system information today"},
      {{{"code", 1}, {"message", "no system information today"}},
       earlier,
       "Error 1014: RFC-Failure raised ! - no system information today"},
      {{{"exception", "NOT_AUTHORIZED"}},
       std::nullopt,
       "Error 1012: Exception.: NOT_AUTHORIZED - Look for Trace-File"},
      {{{"exception", "NOT_AUTHORIZED"}},
       earlier,
       "Error 1012: Exception.: NOT_AUTHORIZED - Look for Trace-File"},
      {{{"system_exception", "SYSTEM_FAILURE"}},
       sectionOnly,
       "Error 1013: Sys-Exception raised ! - Look for Trace-File"},
      {{{"code", 7}}, std::nullopt, "Error 1015: Other Failure raised ! - Look for Trace-File"},
      {{{"code", -1}}, earlier, "Error 1015: Other Failure raised ! - Look for Trace-File"},
  };
  for (const Case& c : cases) {
    Start({{"answer", c.answer}});
    WriteProfile();
    if (c.trace) {
      drives_.Write("C:\\work\\Dev_Rfc.Trc", *c.trace);
    } else {
      std::filesystem::remove(drives_.HostPath("C:\\work\\Dev_Rfc.Trc"));
    }
    ProcessResult result = Run({"PRD"});
    EXPECT_EQ(result.out, ErrorDocument(c.message)) << c.answer.dump();
    EXPECT_EQ(result.exitCode, 2);
    // The shared trace keeps what it held, and gets this run's section behind it; the
    // connection was closed all the same.
    const bool libraryWroteSection = c.answer.value("code", 0) == 1;
    const std::optional<std::string> trace = drives_.Read("C:\\work\\Dev_Rfc.Trc");
    EXPECT_EQ(trace.has_value(), c.trace.has_value() || libraryWroteSection);
    if (trace) {
      EXPECT_EQ(trace->rfind(c.trace.value_or(""), 0), 0u) << *trace;
      EXPECT_EQ(trace->find("no system information today") != std::string::npos,
                libraryWroteSection)
          << *trace;
    }
    EXPECT_EQ(sim_->Recorded().back()["event"], "close") << c.answer.dump();
  }
}

TEST_F(SingleRunEndToEnd, RefusedCallIsAnRfcFailureWithTheLibrarysReason) {
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

TEST_F(SingleRunEndToEnd, LostConnectionEndsInTheErrorBlock) {
  Start({{"fault", "drop_on_call"}});
  WriteProfile();
  ProcessResult result = Run({"PRD"});
  // Five labelled lines, an empty line and the abort lines; no document after them.
  const std::string head = "RFC error\noperation/code  : RfcReceive\nkey             : ";
  EXPECT_EQ(result.out.rfind(head, 0), 0u) << result.out;
  EXPECT_NE(result.out.find("\nstatus          : "), std::string::npos);
  EXPECT_NE(result.out.find("\nmessage         : "), std::string::npos);
  EXPECT_NE(result.out.find("\ninternal status : "), std::string::npos);
  const std::string tail = "\n\n* Programm aborted...\n* Error at EoXput-File...\n";
  ASSERT_GE(result.out.size(), tail.size());
  EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail);
  EXPECT_EQ(result.out.find("<Prtg>"), std::string::npos);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out.find("secret"), std::string::npos);
}

TEST_F(SingleRunEndToEnd, LogonValuesReachTheLibraryPadded) {
  Start();
  struct Case {
    std::string user, password, expectedUser, expectedPassword;
  } cases[] = {
      {"mon", "abc", "MON         ", "abc       "},
      {"monitoruser1", "fifteen-chars!!", "MONITORUSER1", "fifteen-chars!!"},
      {"ab", "x y", "AB          ", "x y       "},
  };
  for (const Case& c : cases) {
    values_.user = c.user;
    WriteProfile(c.password);
    ProcessResult result = Run({"PRD"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    json open = sim_->Recorded().rbegin()[2];  // open, call, close
    ASSERT_EQ(open["event"], "open");
    EXPECT_EQ(open["operation"], "RfcOpen");
    EXPECT_EQ(open["user"], c.expectedUser);
    EXPECT_EQ(open["password"], c.expectedPassword);
    EXPECT_EQ(open["client"], "100");
    EXPECT_EQ(open["language"], "E");
    EXPECT_EQ(result.out.find(c.password), std::string::npos);
  }
}

TEST_F(SingleRunEndToEnd, ModeHostAndSystemNumberReachTheLibrary) {
  Start();
  struct Case {
    std::string mode, sysnr, parameters;
    json expected;  // fields of the recorded open
  } cases[] = {
      {"R/2", "00", "", {{"mode", 1}, {"host", nullptr}, {"sysnr", nullptr}}},
      {"r/2", "12", "", {{"mode", 0}, {"host", "127.0.0.1"}, {"sysnr", 12}}},
      {"R/3", "07", ",HOST=", {{"mode", 0}, {"host", nullptr}, {"sysnr", 7}}},
      {"R/3", "07", "x,host=localhost,no=3", {{"mode", 0}, {"host", "localhost"}, {"sysnr", 3}}},
      {"R/3", "xx", "", {{"mode", 0}, {"sysnr", 0}}},
  };
  for (const Case& c : cases) {
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
    json open = sim_->Recorded().rbegin()[2];
    for (const auto& [field, value] : c.expected.items()) {
      EXPECT_EQ(open[field], value) << c.mode << " " << c.parameters << ": " << field;
    }
    EXPECT_EQ(open["gwhost"], "127.0.0.1");
    EXPECT_EQ(open["gwservice"], values_.gwservice);
  }
}

TEST_F(SingleRunEndToEnd, PerDestinationFileOpensThroughSapRfcIni) {
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
  json open = RecordedOpen();
  EXPECT_EQ(open["operation"], "RfcOpenEx");
  EXPECT_EQ(open["connect_string"], "CLIENT=100 USER=MONITOR PASSWD=pass word LANG=D DEST=PRD");
  EXPECT_EQ(result.out.find("pass word"), std::string::npos);
}

TEST_F(SingleRunEndToEnd, EmptyPerDestinationFileIsCopiedToo) {
  Start();
  WriteProfile();
  drives_.Write("C:\\work\\SapRfc.PRD", "");
  drives_.Write("C:\\work\\SapRfc.ini", "DEST=PRD\nGWSERV=" + values_.gwservice + "\n");
  ProcessResult result = Run({"PRD"});
  // The empty copy names no destination, so the open fails, whatever the sensor's directory
  // holds as SapRfc.ini.
  EXPECT_EQ(result.out, ErrorDocument("Error 1011: RFC-Open for PRD failed ! - destination PRD "
                                      "not in SapRfc.ini"));
  EXPECT_EQ(drives_.Read("C:\\work\\SapRfc.ini"), "DEST=PRD\nGWSERV=" + values_.gwservice + "\n");
}

TEST_F(SingleRunEndToEnd, ConsoleLines) {
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

}  // namespace
