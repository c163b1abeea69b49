// Sensors that share a folder, as every sensor of a probe does: each run talks to the library
// from a folder of its own, so runs at the same time never read each other's SapRfc.ini or
// reasons, and the shared Dev_Rfc.Trc only collects what each run hands over at its end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/lines.h"
#include "tests/support/profiles.h"

namespace {

using nlohmann::json;
using testsupport::Drives;
using testsupport::ErrorDocument;
using testsupport::Lines;
using testsupport::ProcessResult;
using testsupport::ProfileValues;
using testsupport::Sapsim;

const std::string kSensorDirectory = testsupport::kSensorDirectory;

// Six systems: two reached through per-destination files, two through their profiles, one
// whose call fails with a reason of its own, one that raises an exception (which the library
// writes no section for).
class SharedFolderEndToEnd : public testing::Test {
 protected:
  SharedFolderEndToEnd() {
    drives_.MakeDirectory(kSensorDirectory);
    json systems = json::array();
    for (const std::string name : {"DS1", "DS2", "PL1", "PL2", "FAIL", "EXC", "REF"}) {
      json system = {{"name", name}, {"rfcsi", {{"RFCSYSID", name}}}};
      if (name == "FAIL") system["answer"] = {{"code", 1}, {"message", "FAIL's own reason"}};
      if (name == "EXC") system["answer"] = {{"exception", "NOT_AUTHORIZED"}};
      if (name == "REF") system["logons"] = {{{"user", "SOMEONE"}}};
      systems.push_back(system);
    }
    sim_ = std::make_unique<Sapsim>(json{{"systems", systems}}.dump());
    for (const std::string name : {"DS1", "DS2", "PL1", "PL2", "FAIL", "EXC", "REF"}) {
      ProfileValues values;
      values.destination = name;
      values.gwservice = std::to_string(sim_->Port(name));
      if (name[0] == 'D') {
        // Only the per-destination file knows where these systems are.
        values.gwservice = "99";  // nothing listens there
        drives_.Write("C:\\work\\SapRfc." + name, "DEST=" + name +
                                                      "\r\nGWHOST=127.0.0.1\r\nGWSERV=" +
                                                      std::to_string(sim_->Port(name)) + "\r\n");
      }
      testsupport::WriteProfile(drives_, kSensorDirectory + name + ".P00", values, "secret");
    }
  }

