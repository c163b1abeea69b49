#include "src/rfc/report.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <std::size_t N>
void Set(char (&field)[N], std::string_view value) {
  std::memset(field, ' ', N);
  std::memcpy(field, value.data(), std::min(N, value.size()));
}

RFCSI Record() {
  RFCSI info;
  std::memset(&info, ' ', sizeof info);
  Set(info.rfchost, "prdhost");
  Set(info.rfcsysid, "PRD");
  Set(info.rfcdbsys, "ORACLE");
  Set(info.rfcsaprl, "700");
  Set(info.rfcopsys, "Windows NT");
  Set(info.rfcipaddr, "10.1.2.3");
  return info;
}

TEST(FieldTextTest, StripsTrailingBlanksKeepsLeadingOnesAndStopsAtZero) {
  char field[8];
  Set(field, "  ab c");
  EXPECT_EQ(FieldText(field, sizeof field), "  ab c");
  Set(field, "");
  EXPECT_EQ(FieldText(field, sizeof field), "");
  Set(field, "abcdefgh");  // full, no end mark: never read past the field
  EXPECT_EQ(FieldText(field, sizeof field), "abcdefgh");
  Set(field, "ab\0cd");
  field[2] = '\0';
  EXPECT_EQ(FieldText(field, sizeof field), "ab");
}

TEST(ReleaseTextTest, PutsAPointAfterTheFirstCharacter) {
  const std::pair<const char*, const char*> cases[] = {
      {"700", "7.00"}, {"46C", "4.6C"}, {"7", "7."}, {"", "."}, {"7401", "7.40"}};
  for (const auto& [release, text] : cases) {
    RFCSI info = Record();
    Set(info.rfcsaprl, release);
    EXPECT_EQ(ReleaseText(info), text) << release;
  }
}

TEST(SystemInfoTextTest, NamesTheSystemFromItsRecordAndEntry) {
  SystemEntry entry;
  entry.Destination = "PRD";
  entry.Sysnr = "00";
  RFCSI info = Record();
  EXPECT_EQ(SystemInfoText(info, entry),
            "(PRD) Sys-Info: Host=prdhost, Sid=PRD, Is=00, Rel=7.00, Dbs=ORACLE, Os=Windows NT, "
            "IP=10.1.2.3");
  Set(info.rfchost, "");
  EXPECT_NE(SystemInfoText(info, entry).find("Host=, Sid="), std::string::npos);
}

TEST(CheckListTest, ListsTheSevenValues) {
  SystemEntry entry;
  entry.Sysnr = "01";
  EXPECT_EQ(CheckList(Record(), entry),
            "\n* HostName......:  prdhost\n* System-ID.......:  PRD\n* SAP-Instance.:  01"
            "\n* SAP Release..:  7.00\n* DB-System.....:  ORACLE\n* OS-System.....:  Windows NT"
            "\n* IP-Address.....:  10.1.2.3");
}

}  // namespace
