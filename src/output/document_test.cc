#include "src/output/document.h"

#include <gtest/gtest.h>

#include "tests/support/run_in.h"

#include "src/output/channel.h"

namespace {

using testsupport::RunIn;

// One document of each flavour: opening, a text, the closing.
struct FrameCase {
  OutputFlavour flavour;
  std::string parameters;
  std::string expected;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
  *os << FlavourName(c.flavour) << " '" << c.parameters << "'";
}

class FrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, WritesTheFlavoursLiterals) {
  RunContext run = RunIn(GetParam().flavour, GetParam().parameters);
  run.ResultDocument = "left over";
  OpenDocument(run);
  OpenText(run);
  run.ResultDocument += "free text";
  CloseText(run);
  CloseDocument(run);
  EXPECT_EQ(run.ResultDocument, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllFlavours, FrameTest,
    testing::Values(
        FrameCase{OutputFlavour::EXEXML, "", "\n<Prtg>\n\n<Text>free text</Text>\n\n</Prtg>\n"},
        FrameCase{OutputFlavour::Tendril, "", "\n<Prtg>\n\n<Text>free text</Text>\n\n</Prtg>\n"},
        FrameCase{OutputFlavour::Vigilor, "", "\n<Prtg>\n\n<Text>free text</Text>\n\n</Prtg>\n"},
        FrameCase{OutputFlavour::Nebulant, "", "\n# free text\n"},
        FrameCase{OutputFlavour::Quillon, "", "\n# free text\n"},
        // A selected channel empties everything written before the text closes.
        FrameCase{OutputFlavour::Quillon, "ch=2,more", "\n"},
        FrameCase{OutputFlavour::Nebulant, "ch=2", "\n# free text\n"}));

TEST(DocumentTest, OpeningAndClosingAloneAreSeventeenBytes) {
  RunContext run = RunIn(OutputFlavour::EXEXML);
  OpenDocument(run);
  CloseDocument(run);
  EXPECT_EQ(run.ResultDocument, "\n<Prtg>\n\n</Prtg>\n");
  EXPECT_EQ(run.ResultDocument.size(), 17u);
}

TEST(DocumentTest, ErrorDocumentReplacesTheContentInEveryFlavour) {
  for (OutputFlavour flavour :
       {OutputFlavour::EXEXML, OutputFlavour::Nebulant, OutputFlavour::Quillon}) {
    RunContext run = RunIn(flavour);
    run.ResultDocument = "\n<Prtg>\nhalf a document";
    WriteErrorDocument(run, "Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(run.ResultDocument,
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is "
              "missing !</Text>\n</Prtg>\n");
  }
}

TEST(DocumentTest, ErrorDocumentMayWrapTheDocumentsOwnText) {
  RunContext run = RunIn(OutputFlavour::EXEXML);
  run.ResultDocument = "Error 1014: RFC-Failure raised ! - disk full";
  WriteErrorDocument(run, run.ResultDocument);
  EXPECT_EQ(run.ResultDocument,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - disk "
            "full</Text>\n</Prtg>\n");
}

TEST(DocumentTest, ErrorMessageCannotBreakTheDocument) {
  RunContext run = RunIn(OutputFlavour::EXEXML);
  WriteErrorDocument(run, "Error 1002: Profile a</Text><Error>0</Error>&b\nc is missing...");
  EXPECT_EQ(run.ResultDocument,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1002: Profile a&lt;/Text&gt;&lt;Error&gt;0"
            "&lt;/Error&gt;&amp;b\nc is missing...</Text>\n</Prtg>\n");
}

TEST(DocumentTest, TextIsEscapedInXmlFlavoursOnly) {
  EXPECT_EQ(DocumentText(RunIn(OutputFlavour::EXEXML), "a<b>&c"), "a&lt;b&gt;&amp;c");
  EXPECT_EQ(DocumentText(RunIn(OutputFlavour::Nebulant), "a<b>&c"), "a<b>&c");
  EXPECT_EQ(DocumentText(RunIn(OutputFlavour::Quillon), "a<b>&c"), "a<b>&c");
}

TEST(FlavourTest, NamesMatchExactly) {
  EXPECT_EQ(FlavourNamed("Nebulant"), OutputFlavour::Nebulant);
  EXPECT_EQ(FlavourNamed("EXEXML"), OutputFlavour::EXEXML);
  EXPECT_FALSE(FlavourNamed("exexml").has_value());
  EXPECT_FALSE(FlavourNamed("Nebu").has_value());
  EXPECT_FALSE(FlavourNamed("").has_value());
}

}  // namespace
