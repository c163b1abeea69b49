// Dev_Rfc.Trc in the sensor's directory as failing runs meet it: kept below 1 MiB by one
// rotation to Dev_Rfc.Trc.old, many runs at once losing neither a section nor the older trace,
// and a trace that is no regular file never holding a run up.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/lines.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testsupport::Drives;
using testsupport::ErrorDocument;
using testsupport::Lines;
using testsupport::ProcessResult;
using testsupport::Sapsim;

constexpr std::size_t kMebibyte = std::size_t{1024} * 1024;
const std::string kTrace = "C:\\work\\Dev_Rfc.Trc";
const std::string kOldTrace = "C:\\work\\Dev_Rfc.Trc.old";

// An earlier trace of exactly `size` bytes, every line numbered, so that a lost line shows.
std::string OlderTrace(std::size_t size) {
  std::string trace;
  for (int line = 0; trace.size() < size; ++line) {
    trace += "older trace line " + std::to_string(line) + "\n";
  }
  trace.resize(size - 1);
  return trace + "\n";
}

// How many whole sections of FAIL's failed call the text holds; a line that belongs to none
// fails the test.
int WholeSections(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  int sections = 0;
  for (std::size_t i = 0; i < lines.size(); i += 3) {
    EXPECT_TRUE(lines[i].starts_with("**** ERROR ") && lines[i].ends_with(" RfcReceive"))
        << "line " << i << ": " << lines[i];
    if (i + 2 >= lines.size()) return sections;
    EXPECT_TRUE(lines[i + 1].starts_with("ERROR       FUNCTION_FAILED")) << lines[i + 1];
    EXPECT_EQ(lines[i + 2], "       ======> FAIL's own reason");
    ++sections;
  }
  return sections;
}

// A system whose call fails with a reason, so that each run leaves a section of the trace.
class SharedTraceEndToEnd : public testing::Test {
 protected:
  SharedTraceEndToEnd() {
    drives_.MakeDirectory(testsupport::kSensorDirectory);
    const json fail = {{"name", "FAIL"},
                       {"answer", {{"code", 1}, {"message", "FAIL's own reason"}}}};
    sim_ = std::make_unique<Sapsim>(json{{"systems", {fail}}}.dump());
    testsupport::WriteSystemProfile(drives_, *sim_, "FAIL");
    drives_.MakeDirectory("C:\\work");
  }

  void RunFailingSystem() const {
    const ProcessResult result = drives_.RunSensor({"FAIL"});
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.out, ErrorDocument("Error 1014: RFC-Failure raised ! - FAIL's own reason"));
    EXPECT_EQ(result.exitCode, 2);
  }

  Drives drives_;
  std::unique_ptr<Sapsim> sim_;
};

// A section of a failed call is about a hundred bytes: after 1,048,500 bytes it would pass
// 1 MiB, after 1,000,000 it would not.
TEST_F(SharedTraceEndToEnd, AnAppendThatWouldPassOneMebibyteRotatesTheTraceFirst) {
  struct Case {
    std::size_t before;
    bool rotated;
  } cases[] = {{1048500, true}, {1000000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.before) + " bytes before");
    const std::string older = OlderTrace(c.before);
    drives_.Write(kTrace, older);
    fs::remove(drives_.HostPath(kOldTrace));
    RunFailingSystem();
    const std::string trace = drives_.Read(kTrace).value_or("");
    EXPECT_LE(trace.size(), kMebibyte);
    if (c.rotated) {
      EXPECT_EQ(drives_.Read(kOldTrace), older);
      EXPECT_EQ(WholeSections(trace), 1) << trace;
    } else {
      EXPECT_FALSE(drives_.Read(kOldTrace).has_value());
      ASSERT_TRUE(trace.starts_with(older));
      EXPECT_EQ(WholeSections(trace.substr(older.size())), 1);
    }
  }
}

// Rotating is a rename and an append: done by each run on its own, a run that renames after
// another one already did moves that one's fresh file over the older trace. Renames that take
// 2 ms longer (a preloaded library slows them) widen the gap between the steps.
TEST_F(SharedTraceEndToEnd, RunsAtTheSameTimeLoseNoSectionAndNoOlderTrace) {
  if (!testsupport::UnderWine()) {
    drives_.SetEnvironment("LD_PRELOAD",
                           testsupport::ProgramPath("test-fixtures/libslow_rename.so"));
    // The sanitizers' build refuses to start with a library loaded before their runtime.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    drives_.SetEnvironment("ASAN_OPTIONS",
                           std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0");
  }
  const std::string older = OlderTrace(kMebibyte - 40);
  drives_.Write(kTrace, older);
  const int runs = 50;
  std::vector<ProcessResult> results(runs);
  std::vector<std::thread> threads;
  threads.reserve(runs);
  for (int i = 0; i < runs; ++i) {
    threads.emplace_back([&, i] { results[i] = drives_.RunSensor({"FAIL"}); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const ProcessResult& result : results) {
    EXPECT_EQ(result.out, ErrorDocument("Error 1014: RFC-Failure raised ! - FAIL's own reason"));
  }
  EXPECT_EQ(drives_.Read(kOldTrace), older);
  EXPECT_EQ(WholeSections(drives_.Read(kTrace).value_or("")), runs);
}

// A FIFO where the trace or its lock file belongs would hold a run that opens it until
// someone reads; the run's section is dropped instead, and the FIFO stays as it is.
TEST_F(SharedTraceEndToEnd, ATraceThatIsNoRegularFileIsLeftAloneAndTheRunEnds) {
  if (testsupport::UnderWine()) {
    GTEST_SKIP() << "Windows has no FIFOs in a folder (named pipes live in \\\\.\\pipe\\)";
  }
  drives_.SetTimeout(std::chrono::seconds(20));
  for (const std::string name : {"Dev_Rfc.Trc", "Dev_Rfc.Trc.lock"}) {
    SCOPED_TRACE(name);
    const std::string fifo = drives_.HostPath("C:\\work\\" + name);
    for (const std::string& file : {kTrace, kTrace + ".lock"}) fs::remove(drives_.HostPath(file));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    RunFailingSystem();
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_FALSE(fs::is_regular_file(drives_.HostPath(kTrace)));
    fs::remove(fifo);
  }
}

}  // namespace
