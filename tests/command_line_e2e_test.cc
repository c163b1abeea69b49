// The sensor's command line as the monitor uses it.
#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace {

using testsupport::ProgramPath;
using testsupport::RunProcess;
using testsupport::ScratchDirectory;

TEST(CommandLineEndToEnd, NoArgumentPrintsExactlyError1001) {
  ScratchDirectory dir;
  auto result = RunProcess({ProgramPath("sapsysinfo")}, {.cwd = dir.path()});
  EXPECT_EQ(result.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing "
            "!</Text>\n</Prtg>\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 2);
}

TEST(CommandLineEndToEnd, PathCheckWritesItsFileAndExitsZero) {
  ScratchDirectory dir;
  auto result = RunProcess({ProgramPath("sapsysinfo"), "/PathCheck"}, {.cwd = dir.path()});
  EXPECT_EQ(result.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Info 0000: Prtg-File PathCheck.Txt now "
            "created</Text>\n</Prtg>\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(dir.Read("PathCheck.Txt"), "Prtg Path...");
}

TEST(CommandLineEndToEnd, PathCheckReportsAlsoWhenTheFileCannotBeWritten) {
  ScratchDirectory dir;
  dir.Write("PathCheck.Txt/blocker", "");  // a directory where the file should go
  auto result = RunProcess({ProgramPath("sapsysinfo"), "/PathCheck"}, {.cwd = dir.path()});
  EXPECT_NE(result.out.find("Info 0000: Prtg-File PathCheck.Txt now created"), std::string::npos);
  EXPECT_EQ(result.exitCode, 0);
}

TEST(CommandLineEndToEnd, LowerCasePathCheckIsAProfileName) {
  ScratchDirectory dir;
  auto result = RunProcess({ProgramPath("sapsysinfo"), "/pathcheck"}, {.cwd = dir.path()});
  EXPECT_FALSE(dir.Exists("PathCheck.Txt"));
  EXPECT_EQ(result.out.find("Info 0000"), std::string::npos);
}

TEST(CommandLineEndToEnd, UnknownFlavourEndsWithExitTwo) {
  ScratchDirectory dir;
  auto result = RunProcess({ProgramPath("sapsysinfo"), "/Flavour=XML", "PRD"}, {.cwd = dir.path()});
  EXPECT_EQ(result.out,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1043: Unknown Flavour XML ! Valid are EXEXML, "
            "Tendril, Vigilor, Nebulant, Quillon</Text>\n</Prtg>\n");
  EXPECT_EQ(result.exitCode, 2);
}

}  // namespace
