// The sensor's command line as the monitor uses it.
#include <gtest/gtest.h>

#include "src/run/usage.h"
#include "tests/support/drives.h"

namespace {

using testsupport::Drives;

TEST(CommandLineEndToEnd, NoArgumentPrintsExactlyError1001) {
  Drives drives;
  auto result = drives.RunSensor({});
  EXPECT_EQ(result.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing "
            "!</Text>\n</Prtg>\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 2);
}

TEST(CommandLineEndToEnd, PathCheckWritesItsFileAndExitsZero) {
  Drives drives;
  auto result = drives.RunSensor({"/PathCheck"});
  EXPECT_EQ(result.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Info 0000: Prtg-File PathCheck.Txt now "
            "created</Text>\n</Prtg>\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(drives.Read("C:\\work\\PathCheck.Txt"), "Prtg Path...");
}

TEST(CommandLineEndToEnd, PathCheckReportsAlsoWhenTheFileCannotBeWritten) {
  Drives drives;
  drives.MakeDirectory("C:\\work\\PathCheck.Txt");  // a directory where the file should go
  auto result = drives.RunSensor({"/PathCheck"});
  EXPECT_NE(result.out.find("Info 0000: Prtg-File PathCheck.Txt now created"), std::string::npos);
  EXPECT_EQ(result.exitCode, 0);
}

// 0 and 1 tell the monitor how the run went, and only when the document arrived.
TEST(CommandLineEndToEnd, OutputThatCannotBeWrittenIsExitCodeTwo) {
  Drives drives;
  for (const testsupport::Output output :
       {testsupport::Output::DiskFull, testsupport::Output::BrokenPipe}) {
    const auto result = drives.Run("sapsysinfo", {"/PathCheck"}, "C:\\work", "", output);
    EXPECT_EQ(result.exitCode, 2) << static_cast<int>(output);
    EXPECT_EQ(drives.Read("C:\\work\\PathCheck.Txt"), "Prtg Path...");
  }
}

TEST(CommandLineEndToEnd, LowerCasePathCheckIsAProfileName) {
  Drives drives;
  auto result = drives.RunSensor({"/pathcheck"});
  EXPECT_FALSE(drives.Read("C:\\work\\PathCheck.Txt").has_value());
  EXPECT_EQ(result.out.find("Info 0000"), std::string::npos);
}

TEST(CommandLineEndToEnd, UnknownFlavourEndsWithExitTwo) {
  Drives drives;
  auto result = drives.RunSensor({"/Flavour=XML", "PRD"});
  EXPECT_EQ(result.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1043: Unknown Flavour XML ! Valid are EXEXML, "
            "Tendril, Vigilor, Nebulant, Quillon</Text>\n</Prtg>\n");
  EXPECT_EQ(result.exitCode, 2);
}

// An administrator's request for help, alone on the command line: the usage text, exit code 0.
// Beside another argument it is the profile name it always was.
TEST(CommandLineEndToEnd, AHelpRequestAloneGetsTheUsageText) {
  Drives drives;
  for (const char* request : {"/?", "-h", "--help"}) {
    const auto result = drives.RunSensor({request});
    EXPECT_EQ(result.out, UsageText()) << request;
    EXPECT_EQ(result.err, "") << request;
    EXPECT_EQ(result.exitCode, 0) << request;
  }
  const std::pair<std::vector<std::string>, std::string> asProfileNames[] = {
      {{"/?", "PRD"}, "Error 1002: Profile /?.P00 is missing..."},
      {{"/Flavour=Tendril", "-h"}, "Error 1002: Profile -h.P00 is missing..."},
  };
  for (const auto& [arguments, message] : asProfileNames) {
    const auto result = drives.RunSensor(arguments);
    EXPECT_EQ(result.out, "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n")
        << arguments[0];
    EXPECT_EQ(result.exitCode, 2) << arguments[0];
  }
}

}  // namespace
