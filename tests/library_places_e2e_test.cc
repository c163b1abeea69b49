// The places the RFC library (and what it needs) is loaded from: the sensor's own folder and
// the system's search, never the current directory, whatever the search path holds. Anyone
// who can write where the monitor runs the sensor could plant a library there.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/drives.h"
#include "tests/support/profiles.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Drives;
using testsupport::ProcessResult;

const bool kWindows = testsupport::UnderWine();
const std::string kLibrary = kWindows ? "librfc32.dll" : "librfc32.so";
const std::string kProgram = kWindows ? "sapsysinfo.exe" : "sapsysinfo";
const std::string kNetWeaver = kWindows ? "sapnwrfc.dll" : "libsapnwrfc.so";
const std::string kCompanion = kWindows ? "libsapucum.dll" : "libsapucum.so";
// The search path a test can set: Wine puts WINEPATH in front of the Windows PATH.
const std::string kSearchPath = kWindows ? "WINEPATH" : "LD_LIBRARY_PATH";
const char kSeparator = kWindows ? ';' : ':';

// A copy of the sensor in D:\sensor, run in C:\work, with a Tendril profile of a system that
// does not answer (a run that gets a library ends with Error 1011).
class LibraryPlacesEndToEnd : public testing::Test {
 protected:
  LibraryPlacesEndToEnd() {
    drives_.MakeDirectory("D:\\sensor");
    drives_.MakeDirectory("C:\\work\\lib");
    drives_.MakeDirectory("D:\\profiles");
    fs::copy_file(Drives::SensorFile(), Sensor() / kProgram);
    testsupport::ProfileValues values;
    values.gwservice = "99";
    testsupport::WriteProfile(drives_, "D:\\profiles\\PRD.P00", values, "secret");
  }

  fs::path Sensor() const { return drives_.HostPath("D:\\sensor"); }
  fs::path Current() const { return drives_.HostPath("C:\\work"); }

  ProcessResult Run() const {
    return drives_.RunSensorFrom((Sensor() / kProgram).string(),
                                 {"/Flavour=Tendril", "D:\\profiles\\PRD"});
  }

  static std::string Problem(const ProcessResult& result) {
    const std::string head = "<Prtg>\n<Error>1</Error>\n<Text>Error 1047: RFC-Library ";
    if (!result.out.starts_with(head)) return "(" + result.out + ")";
    return result.out.substr(head.size());
  }

  Drives drives_;
};

// The loader takes an empty entry, or a relative one, as relative to the current directory.
TEST_F(LibraryPlacesEndToEnd, NoEntryOfTheSearchPathMakesTheCurrentDirectoryOne) {
  const std::string elsewhere = kWindows ? "C:\\nowhere" : "/nowhere";
  // Either library, with the NetWeaver library's companion, would work from there.
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
TEST_F(LibraryPlacesEndToEnd, ALibraryTheRfcLibraryNeedsIsNotTakenFromTheCurrentDirectory) {
  if (kWindows) {
    GTEST_SKIP() << "the library that needs a companion is built for the host only";
  }
  fs::copy_file(Drives::BuildFile("test-fixtures/with-companion/librfc32.so"), Sensor() / kLibrary);
  fs::copy_file(Drives::BuildFile("test-fixtures/companion/libsapsysinfo_companion.so"),
                Current() / "libsapsysinfo_companion.so");
  drives_.SetEnvironment(kSearchPath, ":");
  const ProcessResult result = Run();
  const std::string problem = Problem(result);
  EXPECT_TRUE(problem.starts_with((Sensor() / kLibrary).string() + " cannot be loaded: "))
      << problem;
  EXPECT_NE(problem.find("libsapsysinfo_companion.so"), std::string::npos) << problem;
  EXPECT_EQ(result.exitCode, 2);

  // The same companion where the system looks for it: the library loads, and is then found to
  // lack the operations it does not have.
  drives_.SetEnvironment(kSearchPath, Current().string());
  EXPECT_NE(Problem(Run()).find(" lacks the operation RfcOpen"), std::string::npos);
}

// The NetWeaver library beside the sensor finds its companion beside it, or the run names it:
// one in the current directory is not taken, whatever the search path says.
TEST_F(LibraryPlacesEndToEnd, TheNetWeaverLibrarysCompanionIsNotTakenFromTheCurrentDirectory) {
  fs::copy_file(Drives::BuildFile("nwrfc/" + kNetWeaver), Sensor() / kNetWeaver);
  fs::copy_file(Drives::BuildFile("nwrfc/" + kCompanion), Current() / kCompanion);
  const std::string companions =
      kWindows ? kCompanion + ", icuuc*.dll, icudt*.dll, icuin*.dll" : kCompanion;
  for (const std::string& entries : {std::string("."), std::string(1, kSeparator)}) {
    SCOPED_TRACE(kSearchPath + "=" + entries);
    drives_.SetEnvironment(kSearchPath, entries);
    const ProcessResult result = Run();
    EXPECT_TRUE(Problem(result).ends_with(kNetWeaver + " cannot be loaded: it needs " + companions +
                                          " beside it !</Text>\n</Prtg>\n"))
        << result.out;
    EXPECT_EQ(result.exitCode, 2);
  }
}

}  // namespace
