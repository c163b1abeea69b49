// The RFC library as the sensor meets it on a probe: loaded at run time from the sensor's own
// folder (else the system's search), and when it cannot be used, a document that says why.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "standin/testing/sapsim.h"
#include "tests/support/drives.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Drives;
using testsupport::ErrorDocument;
using testsupport::ProcessResult;

const bool kWindows = testsupport::UnderWine();
const std::string kLibrary = testsupport::LibraryFileName(testsupport::RfcLibrary::Classic);
const std::string kProgram = testsupport::SensorFileName();
// The NetWeaver library and its companion, as they lie in the build's folder of their own.
const std::string kNetWeaver = testsupport::LibraryFileName(testsupport::RfcLibrary::NetWeaver);
const std::string kCompanion = testsupport::CompanionFileName();
// The search path a test can set: Wine puts WINEPATH in front of the Windows PATH.
const std::string kSearchPath = kWindows ? "WINEPATH" : "LD_LIBRARY_PATH";
const char kSeparator = kWindows ? ';' : ':';

// A copy of the sensor in a folder of its own (D:\sensor), with whatever library the test puts
// beside it, run in C:\work with a profile that the Tendril flavour reads from the command line
// (of a system that does not answer: a run that gets a library ends with Error 1011).
class SensorLibraryEndToEnd : public testing::Test {
 protected:
  SensorLibraryEndToEnd() {
    drives_.MakeDirectory("D:\\sensor");
    drives_.MakeDirectory("D:\\profiles");
    fs::copy_file(Drives::SensorFile(), Folder() / kProgram);
    testsupport::ProfileValues values;
    values.gwservice = "99";
    testsupport::WriteProfile(drives_, "D:\\profiles\\PRD.P00", values, "secret");
  }

  fs::path Folder() const { return drives_.HostPath("D:\\sensor"); }
  fs::path Current() const { return drives_.HostPath("C:\\work"); }

  ProcessResult Run(const std::vector<std::string>& arguments = {"/Flavour=Tendril",
                                                                 "D:\\profiles\\PRD"}) const {
    return drives_.RunSensorFrom((Folder() / kProgram).string(), arguments);
  }

  // The message's text, between "Error 1047: RFC-Library " and " !".
  static std::string Problem(const ProcessResult& result) {
    const std::string head = "<Prtg>\n<Error>1</Error>\n<Text>Error 1047: RFC-Library ";
    const std::string tail = " !</Text>\n</Prtg>\n";
    if (!result.out.starts_with(head) || !result.out.ends_with(tail)) return "(" + result.out + ")";
    return result.out.substr(head.size(), result.out.size() - head.size() - tail.size());
  }

  Drives drives_;
};

TEST_F(SensorLibraryEndToEnd, AMissingLibraryIsNamedWithThePlacesSearched) {
  const ProcessResult result = Run();
  const std::string problem = Problem(result);
  EXPECT_TRUE(problem.starts_with(kLibrary + " or " + kNetWeaver + " not found in ")) << problem;
  EXPECT_TRUE(problem.ends_with(kWindows ? " nor in the system folders or PATH"
                                         : " nor in the system's library path"))
      << problem;
  EXPECT_EQ(result.exitCode, 2);
}

TEST_F(SensorLibraryEndToEnd, ALibraryWithoutAnOperationNamesIt) {
  fs::copy_file(Drives::BuildFile("rfc-fixtures/without-receive/" + kLibrary), Folder() / kLibrary);
  const ProcessResult result = Run();
  EXPECT_TRUE(Problem(result).ends_with(kLibrary + " lacks the operation RfcReceive"))
      << result.out;
  EXPECT_EQ(result.exitCode, 2);
}

