#include "src/config/profile_writer.h"

#include <gtest/gtest.h>

#include "tests/support/temp_path.h"

#include "src/config/system_entry.h"

namespace {

SystemEntry Values() {
  return {.extcompany = "ACME Corp.",
          .destination = "PRD",
          .client = "100",
          .user = "monitor",
          .password = "S3cret pass!",
          .language = "E",
          .mode = "R/3",
          .hostname = "sap01.example.com",
          .sysnr = "00",
          .gwhost = "sap01",
          .gwservice = "sapgw00"};
}

// What the sensor's reader makes of a composed profile.
SystemEntry ReadBack(const std::string& text, std::vector<EntryProblem>& problems) {
  const std::string path = testsupport::UniqueTempPath("written.P00");
  {
    auto file = platform::File::OpenForWriting(path);
    EXPECT_TRUE(file && file->Write(text));
  }
  auto file = platform::File::OpenForReading(path);
  SystemEntry entry;
  problems = ReadEntryLines(entry, *file, EntryKind::Single, BuildPasswordKeyTable());
  return entry;
}

TEST(ProfileWriterTest, TheSensorReadsBackWhatWasWritten) {
  SystemEntry values = Values();
  for (std::uint32_t variation : {0u, 7u, 123456789u}) {
    ComposedProfile profile =
        ComposeProfile(values, BuildPasswordKeyTable(), variation, TrailingBlanks::Refused);
    ASSERT_TRUE(profile.refusals.empty());
    EXPECT_TRUE(profile.warnings.empty());
    EXPECT_EQ(profile.text.find(values.password), std::string::npos);

    std::vector<EntryProblem> problems;
    SystemEntry read = ReadBack(profile.text, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_TRUE(CheckEntryValues(read, EntryKind::Listing).empty());
    values.user = "MONITOR";
    for (const EntryKey& key : EntryKeys()) {
      EXPECT_EQ(read.*key.value, values.*key.value) << key.key;
    }
    values.user = "monitor";
  }
}

TEST(ProfileWriterTest, RefusesWhatTheSensorWouldRefuseOrNotReadBack) {
  struct Case {
    std::string SystemEntry::*value;
    std::string text;
    const char* refusal;
  } cases[] = {
      {&SystemEntry::client, "10", "Client: at least 3 characters"},
      {&SystemEntry::hostname, std::string(61, 'h'), "Hostname: the sensor reads at most 60"},
      {&SystemEntry::destination, "PRD\nPassword...: x",
       "Destination: control characters and line breaks"},
      {&SystemEntry::password, std::string(21, 'p'), "Password: at most 20 characters"},
      {&SystemEntry::password, "p\xe4ss", "Password: only printable ASCII"},
      {&SystemEntry::password, "pass\tword", "Password: only printable ASCII"},
      {&SystemEntry::password, "secret ", "Password: ends with a blank"},
      {&SystemEntry::password, "  ", "Password: ends with a blank"},
  };
  for (const Case& c : cases) {
    SystemEntry values = Values();
    values.*c.value = c.text;
    ComposedProfile profile =
        ComposeProfile(values, BuildPasswordKeyTable(), 0, TrailingBlanks::Refused);
    ASSERT_EQ(profile.refusals.size(), 1u) << c.text;
    EXPECT_EQ(profile.refusals[0].rfind(c.refusal, 0), 0u) << profile.refusals[0];
    EXPECT_EQ(profile.text, "");
  }
}

// Blanks at the end that are asked for are the password's own, and the sensor reads them back.
TEST(ProfileWriterTest, TrailingBlanksKeptOnPurposeAreStored) {
  for (const std::string password : {"secret ", "pass word  ", " "}) {
    SystemEntry values = Values();
    values.password = password;
    ComposedProfile profile =
        ComposeProfile(values, BuildPasswordKeyTable(), 0, TrailingBlanks::Kept);
    ASSERT_TRUE(profile.refusals.empty()) << profile.refusals[0];
    std::vector<EntryProblem> problems;
    EXPECT_EQ(ReadBack(profile.text, problems).password, password);
    EXPECT_TRUE(problems.empty());
  }
}

TEST(ProfileWriterTest, WarnsOfWhatOnlyAListingRunRefuses) {
  SystemEntry values = Values();
  values.user = "";
  values.password = "";
  ComposedProfile profile =
      ComposeProfile(values, BuildPasswordKeyTable(), 0, TrailingBlanks::Refused);
  EXPECT_TRUE(profile.refusals.empty());
  EXPECT_EQ(profile.warnings.size(), 2u);
  EXPECT_NE(profile.text.find("Password...: \n"), std::string::npos);
}

}  // namespace
