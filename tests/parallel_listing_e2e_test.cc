// A listing run whose systems are checked several at a time, each in a process of its own: it
// ends in about its slowest system's time, a child that fails is that system's failure, nothing
// secret shows in any process's command line or environment, and no process outlives the run.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <sstream>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testsupport::Drives;
using testsupport::MaskTimes;
using testsupport::ProcessResult;
using testsupport::Sapsim;
using testsupport::XmlChannel;
using Clock = std::chrono::steady_clock;

const bool kWindows = testsupport::UnderWine();
const std::string kSensors = testsupport::kSensorDirectory;
const std::string kLibrary = testsupport::LibraryFileName(testsupport::RfcLibrary::Classic);
const std::string kProgram = testsupport::SensorFileName();

// Each test runs a copy of the sensor of its own, so that its processes are told apart from
// those of tests that run at the same time; the library beside it is the stand-in, or the one
// a test puts there.
class ParallelListingEndToEnd : public testing::Test {
 protected:
  ParallelListingEndToEnd() {
    drives_.MakeDirectory(kSensors);
    drives_.MakeDirectory("D:\\sensor");
    fs::copy_file(Drives::SensorFile(), Folder() / kProgram);
  }

  fs::path Folder() const { return drives_.HostPath("D:\\sensor"); }
  std::string Program() const { return (Folder() / kProgram).string(); }
  void UseLibrary(const std::string& build) const {
    fs::copy_file(Drives::BuildFile(build), Folder() / kLibrary,
                  fs::copy_options::overwrite_existing);
  }
  ProcessResult Run(const std::vector<std::string>& arguments) const {
    return drives_.RunSensorFrom(Program(), arguments);
  }

  // sapsim with the systems named, each changed by `changes`, and a profile for each.
  void Start(const std::vector<std::string>& names, const json& changes = json::object(),
             const std::string& password = "secret") {
    json systems = json::array();
    for (const std::string& name : names) {
      json system = {{"name", name}};
      system.update(changes);
      systems.push_back(system);
    }
    sim_ = std::make_unique<Sapsim>(json{{"systems", systems}}.dump());
    for (const std::string& name : names) {
      testsupport::ProfileValues values;
      values.destination = name;
      values.gwservice = std::to_string(sim_->Port(name));
      testsupport::WriteProfile(drives_, kSensors + name + ".P00", values, password);
    }
    UseLibrary(kLibrary);
  }

  void Listing(const std::string& names) const {
    drives_.Write(kSensors + "Talvex.Prf", "# Gsng: 123456789012" + names + "\n");
  }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

// Six systems that each take a second to open: one after the other six seconds, side by side
// about one.
TEST_F(ParallelListingEndToEnd, AListingEndsInAboutItsSlowestSystemsTime) {
  Start({"SY1", "SY2", "SY3", "SY4", "SY5", "SY6"}, {{"delays", {{"open", 1000}}}});
  Listing("SY1.P00#SY2.P00#SY3.P00#SY4.P00#SY5.P00#SY6.P00#");
  const auto start = Clock::now();
  const ProcessResult result = Run({"X", "ITEM=Response:Time"});
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_EQ(result.exitCode, 0) << result.out;
  EXPECT_NE(result.out.find("NoSystems=6, Processed=6, Failed=0"), std::string::npos) << result.out;
  EXPECT_LT(seconds, 3.0);
}

// Once the first system that cannot be opened is known, the systems after it are of no use:
// one still at work is stopped, and the run does not wait for it.
TEST_F(ParallelListingEndToEnd, ASystemStillRunningWhenError1033IsKnownIsStopped) {
  Start({"OK1", "SLOW"}, {{"delays", {{"call", 20000}}}});
  testsupport::ProfileValues refused;
  refused.destination = "BIN";
  refused.gwservice = "01";  // nobody listens there
  testsupport::WriteProfile(drives_, kSensors + "BIN.P00", refused, "secret");
  Listing("BIN.P00#SLOW.P00#");
  const auto start = Clock::now();
  const ProcessResult result = Run({"X", "ITEM=Response:Time"});
  EXPECT_EQ(result.out,
            "\n<Prtg>\n\n<Error>1</Error>\n<Text>Error 1033: RFC Open-Error... </Text>\n</Prtg>\n");
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 10.0);
  EXPECT_EQ(testsupport::ProcessesOf(Program()), 0u);
}

// A library that prints into the sensor's standard output garbles the report of the process
// that checks its system: that system's failure ends the document after the channels before it.
TEST_F(ParallelListingEndToEnd, AMalformedReportIsThatSystemsFailure) {
  UseLibrary("rfc-fixtures/print_in_call/" + kLibrary);
  for (const auto& [name, host] : {std::pair{"PRD", "prdhost"}, std::pair{"BAD", "faulty"}}) {
    testsupport::ProfileValues values;
    values.destination = name;
    values.host = host;
    values.gwservice = "99";
    testsupport::WriteProfile(drives_, kSensors + name + ".P00", values, "secret");
  }
  Listing("PRD.P00#BAD.P00#");
  const ProcessResult result = Run({"X", "ITEM=Response:Time"});
  EXPECT_EQ(MaskTimes(result.out),
            MaskTimes("\n<Prtg>\n\n" + XmlChannel("PRD.P00") +
                      "<Error>1</Error>\n<Text>Error 1050: RFC-Library failed in RfcCall "
                      "(malformed report) !</Text>\n</Prtg>\n"));
  EXPECT_EQ(result.exitCode, 2);
}

// While the children work, no process shows the password, the logon or a profile's content on
// its command line or in its environment.
TEST_F(ParallelListingEndToEnd, NoProcessShowsThePassword) {
  if (kWindows) GTEST_SKIP() << "a Windows program's command line under Wine is Wine's";
  const std::string password = "Pw4Listings";
  Start({"PA1", "PA2", "PA3"}, {{"delays", {{"open", 1500}}}}, password);
  Listing("PA1.P00#PA2.P00#PA3.P00#");
  auto run = std::async(std::launch::async, [this] { return Run({"X", "ITEM=Response:Time"}); });
  std::size_t children = 0;
  while (run.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
      std::error_code unreadable;
      if (fs::read_symlink(entry.path() / "exe", unreadable) != fs::canonical(Program())) continue;
      ++children;
      for (const char* part : {"cmdline", "environ"}) {
        std::ifstream in(entry.path() / part, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str().find(password), std::string::npos) << entry.path() << "/" << part;
        EXPECT_EQ(text.str().find("MONITOR"), std::string::npos) << entry.path() << "/" << part;
      }
    }
  }
  const ProcessResult result = run.get();
  EXPECT_EQ(result.exitCode, 0) << result.out;
  EXPECT_GT(children, 0u);  // the scan saw the sensor's processes at work
}

}  // namespace
