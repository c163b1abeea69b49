#include "src/rfc/trace.h"

#include <gtest/gtest.h>

#include "tests/support/temp_path.h"

#include <filesystem>
#include <fstream>

namespace {

struct TraceCase {
  const char* name;
  std::string contents;
  std::string note;
};

void PrintTo(const TraceCase& c, std::ostream* os) { *os << c.name; }

class TraceNoteTest : public testing::TestWithParam<TraceCase> {
 protected:
  const std::string trace_ = testsupport::UniqueTempPath("Dev_Rfc.Trc");
  void TearDown() override { std::filesystem::remove(trace_); }
};

TEST_P(TraceNoteTest, NamesTheLastDescriptionOfTheLastSection) {
  std::ofstream(trace_, std::ios::binary) << GetParam().contents;
  EXPECT_EQ(TraceNote(trace_), GetParam().note);
}

const std::string kLongDescription(120, 'x');

INSTANTIATE_TEST_SUITE_P(
    Traces, TraceNoteTest,
    testing::Values(
        TraceCase{"error line", "**** ERROR 12:00:00 RfcOpen\nERROR       disk full\n",
                  " - disk full"},
        TraceCase{"arrow line", "**** ERROR x\nabcdefg======> logon refused\r\n",
                  " - logon refused"},
        TraceCase{"later description wins",
                  "**** ERROR\nERROR       first\nXXXXXXX======> second\n", " - second"},
        TraceCase{"later of two error lines wins",
                  "**** ERROR\nERROR       first\nERROR       second\n", " - second"},
        TraceCase{"later of two arrow lines wins",
                  "**** ERROR\n       ======> first\n       ======> second\n", " - second"},
        TraceCase{"arrow wins on the same line", "ERROR X======> arrow text\n", " - arrow text"},
        TraceCase{"new section forgets", "**** ERROR a\nERROR       old\n**** ERROR b\nnoise\n",
                  " - Please Check Trace-File !"},
        // The library wrote no trace in this run: there is none to check.
        TraceCase{"empty file", "", " - Look for Trace-File"},
        TraceCase{"sections without a description", "**** ERROR a\n**** ERROR b\n",
                  " - Please Check Trace-File !"},
        TraceCase{"short error line", "ERROR  ab\n", " - Please Check Trace-File !"},
        // A line longer than a read arrives in pieces; the first piece holds 87 characters of the
        // description and the rest is a line of its own that changes nothing.
        TraceCase{"long description", "ERROR       " + kLongDescription + "\n",
                  " - " + std::string(87, 'x')},
        TraceCase{"last line without line end", "**** ERROR\nERROR       no end", " - no end"}));

TEST_F(TraceNoteTest, MissingFileSaysWhereToLook) {
  EXPECT_EQ(TraceNote(trace_), " - Look for Trace-File");
}

}  // namespace
