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

std::string PrintedLabelLine(std::string_view label, int indent, int width, std::string_view text) {
  testing::internal::CaptureStdout();
  PrintLabelLine(label, indent, width, text);
  FlushOutput();
  return testing::internal::GetCapturedStdout();
}

TEST(PrintLabelLineTest, FillsTheLabelToItsWidthAndNeverCutsIt) {
  EXPECT_EQ(PrintedLabelLine("key", 0, 15, "K1"), "key             : K1\n");
  EXPECT_EQ(PrintedLabelLine("operation/code", 0, 15, ""), "operation/code  : \n");
  EXPECT_EQ(PrintedLabelLine("internal status", 0, 15, "x"), "internal status : x\n");
  EXPECT_EQ(PrintedLabelLine("a label longer than width", 0, 15, "x"),
            "a label longer than width : x\n");
  EXPECT_EQ(PrintedLabelLine("key", 2, 5, "x"), "  key   : x\n");
}

TEST(TraceEventTest, WritesOnlyWithSyslogAndAnOpenStream) {
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  RunContext run;
  run.TraceStream = stream;
  run.Parameters.upper = "SYSLOG";  // without the comma it is not the option
  TraceEvent(run, 7, "RfcOpen called", "");
  run.Parameters.upper = "X,SYSLOG";
  TraceEvent(run, -3, "program started", "sapsysinfo");
  run.TraceStream = nullptr;
  TraceEvent(run, 9, "RfcCall called", "");

  std::rewind(stream);
  char buffer[128] = {};
  std::size_t size = std::fread(buffer, 1, sizeof buffer - 1, stream);
  std::fclose(stream);
  EXPECT_EQ(std::string(buffer, size), "-3 program started sapsysinfo\n");
}

}  // namespace
