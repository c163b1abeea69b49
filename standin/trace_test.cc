// The sections of Dev_Rfc.Trc, in the forms the sensor reads back.
#include "standin/trace.h"

#include <gtest/gtest.h>

#include "standin/testing/trace_reading.h"

namespace standin {
namespace {

using standintest::LastTraceDescription;
using standintest::Lines;
using standintest::TraceSections;

TEST(LibraryTraceTest, SectionNamesTimeAndOperationAndDescribesInBothForms) {
  const std::string section = TraceSection(
      "2024-05-01 12:34:56", "RfcOpen",
      Failure("CONNECT_FAILED", "partner prdhost:3300 not reached", "Connection refused"));
  EXPECT_EQ(section,
            "**** ERROR 2024-05-01 12:34:56 RfcOpen\n"
            "ERROR       CONNECT_FAILED: Connection refused\n"
            "       ======> partner prdhost:3300 not reached\n");
  EXPECT_EQ(LastTraceDescription(section), "partner prdhost:3300 not reached");
}

TEST(LibraryTraceTest, LongTextsAreCutSoNoLineIsSplitOnReading) {
  const std::string longText(300, 'x');
  const std::string section =
      TraceSection("2024-05-01 12:34:56", "RfcReceive", Failure("KEY", longText, longText));
  for (const std::string& line : Lines(section)) EXPECT_LE(line.size(), kTraceLineMax);
  EXPECT_EQ(LastTraceDescription(section), std::string(kTraceLineMax - 15, 'x'));
}

TEST(LibraryTraceTest, TextFromThePartnerCannotStartASectionOfItsOwn) {
  const std::string section = TraceSection(
      "2024-05-01 12:34:56", "RfcReceive",
      Failure("FUNCTION_FAILED", "bad\n**** ERROR forged\r\nERROR       forged", "\n"));
  EXPECT_EQ(TraceSections(section), 1);
  EXPECT_EQ(Lines(section).size(), 3u);
  EXPECT_EQ(LastTraceDescription(section), "bad **** ERROR forged  ERROR       forged");
}

TEST(LibraryTraceTest, WithoutAMessageTheKeyDescribes) {
  EXPECT_EQ(LastTraceDescription(TraceSection("t", "RfcCall", Failure("CALL_REFUSED", ""))),
            "CALL_REFUSED");
}

}  // namespace
}  // namespace standin