// Under Wine the 32-bit stand-ins of the win32 build; natively a library file whose header says
// it is built for 32 bits. Either library of the wrong width says which one is needed.
TEST_F(SensorLibraryEndToEnd, ALibraryOfTheWrongKindSaysWhichIsNeeded) {
  for (const std::string& library : {kLibrary, kNetWeaver}) {
    SCOPED_TRACE(library);
    fs::remove_all(Folder());
    fs::create_directories(Folder());
    fs::copy_file(Drives::SensorFile(), Folder() / kProgram);
    std::string remedy;
    if (kWindows) {
      const char* win32 = std::getenv("SAPSYSINFO_WIN32_BIN_DIR");
      ASSERT_TRUE(win32 != nullptr) << "SAPSYSINFO_WIN32_BIN_DIR names the win32 build's programs";
      const std::string folder = std::string(win32) + (library == kLibrary ? "/" : "/nwrfc/");
      fs::copy_file(folder + library, Folder() / library);
      if (library == kNetWeaver) fs::copy_file(folder + kCompanion, Folder() / kCompanion);
      remedy = "use the win32 package";
    } else {
      std::string header(64, '\0');
      header.replace(0, 4,
                     "\x7f"
                     "ELF");
      header[4] = 1;   // 32 bits
      header[5] = 1;   // little-endian
      header[18] = 3;  // x86
      std::ofstream(Folder() / library, std::ios::binary) << header;
      remedy = "it needs a 64-bit " + library;
    }
    const ProcessResult result = Run();
    EXPECT_TRUE(Problem(result).ends_with(library +
                                          " is a 32-bit library; this sensor is 64-bit: " + remedy))
        << result.out;
    EXPECT_EQ(result.exitCode, 2);
  }
}

// The NetWeaver library loads its companion from beside it: without it there, the run names it,
// also when one lies in the current directory, whatever the search path says.
TEST_F(SensorLibraryEndToEnd, TheNetWeaverLibraryWithoutItsCompanionNamesIt) {
  fs::copy_file(Drives::BuildFile("nwrfc/" + kNetWeaver), Folder() / kNetWeaver);
  // On Windows the vendor's kit has the ICU libraries beside it too (their names carry their
  // version); whichever are not there are named.
  const std::string companions =
      kWindows ? kCompanion + ", icuuc*.dll, icudt*.dll, icuin*.dll" : kCompanion;
  const auto expectNamed = [&] {
    const ProcessResult result = Run();
    EXPECT_TRUE(Problem(result).ends_with(kNetWeaver + " cannot be loaded: it needs " + companions +
                                          " beside it"))
        << result.out;
    EXPECT_EQ(result.exitCode, 2);
  };
  expectNamed();
  drives_.MakeDirectory("C:\\work");
  fs::copy_file(Drives::BuildFile("nwrfc/" + kCompanion), Current() / kCompanion);
  for (const std::string& entries : {std::string("."), std::string(1, kSeparator)}) {
    SCOPED_TRACE(kSearchPath + "=" + entries);
    drives_.SetEnvironment(kSearchPath, entries);
    expectNamed();
  }
}

// An installation that has the classic library keeps it when the NetWeaver library is put
// beside it; the NetWeaver library alone is used as well. sapsim records which one opened.
TEST_F(SensorLibraryEndToEnd, TheClassicLibraryWinsWhereBothLieBesideTheSensor) {
  testsupport::Sapsim sim(R"({"systems": [{"name": "PRD"}]})",
                          testsupport::SapsimOptions{.record = true});
  testsupport::ProfileValues values;
  values.gwservice = std::to_string(sim.Port("PRD"));
  testsupport::WriteProfile(drives_, "D:\\profiles\\LIVE.P00", values, "secret");
  const std::vector<std::string> live = {"/Flavour=Tendril", "D:\\profiles\\LIVE"};
  // The operation that opened the last connection sapsim saw.
  const auto lastOpen = [&sim] {
    std::string operation = "(none)";
    for (const auto& record : sim.Recorded()) {
      if (record["event"] == "open") operation = record["operation"].get<std::string>();
    }
    return operation;
  };
  for (const std::string& file : {kNetWeaver, kCompanion}) {
    fs::copy_file(Drives::BuildFile("nwrfc/" + file), Folder() / file);
  }
  const ProcessResult netWeaverAlone = Run(live);
  EXPECT_EQ(netWeaverAlone.exitCode, 0) << netWeaverAlone.out;
  EXPECT_EQ(lastOpen(), "RfcOpenConnection");

  fs::copy_file(Drives::BuildFile(kLibrary), Folder() / kLibrary);
  const ProcessResult both = Run(live);
  EXPECT_EQ(both.exitCode, 0) << both.out;
  EXPECT_EQ(lastOpen(), "RfcOpen");
  EXPECT_EQ(testsupport::MaskTimes(both.out), testsupport::MaskTimes(netWeaverAlone.out));
}

