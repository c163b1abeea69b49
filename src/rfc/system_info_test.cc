#include "src/rfc/system_info.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <std::size_t N>
void Set(char (&field)[N], std::string_view value) {
  std::memset(field, ' ', N);
  std::memcpy(field, value.data(), std::min(N, value.size()));
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

TEST(FieldsOfTest, TakesTheSixValuesTheSensorShows) {
  RFCSI info;
  std::memset(&info, ' ', sizeof info);
  Set(info.rfchost, "prdhost");
  Set(info.rfcsysid, "PRD");
  Set(info.rfcdbsys, "ORACLE");
  Set(info.rfcsaprl, "700");
  Set(info.rfcopsys, "Windows NT");
  Set(info.rfcipaddr, "10.1.2.3");
  Set(info.rfcdest, "not shown");
  const SystemFields fields = FieldsOf(info);
  EXPECT_EQ(fields.host, "prdhost");
  EXPECT_EQ(fields.systemId, "PRD");
  EXPECT_EQ(fields.release, "700");
  EXPECT_EQ(fields.database, "ORACLE");
  EXPECT_EQ(fields.operatingSystem, "Windows NT");
  EXPECT_EQ(fields.address, "10.1.2.3");
}

TEST(DescribeCallFailureTest, MapsEveryCodeToItsText) {
  const std::tuple<std::int32_t, const char*, const char*> cases[] = {
      {1, "IGNORED", "Error 1014: RFC-Failure raised !"},
      {2, "NOT_AUTHORIZED", "Error 1012: Exception.: NOT_AUTHORIZED"},
      {3, "NOT_AUTHORIZED", "Error 1013: Sys-Exception raised !"},
      {4, "", "Error 1015: Other Failure raised !"},
      {99, "", "Error 1015: Other Failure raised !"},
      {-1, "", "Error 1015: Other Failure raised !"},
  };
  for (const auto& [code, exception, text] : cases) {
    EXPECT_EQ(DescribeCallFailure(code, exception), text) << code;
  }
}

}  // namespace