  // What a run of the system must print, and its exit code.
  static std::pair<std::string, int> Expected(const std::string& system) {
    if (system == "FAIL") {
      return {ErrorDocument("Error 1014: RFC-Failure raised ! - FAIL's own reason"), 2};
    }
    if (system == "EXC") {
      return {ErrorDocument("Error 1012: Exception.: NOT_AUTHORIZED - Look for Trace-File"), 2};
    }
    return {"Sid=" + system + ", ", 0};
  }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

TEST_F(SharedFolderEndToEnd, RunsAtTheSameTimeEachGetTheirOwnResult) {
  const std::vector<std::string> systems = {"DS1", "DS2", "PL1", "PL2", "FAIL", "EXC"};
  const int runs = 50;
  const char* roundsSetting = std::getenv("SAPSYSINFO_CONCURRENCY_ROUNDS");
  const int rounds = roundsSetting ? std::atoi(roundsSetting) : (testsupport::UnderWine() ? 1 : 5);
  int failedCalls = 0;
  for (int round = 0; round < rounds; ++round) {
    std::vector<ProcessResult> results(runs);
    std::vector<std::thread> threads;
    threads.reserve(runs);
    for (int i = 0; i < runs; ++i) {
      threads.emplace_back(
          [&, i] { results[i] = drives_.RunSensor({systems[i % systems.size()]}); });
    }
    for (std::thread& thread : threads) thread.join();
    for (int i = 0; i < runs; ++i) {
      const std::string& system = systems[i % systems.size()];
      const auto [expected, exitCode] = Expected(system);
      SCOPED_TRACE("round " + std::to_string(round) + ", run " + std::to_string(i) + ", " + system);
      if (exitCode == 0) {
        EXPECT_NE(results[i].out.find(expected), std::string::npos) << results[i].out;
      } else {
        EXPECT_EQ(results[i].out, expected);
      }
      EXPECT_EQ(results[i].exitCode, exitCode) << results[i].out;
      failedCalls += system == "FAIL";
    }
  }

  EXPECT_TRUE(drives_.RunFoldersLeft().empty());
  // Every failed call's section arrived whole: its start and both description lines together.
  const std::vector<std::string> trace = Lines(drives_.Read("C:\\work\\Dev_Rfc.Trc").value_or(""));
  int sections = 0;
  for (std::size_t i = 0; i < trace.size(); ++i) {
    if (!trace[i].starts_with("**** ERROR ")) continue;
    ++sections;
    ASSERT_LT(i + 2, trace.size());
    EXPECT_TRUE(trace[i].ends_with(" RfcReceive")) << trace[i];
    EXPECT_TRUE(trace[i + 1].starts_with("ERROR       FUNCTION_FAILED")) << trace[i + 1];
    EXPECT_EQ(trace[i + 2], "       ======> FAIL's own reason");
  }
  EXPECT_EQ(sections, failedCalls);
  EXPECT_EQ(trace.size(), static_cast<std::size_t>(3 * failedCalls));
  // The administrator's own files stay as they were.
  EXPECT_FALSE(drives_.Read("C:\\work\\SapRfc.ini").has_value());
}

// One run after the other: a reason that an earlier run left is none of the next run's.
TEST_F(SharedFolderEndToEnd, ARunNamesNoReasonOfAnEarlierRun) {
  const ProcessResult refused = drives_.RunSensor({"REF"});
  EXPECT_EQ(refused.out, ErrorDocument("Error 1011: RFC-Open for REF failed ! - logon to REF "
                                       "refused: client, user or password incorrect"));
  EXPECT_NE(drives_.Read("C:\\work\\Dev_Rfc.Trc").value_or("").find("REF"), std::string::npos);
  const ProcessResult exception = drives_.RunSensor({"EXC"});
  EXPECT_EQ(exception.out,
            ErrorDocument("Error 1012: Exception.: NOT_AUTHORIZED - Look for Trace-File"));
  EXPECT_TRUE(drives_.RunFoldersLeft().empty());
}

// A destination named "ini" names the administrator's own SapRfc.ini, which is read and never
// written.
TEST_F(SharedFolderEndToEnd, ADestinationNamedIniLeavesSapRfcIniAlone) {
  ProfileValues values;
  values.destination = "ini";
  values.gwservice = "99";  // nothing listens there
  testsupport::WriteProfile(drives_, kSensorDirectory + "INI.P00", values, "secret");
  const std::string ini =
      "DEST=ini\r\nGWHOST=127.0.0.1\r\nGWSERV=" + std::to_string(sim_->Port("PL1")) + "\r\n";
  drives_.Write("C:\\work\\SapRfc.ini", ini);
  const ProcessResult result = drives_.RunSensor({"INI"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  EXPECT_NE(result.out.find("Sid=PL1, "), std::string::npos) << result.out;
  EXPECT_EQ(drives_.Read("C:\\work\\SapRfc.ini"), ini);
}

// With console marks the SapRfc.ini line is a console line like the others, before the
// document.
TEST_F(SharedFolderEndToEnd, TheSapRfcIniLineIsAConsoleLine) {
  const ProcessResult quiet = drives_.RunSensor({"DS1"});
  EXPECT_EQ(quiet.out.find("SapRfc.Ini"), std::string::npos) << quiet.out;
  const ProcessResult console = drives_.RunSensor({"DS1", "%"});
  const std::size_t line = console.out.find("* SapRfc.Ini.......: DS1<\n");
  EXPECT_NE(line, std::string::npos) << console.out;
  EXPECT_LT(line, console.out.find("\n<Prtg>\n")) << console.out;
  EXPECT_EQ(console.exitCode, 0);
}

}  // namespace
