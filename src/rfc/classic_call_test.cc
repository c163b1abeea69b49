#include "src/rfc/classic_call.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <std::size_t N>
void Set(char (&field)[N], std::string_view value) {
  std::memset(field, ' ', N);
  std::memcpy(field, value.data(), std::min(N, value.size()));
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

TEST(OutcomeOfCodeTest, NamesHowEachReturnCodeEnded) {
  const std::pair<std::int32_t, Outcome> cases[] = {
      {0, Outcome::Answered},        {1, Outcome::CallFailed},   {2, Outcome::Exception},
      {3, Outcome::SystemException}, {4, Outcome::OtherFailure}, {99, Outcome::OtherFailure},
      {-1, Outcome::OtherFailure},
  };
  for (const auto& [code, outcome] : cases) EXPECT_EQ(OutcomeOfCode(code), outcome) << code;
}

}  // namespace
