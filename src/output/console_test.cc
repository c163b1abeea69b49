#include "src/output/console.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeTextTest, WritesMillisecondsWithAtLeastFourDigits) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "0000"},      {5, "0005"},
      {10, "0010"},     {99, "0099"},
      {234, "0234"},    {1000, "1000"},
      {1234, "1234"},   {12345, "12345"},
      {60007, "60007"}, {2147483647, "2147483647"}};
  for (const auto& [milliseconds, text] : cases) {
    EXPECT_EQ(TimeText(milliseconds), text) << milliseconds;
  }
}

TEST(LabelLineTest, FillsTheLabelToItsWidthAndNeverCutsIt) {
  EXPECT_EQ(LabelLine("key", 0, 15, "K1"), "key             : K1\n");
  EXPECT_EQ(LabelLine("operation/code", 0, 15, ""), "operation/code  : \n");
  EXPECT_EQ(LabelLine("internal status", 0, 15, "x"), "internal status : x\n");
  EXPECT_EQ(LabelLine("a label longer than width", 0, 15, "x"), "a label longer than width : x\n");
  EXPECT_EQ(LabelLine("key", 2, 5, "x"), "  key   : x\n");
}

TEST(RfcErrorBlockTest, LabelsEveryTextAlsoWhenTheLibraryLeftThemEmpty) {
  EXPECT_EQ(RfcErrorBlock({"RfcReceive", "CONNECTION_BROKEN", "", "", ""}),
            "RFC error\noperation/code  : RfcReceive\nkey             : CONNECTION_BROKEN\n"
            "status          : \nmessage         : \ninternal status : \n\n");
}

TEST(EventTraceTest, WritesOnlyWhenAskedForAndAStreamIsOpen) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  EventTrace(false, stream).Event(7, "RfcOpen called", "");
  EventTrace(true, stream).Event(-3, "program started", "sapsysinfo");
  EventTrace(true, nullptr).Event(9, "RfcCall called", "");

  std::rewind(stream);
  char buffer[128] = {};
  std::size_t size = std::fread(buffer, 1, sizeof buffer - 1, stream);
  std::fclose(stream);
  EXPECT_EQ(std::string(buffer, size), "-3 program started sapsysinfo\n");
}

TEST(ConsoleParametersTest, ASingleRunShowsTheTextBeforeTheConsoleMarks) {
  const std::pair<const char*, const char*> cases[] = {
      {"A%B x", "A"},
      {"(No #1", "(No Parameters)"},
      {"(Parameters @", "(No Parameters)"},
      {"100% sure", "100"},
      {"one two $", "one two "},
      {"", "(No Parameters)"},
      {"#", "(No Parameters)"},
      {"a $b", "a "},
  };
  for (const auto& [typed, shown] : cases) {
    EXPECT_EQ(SingleRunConsoleParameters(typed), shown) << typed;
  }
}

TEST(ConsoleParametersTest, AListingRunShowsBlanksForColonsAndCutsBeforeAnAt) {
  EXPECT_EQ(ListingConsoleParameters("Item=Response:Time,Alias @x"), "Item=Response Time,Alias");
  EXPECT_EQ(ListingConsoleParameters("SENSOR1 a@b"), "SENSOR1 a@b");
}

}  // namespace
