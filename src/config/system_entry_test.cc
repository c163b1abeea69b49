#include "src/config/system_entry.h"

#include <gtest/gtest.h>

#include "tests/support/temp_path.h"

namespace {

// A profile file in the test's temporary directory, opened for reading.
std::unique_ptr<platform::File> Profile(const std::string& text) {
  static int count = 0;
  const std::string path = testsupport::UniqueTempPath("entry" + std::to_string(++count) + ".P00");
  {
    auto file = platform::File::OpenForWriting(path, platform::FileMode::Binary);
    EXPECT_TRUE(file && file->Write(text));
  }
  return platform::File::OpenForReading(path);
}

std::string StoredPassword(const std::string& password) {
  return ScramblePassword(password, BuildPasswordKeyTable()).stored;
}

// A profile that a single run and a listing run both accept.
std::string ValidProfile() {
  return "Extcompany.: ACME\n"
         "Destination: PRD\n"
         "Client.....: 100\n"
         "User.......: monitor\n"
         "Password...: " +
         StoredPassword("Secret12") +
         "\n"
         "Language...: E\n"
         "Mode.......: R/3\n"
         "Hostname...: sap01\n"
         "Sysnr......: 00\n"
         "Gwhost.....: sap01\n"
         "Gwservice..: sapgw00\n";
}

// One entry read as a single run or as a listing run reads it, profile after profile.
struct EntryRun {
  SystemEntry entry;
  PasswordKey key = BuildPasswordKeyTable();
  std::string error;  // the message the run ended with, empty when it went on
  bool valid = false;

