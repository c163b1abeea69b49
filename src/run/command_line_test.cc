#include "src/run/command_line.h"

#include <gtest/gtest.h>

#include "src/output/messages.h"

namespace {

// The command line of the program's arguments; the message when the run ends instead.
struct Read {
  CommandLine line;
  std::string error;

  explicit Read(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "C:\\Sensors\\sapsysinfo.exe");
    try {
      line = ReadCommandLine(arguments);
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.exitCode, 2);
      error = end.message;
    }
  }
};

TEST(CommandLineTest, JoinsSecondAndThirdArgumentAndIgnoresTheRest) {
  const Read read({"PRD", "ITEM=Response:Time", "X", "Y"});
  EXPECT_EQ(read.error, "");
  EXPECT_EQ(read.line.programPath, "C:\\Sensors\\sapsysinfo.exe");
  EXPECT_EQ(read.line.profileName, "PRD");
  EXPECT_EQ(read.line.parameterText, "ITEM=Response:Time X");
  EXPECT_EQ(read.line.secondArgument, "ITEM=Response:Time");
  EXPECT_EQ(read.line.flavour, OutputFlavour::EXEXML);
}

TEST(CommandLineTest, ParameterTextMayBeEmptyOrOnlyTheThirdPart) {
  EXPECT_EQ(Read({"PRD"}).line.parameterText, "");
  EXPECT_EQ(Read({"PRD", "", "tail"}).line.parameterText, " tail");
}

TEST(CommandLineTest, MissingProfileNameIsError1001) {
  EXPECT_EQ(Read({}).error, "Error 1001: Parameter for Profile-Name is missing !");
  EXPECT_EQ(Read({"/Flavour=Nebulant"}).error,
            "Error 1001: Parameter for Profile-Name is missing !");
}

TEST(CommandLineTest, FlavourArgumentIsTakenOffBeforeNumbering) {
  const Read read({"/fLaVoUr=Quillon", "PRD", "CH=2", "third"});
  EXPECT_EQ(read.line.flavour, OutputFlavour::Quillon);
  EXPECT_EQ(read.line.profileName, "PRD");
  EXPECT_EQ(read.line.parameterText, "CH=2 third");

  const Read later({"PRD", "/Flavour=Nebulant"});
  EXPECT_EQ(later.line.flavour, OutputFlavour::EXEXML);
  EXPECT_EQ(later.line.parameterText, "/Flavour=Nebulant");
}

TEST(CommandLineTest, UnknownFlavourNamesTheValidOnes) {
  EXPECT_EQ(Read({"/Flavour=nebulant", "PRD"}).error,
            "Error 1043: Unknown Flavour nebulant ! Valid are EXEXML, Tendril, Vigilor, Nebulant, "
            "Quillon");
}

TEST(CommandLineTest, ArgumentsLongerThanTheirCapacityAreRefused) {
  EXPECT_EQ(Read({std::string(63, 'P')}).error, "");
  // An argument echoed in a message is cut to its capacity: a message is no place for 10 KB.
  EXPECT_EQ(Read({std::string(64, 'P')}).error, "Error 1041: Profile-Name " + std::string(63, 'P') +
                                                    "... is longer than 63 characters !");
  EXPECT_EQ(
      Read({std::string(10000, 'P')}).error,
      "Error 1041: Profile-Name " + std::string(63, 'P') + "... is longer than 63 characters !");
  EXPECT_EQ(Read({"/Flavour=" + std::string(10000, 'F'), "PRD"}).error,
            "Error 1043: Unknown Flavour " + std::string(63, 'F') +
                "... ! Valid are EXEXML, Tendril, Vigilor, Nebulant, Quillon");
  const Read fits({"PRD", std::string(59, 'a'), std::string(59, 'b')});
  EXPECT_EQ(fits.error, "");
  EXPECT_EQ(fits.line.parameterText.size(), 119u);
  EXPECT_EQ(Read({"PRD", std::string(60, 'a'), std::string(59, 'b')}).error,
            "Error 1042: Parameters longer than 119 characters !");
}

TEST(CommandLineTest, PathCheckOnlyInItsOwnLetterCase) {
  EXPECT_TRUE(IsPathCheck("/PathCheck"));
  EXPECT_FALSE(IsPathCheck("/pathcheck"));
  EXPECT_FALSE(IsPathCheck("/PathCheck "));
}

TEST(CommandLineTest, TheBannerCarriesTheBuildsVersion) {
  EXPECT_EQ(Banner("12:34:56"), "* 12:34:56 SAP SysInfo Vers 4.4 / 15.02.23");
}

}  // namespace
