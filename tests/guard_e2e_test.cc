// A document whatever the library does: a library that exits or crashes inside an operation,
// one that never returns, and a sensor that is told to stop, each still gives the monitor a
// whole document and exit code 2, within the run's deadline.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Drives;
using testsupport::ErrorDocument;
using testsupport::MaskTimes;
using testsupport::ProcessResult;
using testsupport::XmlChannel;

using testsupport::RfcLibrary;

const bool kWindows = testsupport::UnderWine();
const std::string kProgram = testsupport::SensorFileName();
const std::string kCrash = kWindows ? "EXCEPTION_ACCESS_VIOLATION" : "SIGSEGV";
const std::string kSensors = testsupport::kSensorDirectory;

using Clock = std::chrono::steady_clock;

// A copy of the sensor with one of the faulty libraries beside it, in the monitor's folder,
// with the profiles of a good system (PRD) and of one on the host the library fails on (BAD).
// The faulty libraries are of each kind, classic and NetWeaver.
class GuardEndToEnd : public testing::TestWithParam<RfcLibrary> {
 protected:
  GuardEndToEnd() {
    drives_.MakeDirectory(kSensors);
    for (const auto& [name, host] : {std::pair{"PRD", "prdhost"}, std::pair{"BAD", "faulty"}}) {
      testsupport::ProfileValues values;
      values.destination = name;
      values.host = host;
      values.gwservice = "99";
      testsupport::WriteProfile(drives_, kSensors + name + ".P00", values, "secret");
    }
    drives_.Write(kSensors + "Talvex.Prf", "# Gsng: 123456789012PRD.P00#BAD.P00#\n");
  }

  static bool NetWeaver() { return GetParam() == RfcLibrary::NetWeaver; }

  // The library's operation that stands for one of the classic library's.
  static std::string Operation(const std::string& classic) {
    if (!NetWeaver()) return classic;
    if (classic == "RfcOpen") return "RfcOpenConnection";
    if (classic == "RfcClose") return "RfcCloseConnection";
    return "RfcInvoke";  // which sends the call and receives the answer
  }

  void UseLibrary(const std::string& fault) const {
    const std::string library = testsupport::LibraryFileName(GetParam());
    const fs::path sensor = drives_.HostPath(kSensors);
    fs::copy_file(Drives::SensorFile(), sensor / kProgram, fs::copy_options::overwrite_existing);
    fs::copy_file(Drives::BuildFile("rfc-fixtures/" + fault + "/" + library), sensor / library,
                  fs::copy_options::overwrite_existing);
  }

  std::string Program() const { return (fs::path(drives_.HostPath(kSensors)) / kProgram).string(); }

  // Runs the sensor's copy in its folder; the seconds it took go to `seconds`.
  ProcessResult Run(const std::vector<std::string>& arguments, double* seconds = nullptr) const {
    const auto start = Clock::now();
    ProcessResult result = drives_.RunSensorFrom(Program(), arguments);
    if (seconds) *seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
  }

  Drives drives_;
};

struct FaultCase {
  std::string fault;
  std::string single;   // the single run's message
  std::string listing;  // the listing's, after PRD's channel
};

const std::string kListingHead = "\n<Prtg>\n\n";
std::string ListingEnding(const std::string& message) {
  return "<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n";
}

