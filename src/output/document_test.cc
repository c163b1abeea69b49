#include "src/output/document.h"

#include <gtest/gtest.h>

namespace {

const Durations kTimes{16, 2, 3, 1234};

TEST(DocumentTest, ASystemsDocumentInEachFlavour) {
  const std::string xml =
      "\n<Prtg>\n\n<Text>(PRD) a&lt;b&gt;&amp;c</Text>\n"
      "\n<Result><Channel>RFC-Open Time</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0016</Value></Result>\n"
      "\n<Result><Channel>Processing Time</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0002</Value></Result>\n"
      "\n<Result><Channel>RFC-Close Time</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0003</Value></Result>\n"
      "\n<Result><Channel>Response Time</Channel>\n<Unit>Custom</Unit>\n"
      "<CustomUnit>TimeResponse</CustomUnit>\n<Value>1234</Value></Result>\n"
      "\n</Prtg>\n";
  const struct Case {
    OutputFlavour flavour;
    std::optional<std::int32_t> channel;
    std::string expected;
  } cases[] = {
      {OutputFlavour::EXEXML, std::nullopt, xml},
      {OutputFlavour::Tendril, std::nullopt, xml},
      {OutputFlavour::Vigilor, std::nullopt, xml},
      {OutputFlavour::Nebulant, std::nullopt,
       "\n# (PRD) a<b>&c"
       "\n\nStatistic.RFC_Open: 0016\nMessage.RFC_Open: RFC-Open Time (mSec)"
       "\n\nStatistic.Processing: 0002\nMessage.Processing: Processing Time (mSec)"
       "\n\nStatistic.RFC_Close: 0003\nMessage.RFC_Close: RFC-Close Time (mSec)"
       "\n\nStatistic.Response_Time: 1234\nMessage.Response_Time: Response Time (mSec)\n"},
      {OutputFlavour::Quillon, std::nullopt,
       "\n# (PRD) a<b>&c\n> RFC-Open Time: 0016 mSec\n> Processing Time: 0002 mSec"
       "\n> RFC-Close Time: 0003 mSec\n> Response Time: 1234 mSec\n"},
      // A selected channel empties everything written before the text closes.
      {OutputFlavour::Quillon, 3, "0003\n"},
      {OutputFlavour::Quillon, 9, "\n"},
      {OutputFlavour::Nebulant, 2,
       "\n# (PRD) a<b>&c"
       "\n\nStatistic.RFC_Open: 0016\nMessage.RFC_Open: RFC-Open "
       "Time (mSec)\n\nStatistic.Processing: 0002\nMessage."
       "Processing: Processing Time (mSec)\n\nStatistic.RFC_Close: "
       "0003\nMessage.RFC_Close: RFC-Close Time (mSec)\n\nStatistic."
       "Response_Time: 1234\nMessage.Response_Time: Response Time "
       "(mSec)\n"},
  };
  for (const Case& c : cases) {
    Document document(c.flavour, c.channel);
    EXPECT_EQ(document.SystemDocument("(PRD) a<b>&c", kTimes), c.expected)
        << static_cast<int>(c.flavour) << " " << c.channel.value_or(0);
  }
}

TEST(DocumentTest, AListingsPiecesMakeOneDocument) {
  Document document(OutputFlavour::EXEXML, std::nullopt);
  std::string printed = document.ListingHead();
  printed += document.ListingChannel("", "PRD", "Response Time", 171);
  printed += document.ListingSummary("(***) Response Time: NoSystems=1, Processed=1, Failed=0");
  EXPECT_EQ(printed,
            "\n<Prtg>\n\n"
            "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0171</Value></Result>\n"
            "\n\n<Text>(***) Response Time: NoSystems=1, Processed=1, Failed=0</Text>\n"
            "\n</Prtg>\n\n");

  // Quillon with a channel selected: the summary's text goes like everything before it.
  Document quillon(OutputFlavour::Quillon, 2);
  printed = quillon.ListingHead();
  printed += quillon.ListingChannel("", "PRD", "Response Time", 1);
  printed += quillon.ListingChannel("QAS", "QAS", "Response Time", 22);
  printed += quillon.ListingSummary("(***) Response Time: NoSystems=2, Processed=2, Failed=0");
  EXPECT_EQ(printed, "\n0022\n\n");
}

TEST(DocumentTest, LimitsGoOnTheResponseTimeOfASystemAndOnEveryChannelOfAListing) {
  const std::string limits =
      "\n<LimitMode>1</LimitMode>"
      "\n<LimitMaxWarning>500</LimitMaxWarning>\n<LimitWarningMsg>Response Time above 500 "
      "ms</LimitWarningMsg>"
      "\n<LimitMaxError>2000</LimitMaxError>\n<LimitErrorMsg>Response Time above 2000 "
      "ms</LimitErrorMsg>";
  Document limited(OutputFlavour::EXEXML, std::nullopt, {500, 2000});
  const std::string system = limited.SystemDocument("(PRD)", kTimes);
  EXPECT_NE(system.find("<Channel>Response Time</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>"
                        "TimeResponse</CustomUnit>\n<Value>1234</Value>" +
                        limits + "</Result>\n"),
            std::string::npos)
      << system;
  EXPECT_EQ(system.find("<LimitMode>"), system.rfind("<LimitMode>")) << "only one channel";
  EXPECT_EQ(limited.ListingChannel("PRD", "PRD", "Response Time", 171),
            "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>TimeResponse"
            "</CustomUnit>\n<Value>0171</Value>" +
                limits + "</Result>\n");

  // Either limit alone; the text forms have none.
  Document warningOnly(OutputFlavour::Tendril, std::nullopt, {700, std::nullopt});
  const std::string channel = warningOnly.ListingChannel("", "QAS", "RFC-Close Time", 3);
  EXPECT_NE(channel.find("<Value>0003</Value>\n<LimitMode>1</LimitMode>\n<LimitMaxWarning>700"
                         "</LimitMaxWarning>\n<LimitWarningMsg>RFC-Close Time above 700 ms"
                         "</LimitWarningMsg></Result>\n"),
            std::string::npos)
      << channel;
  EXPECT_EQ(
      Document(OutputFlavour::Nebulant, std::nullopt, {500, 2000}).SystemDocument("(PRD)", kTimes),
      Document(OutputFlavour::Nebulant, std::nullopt).SystemDocument("(PRD)", kTimes));
}

TEST(DocumentTest, TheFailedSystemsChannelCountsAndTurnsRedFromOne) {
  EXPECT_EQ(Document().FailedSystemsChannel(2),
            "\n<Result><Channel>Failed Systems</Channel>\n<Unit>Count</Unit>\n<Value>2</Value>"
            "\n<LimitMode>1</LimitMode>\n<LimitMaxError>0</LimitMaxError>\n<LimitErrorMsg>At "
            "least one SAP system failed</LimitErrorMsg></Result>\n");
  EXPECT_EQ(Document(OutputFlavour::Quillon, std::nullopt).FailedSystemsChannel(0),
            "\n> Failed Systems: 0 Count");
}

TEST(DocumentTest, TheErrorDocumentIsXmlInEveryFlavourAndEndsAnOpenListing) {
  const std::string message = "Error 1033: RFC Open-Error... ";
  for (OutputFlavour flavour :
       {OutputFlavour::EXEXML, OutputFlavour::Nebulant, OutputFlavour::Quillon}) {
    Document document(flavour, std::nullopt);
    EXPECT_EQ(document.ErrorDocument(message),
              "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n");
  }
  Document listing(OutputFlavour::EXEXML, std::nullopt);
  const std::string head = listing.ListingHead();
  EXPECT_EQ(head + listing.ErrorDocument(message),
            "\n<Prtg>\n\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n");
  Document textListing(OutputFlavour::Nebulant, std::nullopt);
  textListing.ListingHead();
  EXPECT_EQ(textListing.ErrorDocument(message),
            "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n");
}

TEST(DocumentTest, AnErrorMessageCannotBreakTheDocument) {
  EXPECT_EQ(
      Document().ErrorDocument("Error 1002: Profile a</Text><Error>0</Error>&b\nc is missing..."),
      "<Prtg>\n<Error>1</Error>\n<Text>Error 1002: Profile a&lt;/Text&gt;&lt;Error&gt;0"
      "&lt;/Error&gt;&amp;b\nc is missing...</Text>\n</Prtg>\n");
}

TEST(DocumentTest, ALibraryErrorPrintsTheBlockThenTheAbortLines) {
  const LibraryFailureOutput output =
      Document().LibraryFailureEnding({"RfcCall", "K", "S", "M", "I"});
  EXPECT_EQ(output.beforeClose,
            "RFC error\noperation/code  : RfcCall\nkey             : K\nstatus          : S\n"
            "message         : M\ninternal status : I\n\n");
  EXPECT_EQ(output.afterClose, "* Programm aborted...\n* Error at EoXput-File...\n");
}

TEST(DocumentTest, TextFlavoursCannotBeGivenAForgedLine) {
  Document nebulant(OutputFlavour::Nebulant, std::nullopt);
  std::string text;
  nebulant.AddChannel(text, Channel::Custom("", "PRD\nStatistic.X", "0001", kTimeUnit));
  EXPECT_EQ(text,
            "\n\nStatistic.PRD_Statistic_X: 0001\nMessage.PRD_Statistic_X: PRD "
            "Statistic.X (mSec)");
  Document quillon(OutputFlavour::Quillon, std::nullopt);
  EXPECT_EQ(quillon.SystemDocument("(PRD)\n> forged", kTimes).substr(0, 17), "\n# (PRD) > forged");
}

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
      {OutputFlavour::Nebulant, "", "a.b.c/d e", "1", "",
       "\n\nStatistic.a_b.c_d_e: 1\nMessage.a_b.c_d_e: a.b.c/d e (#)"},
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
