// The XML checker: it takes the sensor's documents and refuses what XML 1.0 refuses, with the
// place of the fault.
#include "tests/xml/well_formed_xml.h"

#include <gtest/gtest.h>

namespace xml {
namespace {

// The documents as the sensor prints them: a system that answered, an error, a listing run.
constexpr std::string_view kResult =
    "<Prtg>\n\n<Text>(PRD) Sys-Info: Host=prdhost, Sid=PRD, Is=00, Rel=7.40, Dbs=ORACLE, "
    "Os=Linux, IP=127.0.0.1</Text>\n\n<Result><Channel>RFC-Open Time</Channel>\n"
    "<Unit>Custom</Unit>\n<CustomUnit>TimeResponse</CustomUnit>\n<Value>0040</Value></Result>\n"
    "</Prtg>";
constexpr std::string_view kError =
    "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n"
    "</Prtg>\n";
constexpr std::string_view kListing =
    "<Prtg>\n\n\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n"
    "<CustomUnit>TimeResponse</CustomUnit>\n<Value>0171</Value></Result>\n\n\n"
    "<Text>(***) Response Time: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>";

TEST(WellFormedXmlTest, AcceptsTheSensorsDocuments) {
  const std::string escaped =
      "<Prtg>\r\n<Error>1</Error>\r\n<Text>Error 1002: Profile a&amp;b&lt;c&gt; is missing... "
      "caf\xc3\xa9 \xe2\x82\xac</Text>\r\n</Prtg>\r\n";
  for (std::string_view document : {kResult, kError, kListing, std::string_view(escaped)}) {
    const auto error = WellFormedXmlError(document);
    EXPECT_FALSE(error) << Describe(*error) << "\n" << document;
  }
}

TEST(WellFormedXmlTest, RefusesWhatXmlRefusesAndSaysWhere) {
  struct Case {
    const char* what;
    std::string document;
    unsigned long line;
    unsigned long column;  // from 0, where expat stops: after a bare '&', at a wrong end tag's name
  };
  const Case cases[] = {
      {"a raw control character", "<Prtg>\n<Text>bell\x07</Text></Prtg>", 2, 10},
      {"a byte that is not UTF-8", "<Prtg>\n<Text>caf\xe9</Text></Prtg>", 2, 9},
      {"an overlong UTF-8 form", "<Prtg><Text>\xc0\xbc</Text></Prtg>", 1, 12},
      {"a UTF-16 surrogate in UTF-8", "<Prtg><Text>\xed\xa0\x80</Text></Prtg>", 1, 12},
      {"an unescaped '<'", "<Prtg><Text>a < b</Text></Prtg>", 1, 15},
      {"an unescaped '&'", "<Prtg><Text>a & b</Text></Prtg>", 1, 15},
      {"two root elements", "<Prtg></Prtg>\n<Prtg></Prtg>", 2, 0},
      {"an element left open", "<Prtg>\n<Text>x</Prtg>", 2, 9},
      {"no element at all", "", 1, 0},
  };
  for (const Case& c : cases) {
    const auto error = WellFormedXmlError(c.document);
    ASSERT_TRUE(error) << c.what;
    EXPECT_EQ(error->line, c.line) << c.what << ": " << Describe(*error);
    EXPECT_EQ(error->column, c.column) << c.what << ": " << Describe(*error);
    EXPECT_FALSE(error->reason.empty()) << c.what;
  }
}

}  // namespace
}  // namespace xml