TEST_P(GuardEndToEnd, EveryFaultOfTheLibraryEndsWithAWholeDocument) {
  const auto failed = [](const std::string& operation, const std::string& cause) {
    return "Error 1050: RFC-Library failed in " + Operation(operation) + " (" + cause + ") !";
  };
  const auto noAnswer = [](const std::string& from, const std::string& operation) {
    return "Error 1048: No Answer within 2 Seconds" + from + " (" + Operation(operation) + ") !";
  };
  const FaultCase cases[] = {
      {"exit_in_open", failed("RfcOpen", "exit"), failed("RfcOpen", "exit")},
      {"exit_in_call", failed("RfcCall", "exit"), failed("RfcCall", "exit")},
      {"crash_in_call", failed("RfcCall", kCrash), failed("RfcCall", kCrash)},
      {"hang_in_receive", noAnswer("", "RfcReceive"), noAnswer(" from BAD.P00", "RfcReceive")},
      {"hang_in_close", noAnswer("", "RfcClose"), noAnswer(" from BAD.P00", "RfcClose")},
  };
  for (const FaultCase& c : cases) {
    UseLibrary(c.fault);
    double seconds = 0;
    const ProcessResult single = Run({"BAD", "X,TIMEOUT=2"}, &seconds);
    EXPECT_EQ(single.out, ErrorDocument(c.single)) << c.fault;
    EXPECT_EQ(single.exitCode, 2) << c.fault;
    EXPECT_LT(seconds, 10) << c.fault;

    // A listing ends its document after the channels before the failing system, whether its
    // systems are checked one at a time or each in a process of its own; no process of it is
    // left behind.
    for (const auto systems :
         {testsupport::SystemsAtATime::Default, testsupport::SystemsAtATime::One}) {
      const ProcessResult listing =
          Run(testsupport::WithSystemsAtATime({"X", "ITEM=Response:Time,TIMEOUT=2"}, systems));
      EXPECT_EQ(MaskTimes(listing.out),
                MaskTimes(kListingHead + XmlChannel("PRD.P00") + ListingEnding(c.listing)))
          << c.fault << " " << testsupport::NameOf(systems);
      EXPECT_EQ(listing.exitCode, 2) << c.fault;
      EXPECT_EQ(testsupport::ProcessesOf(Program()), 0u) << c.fault;
    }

    // The good system is not touched by any of it.
    const ProcessResult good = Run({"PRD", "X,TIMEOUT=2"});
    EXPECT_EQ(good.exitCode, 0) << c.fault << good.out;
  }
}

// The monitor stops a sensor that runs too long; the sensor still ends its document.
TEST_P(GuardEndToEnd, ATerminationRequestEndsTheDocument) {
  if (kWindows) GTEST_SKIP() << "a POSIX signal does not reach a Windows program under Wine";
  UseLibrary("hang_in_receive");
  drives_.TerminateAfter(std::chrono::milliseconds(500));
  const std::string message =
      "Error 1050: RFC-Library failed in " + Operation("RfcReceive") + " (SIGTERM) !";
  const ProcessResult single = Run({"BAD"});
  EXPECT_EQ(single.out, ErrorDocument(message));
  EXPECT_EQ(single.exitCode, 2);
  const ProcessResult listing = Run({"X", "ITEM=Response:Time"});
  EXPECT_EQ(MaskTimes(listing.out),
            MaskTimes(kListingHead + XmlChannel("PRD.P00") + ListingEnding(message)));
  EXPECT_EQ(listing.exitCode, 2);
}

// The real stand-in against a system that never answers, with the library's own timeout far
// beyond the run's deadline.
TEST_P(GuardEndToEnd, ASystemThatNeverAnswersMeetsTheDeadline) {
  testsupport::Sapsim sim(
      nlohmann::json{{"systems", {{{"name", "HNG"}, {"fault", "hang_on_call"}}}}}.dump());
  testsupport::WriteSystemProfile(drives_, sim, "HNG");
  drives_.SetEnvironment("RFC_STANDIN_TIMEOUT_MS", "120000");
  drives_.UseLibrary(GetParam());
  const ProcessResult result = drives_.RunSensor({"HNG", "X,Timeout=2"});
  EXPECT_EQ(result.out, ErrorDocument("Error 1048: No Answer within 2 Seconds (" +
                                      Operation("RfcReceive") + ") !"));
  EXPECT_EQ(result.exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Libraries, GuardEndToEnd,
                         testing::Values(RfcLibrary::Classic, RfcLibrary::NetWeaver),
                         [](const auto& test) { return testsupport::NameOf(test.param); });

}  // namespace