  void Read(const std::string& text, EntryKind kind) {
    error.clear();
    try {
      if (kind == EntryKind::Single) {
        ReadSingleEntry(entry, Profile(text), "PRD.P00", key);
        valid = true;
      } else {
        valid = ReadListedEntry(entry, Profile(text), key);
      }
    } catch (const RunEnded& end) {
      EXPECT_EQ(end.exitCode, 2);
      error = end.message;
      valid = false;
    }
  }
};

TEST(ReadEntryLinesTest, TakesTheKeyAndTheValueFromFixedColumns) {
  struct Case {
    const char* line;
    std::string SystemEntry::*value;
    const char* expected;
  } cases[] = {
      {"Destination: PRD", &SystemEntry::destination, "PRD"},
      {"Destination:xPRD", &SystemEntry::destination, "PRD"},  // any separator
      {"Destination: PRD  ", &SystemEntry::destination, "PRD  "},
      {"Destination: PRD\r", &SystemEntry::destination, "PRD"},
      {"Destination:", &SystemEntry::destination, ""},
      {"Destination: ", &SystemEntry::destination, ""},
      {"destination: PRD", &SystemEntry::destination, "old"},
      {"Destination : PRD", &SystemEntry::destination, "old"},
      {" Destination: PRD", &SystemEntry::destination, "old"},
      {"User.......: abc-z9\xe4", &SystemEntry::user, "ABC-Z9\xe4"},
      {"Gwservice..: sapgw00", &SystemEntry::gwservice, "sapgw00"},
  };
  for (const Case& c : cases) {
    SystemEntry entry;
    entry.*c.value = "old";
    auto file = Profile(std::string(c.line) + "\n");
    EXPECT_TRUE(ReadEntryLines(entry, *file, EntryKind::Single, BuildPasswordKeyTable()).empty());
    EXPECT_EQ(entry.*c.value, c.expected) << c.line;
  }
}

TEST(ReadEntryLinesTest, KeepsSixtyCharactersOfAValueAndTheLastOccurrence) {
  SystemEntry entry;
  auto file = Profile("Hostname...: " + std::string(60, 'h') + "IGNORED\n" +
                      "Client.....: 100\n"
                      "* a comment\n"
                      "\n"
                      "Client.....: 200\n");
  ReadEntryLines(entry, *file, EntryKind::Single, BuildPasswordKeyTable());
  EXPECT_EQ(entry.hostname, std::string(60, 'h'));
  EXPECT_EQ(entry.client, "200");
}

TEST(ReadEntryLinesTest, TheRestOfALineLongerThanOneReadIsALineOfItsOwn) {
  // 99 characters fill one read of a single run; what follows is read as the next line.
  const std::string line = "Destination: " + std::string(86, 'd') + "Client.....: 777\n";
  SystemEntry single;
  auto file = Profile(line);
  ReadEntryLines(single, *file, EntryKind::Single, BuildPasswordKeyTable());
  EXPECT_EQ(single.destination, std::string(60, 'd'));
  EXPECT_EQ(single.client, "777");

  // A listing run reads up to 199 characters at a time: the same line is one line.
  SystemEntry listed;
  file = Profile(line);
  ReadEntryLines(listed, *file, EntryKind::Listing, BuildPasswordKeyTable());
  EXPECT_EQ(listed.destination, std::string(60, 'd'));
  EXPECT_EQ(listed.client, "");
}

TEST(CheckEntryValuesTest, MinimumLengthsDifferBetweenTheKindsOfRun) {
  struct Case {
    std::string SystemEntry::*value;
    const char* text;
    bool singleRefuses;
    bool listingRefuses;
  } cases[] = {
      {&SystemEntry::client, "10", true, true},    {&SystemEntry::client, "100", false, false},
      {&SystemEntry::extcompany, "A", true, true},  // checked although passed to nothing
      {&SystemEntry::language, "", true, true},    {&SystemEntry::language, "E", false, false},
      {&SystemEntry::gwservice, "s", true, true},  {&SystemEntry::user, "", false, true},
      {&SystemEntry::user, "U", false, true},      {&SystemEntry::password, "", false, true},
  };
  EntryRun valid;
  valid.Read(ValidProfile(), EntryKind::Single);
  ASSERT_EQ(valid.error, "");
  for (const Case& c : cases) {
    SystemEntry entry = valid.entry;
    entry.*c.value = c.text;
    EXPECT_EQ(!CheckEntryValues(entry, EntryKind::Single).empty(), c.singleRefuses) << c.text;
    EXPECT_EQ(!CheckEntryValues(entry, EntryKind::Listing).empty(), c.listingRefuses) << c.text;
  }
}

TEST(ReadSystemEntryTest, ASingleRunEndsWithTheFirstFault) {
  const std::string stored = StoredPassword("Secret12");
  std::string wrongDigit = stored;
  wrongDigit[0] = static_cast<char>(wrongDigit[0] ^ 1);
  struct Case {
    std::string lines;  // appended to a valid profile
    const char* error;
  } cases[] = {
      {"", ""},
      {"Password...:\n", ""},  // no password is no fault
      {"Client.....: 10\n", "Error 1003: Invalid Parameter(s) at PRD.P00 found..."},
      {"Password...: " + stored.substr(1) + "\n",
       "Error 1004: Invalid Password in Profile PRD.P00 found..."},
      {"Password...: " + stored + "x\n",
       "Error 1004: Invalid Password in Profile PRD.P00 found..."},
      {"Password...: " + wrongDigit + "\n",
       "Error 1005: Wrong Password in Profile PRD.P00 found..."},
      // Password faults are met while reading, the lengths are checked at the end.
      {"Client.....: 10\nPassword...: " + wrongDigit + "\n",
       "Error 1005: Wrong Password in Profile PRD.P00 found..."},
      {"Password...: bad\nPassword...: " + stored + "\n",
       "Error 1004: Invalid Password in Profile PRD.P00 found..."},
  };
  for (const Case& c : cases) {
    EntryRun run;
    run.Read(ValidProfile() + c.lines, EntryKind::Single);
    EXPECT_EQ(run.error, c.error) << c.lines;
  }
}

TEST(ReadSystemEntryTest, AListingRunMarksTheEntryAndCarriesValuesToTheNextProfile) {
  EntryRun run;
  run.Read(ValidProfile(), EntryKind::Listing);
  EXPECT_TRUE(run.valid);
  EXPECT_EQ(run.entry.user, "MONITOR");
  EXPECT_EQ(run.entry.password, "Secret12");

  // A second profile without a Gwhost line, with a broken password: invalid, and the values it
  // does not set stay those of the profile before, the password among them.
  run.Read("Destination: QAS\nPassword...: broken\n", EntryKind::Listing);
  EXPECT_EQ(run.error, "");
  EXPECT_FALSE(run.valid);
  EXPECT_EQ(run.entry.destination, "QAS");
  EXPECT_EQ(run.entry.gwhost, "sap01");
  EXPECT_EQ(run.entry.password, "Secret12");

  run.Read("Gwhost.....: gw01\n", EntryKind::Listing);
  EXPECT_TRUE(run.valid);  // judged anew for each profile
  EXPECT_EQ(run.entry.client, "100");
  EXPECT_EQ(run.entry.gwhost, "gw01");

  const std::string lengthZero =
      ComposeStoredPassword(run.key, 4, 0, "abcdefghijklmnopqrst").value();
  run.Read("Password...: " + lengthZero + "\n", EntryKind::Listing);
  EXPECT_EQ(run.entry.password, "");  // length digits 00: decoded, but empty
  EXPECT_FALSE(run.valid);
}

TEST(SystemSummaryLineTest, NamesTheProfileHostDestinationSystemNumberAndClient) {
  SystemEntry entry;
  entry.hostname = "sap01";
  entry.destination = "PRD";
  entry.sysnr = "00";
  entry.client = "100";
  EXPECT_EQ(SystemSummaryLine(entry, "12:34:56", "PRD.P00"),
            "* 12:34:56 PRD.P00, sap01, PRD, 00, 100");
}

}  // namespace
