#include "src/run/command_line.h"

#include <gtest/gtest.h>

#include "src/output/messages.h"

namespace {

// Runs ReadCommandLine; the text of the error document when the run ends, else empty.
std::string Read(RunContext& run, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "C:\\Sensors\\sapsysinfo.exe");
  try {
    ReadCommandLine(run, arguments);
  } catch (const RunEnded& end) {
    EXPECT_EQ(end.exitCode, 2);
    return run.ResultDocument;
  }
  return "";
}

std::string ErrorDocument(const std::string& message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n";
}

TEST(CommandLineTest, JoinsSecondAndThirdArgumentAndIgnoresTheRest) {
  RunContext run;
  EXPECT_EQ(Read(run, {"PRD", "ITEM=Response:Time", "X", "Y"}), "");
  EXPECT_EQ(run.ProgramPath, "C:\\Sensors\\sapsysinfo.exe");
  EXPECT_EQ(run.ProfileName, "PRD");
  EXPECT_EQ(run.Parameters.typed, "ITEM=Response:Time X");
  EXPECT_EQ(run.Parameters.upper, "ITEM=RESPONSE:TIME X");
  EXPECT_EQ(run.SecondArgument, "ITEM=Response:Time");
  EXPECT_EQ(run.Flavour, OutputFlavour::EXEXML);
}

TEST(CommandLineTest, UpperCasesOnlyTheLettersAToZ) {
  EXPECT_EQ(UpperCaseAtoZ("abz,AZ?h\xe4\xfc{`}"), "ABZ,AZ?H\xe4\xfc{`}");
  RunContext run;
  Read(run, {"prd", "item=a\xe4"});
  EXPECT_EQ(run.Parameters.upper, "ITEM=A\xe4");
  EXPECT_EQ(run.ProfileName, "prd");
}

TEST(CommandLineTest, ParameterTextMayBeEmptyOrOnlyTheThirdPart) {
  RunContext run;
  Read(run, {"PRD"});
  EXPECT_EQ(run.Parameters.typed, "");
  Read(run, {"PRD", "", "tail"});
  EXPECT_EQ(run.Parameters.typed, " tail");
}

TEST(CommandLineTest, MissingProfileNameIsError1001) {
  RunContext run;
  EXPECT_EQ(Read(run, {}), ErrorDocument("Error 1001: Parameter for Profile-Name is missing !"));
  EXPECT_EQ(Read(run, {"/Flavour=Nebulant"}),
            ErrorDocument("Error 1001: Parameter for Profile-Name is missing !"));
}

TEST(CommandLineTest, FlavourArgumentIsTakenOffBeforeNumbering) {
  RunContext run;
  EXPECT_EQ(Read(run, {"/fLaVoUr=Quillon", "PRD", "CH=2", "third"}), "");
  EXPECT_EQ(run.Flavour, OutputFlavour::Quillon);
  EXPECT_EQ(run.ProfileName, "PRD");
  EXPECT_EQ(run.Parameters.typed, "CH=2 third");
}

TEST(CommandLineTest, FlavourOnlyCountsAsFirstArgument) {
  RunContext run;
  Read(run, {"PRD", "/Flavour=Nebulant"});
  EXPECT_EQ(run.Flavour, OutputFlavour::EXEXML);
  EXPECT_EQ(run.Parameters.typed, "/Flavour=Nebulant");
}

TEST(CommandLineTest, UnknownFlavourNamesTheValidOnes) {
  RunContext run;
  EXPECT_EQ(Read(run, {"/Flavour=nebulant", "PRD"}),
            ErrorDocument("Error 1043: Unknown Flavour nebulant ! Valid are EXEXML, Tendril, "
                          "Vigilor, Nebulant, Quillon"));
}

TEST(CommandLineTest, ArgumentsLongerThanTheirCapacityAreRefused) {
  RunContext run;
  EXPECT_EQ(Read(run, {std::string(63, 'P')}), "");
  EXPECT_EQ(Read(run, {std::string(64, 'P')}),
            ErrorDocument("Error 1041: Profile-Name " + std::string(64, 'P') +
                          " is longer than 63 characters !"));
  EXPECT_EQ(Read(run, {"PRD", std::string(59, 'a'), std::string(59, 'b')}), "");
  EXPECT_EQ(run.Parameters.typed.size(), 119u);
  EXPECT_EQ(Read(run, {"PRD", std::string(60, 'a'), std::string(59, 'b')}),
            ErrorDocument("Error 1042: Parameters longer than 119 characters !"));
}

TEST(CommandLineTest, ConsoleMarks) {
  const std::pair<const char*, bool> cases[] = {{"", false},      {"ITEM=x", false}, {"ABC%", true},
                                                {"(No #1", true}, {"a@b", true},     {"$", true},
                                                {"!&*", false}};
  for (const auto& [text, on] : cases) {
    ParameterText parameters{text, UpperCaseAtoZ(text)};
    EXPECT_EQ(WantsConsoleTrace(parameters), on) << text;
  }
}

TEST(CommandLineTest, PathCheckOnlyInItsOwnLetterCase) {
  EXPECT_TRUE(IsPathCheck("/PathCheck"));
  EXPECT_FALSE(IsPathCheck("/pathcheck"));
  EXPECT_FALSE(IsPathCheck("/PathCheck "));
}

}  // namespace
