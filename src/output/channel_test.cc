#include "src/output/channel.h"

#include <gtest/gtest.h>

#include "tests/support/run_in.h"

namespace {

using testsupport::RunIn;

struct ChannelCase {
  OutputFlavour flavour;
  std::string key, name, value, unit;
  std::string expected;
};

void PrintTo(const ChannelCase& c, std::ostream* os) {
  *os << FlavourName(c.flavour) << " '" << c.name << "'";
}

class AddChannelTest : public testing::TestWithParam<ChannelCase> {};

TEST_P(AddChannelTest, AppendsTheFlavoursForm) {
  const ChannelCase& c = GetParam();
  RunContext run = RunIn(c.flavour);
  run.ResultDocument = "before";
  AddChannel(run, c.key, c.name, c.value, c.unit);
  EXPECT_EQ(run.ResultDocument, "before" + c.expected);
  EXPECT_EQ(run.ChannelCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AddChannelTest,
    testing::Values(
        ChannelCase{OutputFlavour::EXEXML, "RFC_Open", "RFC-Open Time", "0016", "TimeResponse",
                    "\n<Result><Channel>RFC-Open Time</Channel>\n<Unit>Custom</Unit>\n"
                    "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0016</Value></Result>\n"},
        ChannelCase{OutputFlavour::Vigilor, "k", "No Unit", "7", "",
                    "\n<Result><Channel>No Unit</Channel>\n<Value>7</Value></Result>\n"},
        ChannelCase{OutputFlavour::EXEXML, "", "A&B<C>", "1", "x<y",
                    "\n<Result><Channel>A&amp;B&lt;C&gt;</Channel>\n<Unit>Custom</Unit>\n"
                    "<CustomUnit>x&lt;y</CustomUnit>\n<Value>1</Value></Result>\n"},
        ChannelCase{OutputFlavour::Nebulant, "RFC_Open", "RFC-Open Time", "0016", "TimeResponse",
                    "\n\nStatistic.RFC_Open: 0016\nMessage.RFC_Open: RFC-Open Time (mSec)"},
        ChannelCase{OutputFlavour::Nebulant, "", "a.b.c/d e", "1", "PerCent",
                    "\n\nStatistic.a_b.c_d_e: 1\nMessage.a_b.c_d_e: a.b.c/d e (%)"},
        ChannelCase{OutputFlavour::Nebulant, "k", "n", "1", "",
                    "\n\nStatistic.k: 1\nMessage.k: n (#)"},
        ChannelCase{OutputFlavour::Nebulant, "k", "n", "1", "percent",
                    "\n\nStatistic.k: 1\nMessage.k: n (percent)"},
        ChannelCase{OutputFlavour::Quillon, "Response_Time", "Response Time", "0123",
                    "TimeResponse", "\n> Response Time: 0123 mSec"}));

TEST(ChannelLabelTest, ReplacesSeparatorsAndTheFirstDotOnly) {
  EXPECT_EQ(ChannelLabel("", "a.b.c/d e\\f"), "a_b.c_d_e_f");
  EXPECT_EQ(ChannelLabel("Response_Time", "Response Time"), "Response_Time");
}

// In Quillon with "CH=n" only the n-th channel of the run writes, and only its value.
struct SelectorCase {
  std::string parameters;
  int selectedCall;  // 0: none
};

void PrintTo(const SelectorCase& c, std::ostream* os) { *os << c.parameters; }

class QuillonSelectorTest : public testing::TestWithParam<SelectorCase> {};

TEST_P(QuillonSelectorTest, OnlyTheSelectedChannelWritesItsValue) {
  RunContext run = RunIn(OutputFlavour::Quillon, GetParam().parameters);
  std::string expected;
  for (int call = 1; call <= 4; ++call) {
    std::string value = "000" + std::to_string(call);
    AddChannel(run, "k", "n", value, "TimeResponse");
    if (call == GetParam().selectedCall) expected = value;
  }
  EXPECT_EQ(run.ResultDocument, expected);
  EXPECT_EQ(run.ChannelCount, 4);
}

INSTANTIATE_TEST_SUITE_P(Selectors, QuillonSelectorTest,
                         testing::Values(SelectorCase{"CH=3", 3}, SelectorCase{"ch=2,X", 2},
                                         SelectorCase{"MATCH=4", 4}, SelectorCase{"CH=1234", 0},
                                         SelectorCase{"CH=0", 0}, SelectorCase{"CH=-1", 0},
                                         SelectorCase{"CH=x", 0}, SelectorCase{"CH= 1", 1}));

}  // namespace
