#include "src/run/usage.h"

#include <gtest/gtest.h>

#include "src/config/parameters.h"
#include "src/output/flavour.h"

namespace {

TEST(UsageTest, OnlyAHelpRequestAsTheOnlyArgumentAsksForIt) {
  struct Case {
    std::vector<std::string> arguments;
    bool asks;
  } cases[] = {
      {{"/?"}, true},
      {{"-h"}, true},
      {{"--help"}, true},
      {{}, false},
      {{"/?", "PRD"}, false},
      {{"PRD", "--help"}, false},
      {{"/Flavour=Tendril", "/?"}, false},
      {{"-?"}, false},
      {{"/H"}, false},
      {{"--HELP"}, false},
      {{"/PathCheck"}, false},
  };
  for (Case& c : cases) {
    c.arguments.insert(c.arguments.begin(), "sapsysinfo");
    EXPECT_EQ(AsksForUsage(c.arguments), c.asks) << c.arguments.size() << " " << c.arguments.back();
  }
}

// Each keyword of the table stands at the start of a line of its own, with its value and its
// description: a keyword added to the table is listed without touching the usage text.
TEST(UsageTest, ListsEveryKeywordOfTheTableWithItsDescription) {
  const std::string usage = UsageText();
  for (const ParameterKeyword& keyword : ParameterKeywords()) {
    const std::string start =
        "\n  " + std::string(keyword.keyword) + std::string(keyword.value) + " ";
    const std::size_t at = usage.find(start);
    ASSERT_NE(at, std::string::npos) << keyword.keyword << " is not listed:\n" << usage;
    const std::string line = usage.substr(at + 1, usage.find('\n', at + 1) - at - 1);
    EXPECT_NE(line.find(keyword.description), std::string::npos) << line;
  }
  EXPECT_NE(usage.find("\n  /Flavour=NAME "), std::string::npos) << usage;
  EXPECT_NE(usage.find(kFlavourList.view()), std::string::npos) << usage;
  EXPECT_NE(usage.find("\n  # @ $ % "), std::string::npos) << usage;
  EXPECT_NE(usage.find("Usage: sapsysinfo [/Flavour=NAME] PROFILE [PARAMETERS [MORE]]\n"),
            std::string::npos);
  EXPECT_NE(usage.find("C:\\PRTG_Path.Txt"), std::string::npos);
  EXPECT_NE(usage.find("REFERENCE.txt"), std::string::npos);
}

}  // namespace
