#include "src/output/channel.h"

#include <gtest/gtest.h>

#include "src/output/document.h"

namespace {

struct ChannelCase {
  OutputFlavour flavour;
  std::string key, name, value, unit;
  std::string expected;
};

TEST(AddChannelTest, AppendsTheFlavoursForm) {
  const ChannelCase cases[] = {
      {OutputFlavour::EXEXML, "RFC_Open", "RFC-Open Time", "0016", "TimeResponse",
       "\n<Result><Channel>RFC-Open Time</Channel>\n<Unit>Custom</Unit>\n"
       "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0016</Value></Result>\n"},
      {OutputFlavour::Vigilor, "k", "No Unit", "7", "",
       "\n<Result><Channel>No Unit</Channel>\n<Value>7</Value></Result>\n"},
      {OutputFlavour::EXEXML, "", "A&B<C>", "1", "x<y",
       "\n<Result><Channel>A&amp;B&lt;C&gt;</Channel>\n<Unit>Custom</Unit>\n"
       "<CustomUnit>x&lt;y</CustomUnit>\n<Value>1</Value></Result>\n"},
      {OutputFlavour::Nebulant, "RFC_Open", "RFC-Open Time", "0016", "TimeResponse",
       "\n\nStatistic.RFC_Open: 0016\nMessage.RFC_Open: RFC-Open Time (mSec)"},
      {OutputFlavour::Nebulant, "", "a.b.c/d e", "1", "PerCent",
       "\n\nStatistic.a_b.c_d_e: 1\nMessage.a_b.c_d_e: a.b.c/d e (%)"},
      {OutputFlavour::Nebulant, "k", "n", "1", "", "\n\nStatistic.k: 1\nMessage.k: n (#)"},
      {OutputFlavour::Nebulant, "k", "n", "1", "percent",
       "\n\nStatistic.k: 1\nMessage.k: n (percent)"},
      {OutputFlavour::Quillon, "Response_Time", "Response Time", "0123", "TimeResponse",
       "\n> Response Time: 0123 mSec"},
  };
  for (const ChannelCase& c : cases) {
    Document document(c.flavour, std::nullopt);
    std::string text = "before";
    document.AddChannel(text, Channel::Custom(c.key, c.name, c.value, c.unit));
    EXPECT_EQ(text, "before" + c.expected) << c.name;
  }
}

TEST(ChannelLabelTest, ReplacesSeparatorsAndTheFirstDotOnly) {
  EXPECT_EQ(ChannelLabel("", "a.b.c/d e\\f"), "a_b.c_d_e_f");
  EXPECT_EQ(ChannelLabel("Response_Time", "Response Time"), "Response_Time");
}

// With a channel selected, Quillon writes the n-th channel of the whole run, and only its value.
TEST(AddChannelTest, QuillonWritesOnlyTheSelectedChannelsValue) {
  const std::pair<std::int32_t, int> cases[] = {{3, 3}, {1, 1}, {4, 4}, {0, 0}, {-1, 0}, {5, 0}};
  for (const auto& [selector, selectedCall] : cases) {
    Document document(OutputFlavour::Quillon, selector);
    std::string text;
    std::string expected;
    for (int call = 1; call <= 4; ++call) {
      const std::string value = "000" + std::to_string(call);
      document.AddChannel(text, Channel::Custom("k", "n", value, kTimeUnit));
      if (call == selectedCall) expected = value;
    }
    EXPECT_EQ(text, expected) << selector;
  }
}

}  // namespace