// The library is loaded when a run first needs it: runs that end before need none.
TEST_F(SensorLibraryEndToEnd, RunsThatNeedNoLibraryWorkWithoutOne) {
  EXPECT_EQ(Run({}).out, ErrorDocument("Error 1001: Parameter for Profile-Name is missing !"));
  const ProcessResult pathCheck = Run({"/PathCheck"});
  EXPECT_EQ(pathCheck.out, ErrorDocument("Info 0000: Prtg-File PathCheck.Txt now created"));
  EXPECT_EQ(pathCheck.exitCode, 0);
  EXPECT_EQ(Run({"/Flavour=Tendril", "D:\\profiles\\QAS"}).out,
            ErrorDocument("Error 1002: Profile D:\\profiles\\QAS.P00 is missing..."));
}

// The places the library (and what it needs) is loaded from: the sensor's own folder and the
// system's search, never the current directory, whatever the search path holds. Anyone who can
// write where the monitor runs the sensor could plant a library there.

// The loader takes an empty entry, or a relative one, as relative to the current directory.
TEST_F(SensorLibraryEndToEnd, NoEntryOfTheSearchPathMakesTheCurrentDirectoryOne) {
  const std::string elsewhere = kWindows ? "C:\\nowhere" : "/nowhere";
  // Either library, with the NetWeaver library's companion, would work from there.
  drives_.MakeDirectory("C:\\work\\lib");
  for (const fs::path& folder : {Current(), Current() / "lib"}) {
    fs::copy_file(Drives::BuildFile(kLibrary), folder / kLibrary);
    for (const std::string& file : {kNetWeaver, kCompanion}) {
      fs::copy_file(Drives::BuildFile("nwrfc/" + file), folder / file);
    }
  }
  for (const std::string& entries :
       {std::string(1, kSeparator), elsewhere + kSeparator + kSeparator + elsewhere,
        std::string("."), std::string("lib")}) {
    SCOPED_TRACE(kSearchPath + "=" + entries);
    drives_.SetEnvironment(kSearchPath, entries);
    const ProcessResult result = Run();
    EXPECT_TRUE(Problem(result).starts_with(kLibrary + " or " + kNetWeaver + " not found in "))
        << result.out;
    EXPECT_EQ(result.exitCode, 2);
  }
}

// The library beside the sensor is loaded by its full path; a library it needs by name is then
// the loader's to find, and the current directory must not be among its places either.
TEST_F(SensorLibraryEndToEnd, ALibraryTheRfcLibraryNeedsIsNotTakenFromTheCurrentDirectory) {
  if (kWindows) {
    GTEST_SKIP() << "the library that needs a companion is built for the host only";
  }
  fs::copy_file(Drives::BuildFile("test-fixtures/with-companion/librfc32.so"), Folder() / kLibrary);
  drives_.MakeDirectory("C:\\work");
  fs::copy_file(Drives::BuildFile("test-fixtures/companion/libsapsysinfo_companion.so"),
                Current() / "libsapsysinfo_companion.so");
  drives_.SetEnvironment(kSearchPath, ":");
  const ProcessResult result = Run();
  const std::string problem = Problem(result);
  EXPECT_TRUE(problem.starts_with((Folder() / kLibrary).string() + " cannot be loaded: "))
      << problem;
  EXPECT_NE(problem.find("libsapsysinfo_companion.so"), std::string::npos) << problem;
  EXPECT_EQ(result.exitCode, 2);

  // The same companion where the system looks for it: the library loads, and is then found to
  // lack the operations it does not have.
  drives_.SetEnvironment(kSearchPath, Current().string());
  EXPECT_NE(Problem(Run()).find(" lacks the operation RfcOpen"), std::string::npos);
}

}  // namespace
