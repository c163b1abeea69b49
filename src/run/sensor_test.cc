#include "src/run/sensor.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "src/output/messages.h"

namespace {

// What RunToTheEnd prints and returns for phases that end in a given way.
std::pair<std::string, int> Ending(const Document& document, const std::function<int()>& phases) {
  RunContext run;
  CapturedOutput output;
  run.out = &output;
  run.resultDocument = document;
  const int exitCode = RunToTheEnd(run, phases);
  return {output.text(), exitCode};
}

// Standard output whose reader is gone.
class LostOutput : public TextOutput {
 public:
  void Print(std::string_view) override {}
  void PrintEnding(std::string_view, int) override {}
  [[nodiscard]] bool Flush() override { return false; }
};

TEST(RunToTheEndTest, ADocumentThatDidNotArriveWholeIsExitCode2) {
  for (const int code : {0, 1}) {
    RunContext run;
    LostOutput output;
    run.out = &output;
    EXPECT_EQ(RunToTheEnd(run, [code] { return code; }), 2) << code;
  }
}

TEST(RunToTheEndTest, EveryEndingGivesADocumentAndItsExitCode) {
  const Document document;
  EXPECT_EQ(Ending(document, [] { return 0; }), std::make_pair(std::string(), 0));
  EXPECT_EQ(Ending(document, []() -> int { EndRun(MessageId::ServerListingMissing); }),
            std::make_pair(std::string("<Prtg>\n<Error>1</Error>\n<Text>Error 1025: Global Server "
                                       "Listing missing...</Text>\n</Prtg>\n"),
                           2));
  // Whatever else goes wrong, the monitor reads an error document, not nothing.
  EXPECT_EQ(Ending(document, []() -> int { throw std::length_error("basic_string::append"); }),
            std::make_pair(std::string("<Prtg>\n<Error>1</Error>\n<Text>Error 1044: Unexpected "
                                       "Failure: basic_string::append !</Text>\n</Prtg>\n"),
                           2));
  EXPECT_EQ(Ending(document, []() -> int { throw 7; }).second, 2);
}

TEST(RunToTheEndTest, AnErrorAfterAListingsHeadEndsThatDocument) {
  Document document(OutputFlavour::EXEXML, std::nullopt);
  const std::string head = document.ListingHead();
  const auto [printed, exitCode] =
      Ending(document, []() -> int { EndRun(MessageId::ListingOpenError); });
  EXPECT_EQ(head + printed,
            "\n<Prtg>\n\n<Error>1</Error>\n<Text>Error 1033: RFC Open-Error... </Text>\n</Prtg>\n");
  EXPECT_EQ(exitCode, 2);
}

}  // namespace
