#include "src/config/password.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const PasswordKey kKey = BuildPasswordKeyTable();

bool Storable(char c) { return c > ' ' && c <= '~'; }

// R's character m sits at this body position.
std::size_t BodyIndex(std::size_t m) { return m % 2 == 0 ? m / 2 : 19 - m / 2; }

TEST(PasswordKeyTableTest, EveryCharacterAtEveryPositionRulesOutAtMostOneKeyOffset) {
  // A password has a stored form for offset K unless one of its characters, at its body
  // position, turns into a blank or an unprintable character under key byte K + i. If every
  // (position, character) pair rules out at most one of the ten offsets, a password of nine
  // characters rules out at most nine, and one offset is always left.
  for (std::size_t i = 0; i < kPasswordBodyLength; ++i) {
    for (int c = ' '; c <= '~'; ++c) {
      int ruledOut = 0;
      for (std::size_t k = 0; k < kKeyOffsetCount; ++k) {
        ruledOut += !Storable(static_cast<char>(c ^ kKey[k + i]));
      }
      EXPECT_LE(ruledOut, 1) << "body position " << i << ", character " << c;
    }
  }
  for (std::size_t j = 0; j < kPasswordHeaderLength; ++j) {
    for (char digit = '0'; digit <= '9'; ++digit) {
      EXPECT_TRUE(Storable(static_cast<char>(digit ^ kKey[j])))
          << "header position " << j << ", digit " << digit;
    }
  }
}

// For any key, the character at R position m = K that turns into a blank under key byte
// K + BodyIndex(K) rules out offset K; ten such characters rule out all ten.
std::string PasswordRulingOutEveryOffset() {
  std::string password;
  for (std::size_t k = 0; k < kKeyOffsetCount; ++k) {
    password += static_cast<char>(' ' ^ kKey[k + BodyIndex(k)]);
  }
  return password;
}

TEST(ScramblePasswordTest, StoresNineCharactersAndRefusesOnlyWhatHasNoPrintableForm) {
  const std::string worst = PasswordRulingOutEveryOffset();
  EXPECT_EQ(ScramblePassword(worst, kKey).problem, ScrambleProblem::NoPrintableForm);

  // Every variation tries all ten offsets, also where adding the tries to it wraps around in
  // 32 bits: from 0xFFFFFFF7 up, some offsets were tried twice and others never, and
  // "vvvvuv('}", storable under offsets 6 to 9 only, got no form at 0xFFFFFFFA.
  const std::string nine = worst.substr(0, 9);
  for (const std::string& password : {nine, std::string("vvvvuv('}")}) {
    for (std::uint32_t variation : {0u, 1u, 9u, 0x7FFFFFFFu, 0xFFFFFFF6u, 0xFFFFFFF7u, 0xFFFFFFFAu,
                                    0xFFFFFFFEu, 0xFFFFFFFFu}) {
      ScrambledPassword scrambled = ScramblePassword(password, kKey, variation);
      ASSERT_EQ(scrambled.problem, ScrambleProblem::None) << password << " " << variation;
      EXPECT_EQ(UnscramblePassword(scrambled.stored, kKey).password, password);
    }
  }
}

TEST(ScramblePasswordTest, RefusesWhatCannotBeStoredAtAll) {
  EXPECT_EQ(ScramblePassword(std::string(21, 'a'), kKey).problem, ScrambleProblem::TooLong);
  EXPECT_EQ(ScramblePassword("tab\there", kKey).problem, ScrambleProblem::NotPrintable);
  EXPECT_EQ(ScramblePassword("caf\xc3\xa9", kKey).problem, ScrambleProblem::NotPrintable);
  EXPECT_EQ(ScramblePassword(std::string(20, 'a'), kKey).problem, ScrambleProblem::None);
}

TEST(ScramblePasswordTest, RandomPasswordsRoundTripThroughTheUnscrambling) {
  std::mt19937 random(20230215);
  std::uniform_int_distribution<int> length(0, 20);
  std::uniform_int_distribution<int> character(' ', '~');
  for (int n = 0; n < 20000; ++n) {
    std::string password;
    for (int i = length(random); i > 0; --i) password += static_cast<char>(character(random));
    ScrambledPassword scrambled =
        ScramblePassword(password, kKey, static_cast<std::uint32_t>(random()));
    if (scrambled.problem == ScrambleProblem::NoPrintableForm) {
      EXPECT_GE(password.size(), 10u) << password;
      continue;
    }
    ASSERT_EQ(scrambled.problem, ScrambleProblem::None) << password;
    ASSERT_EQ(scrambled.stored.size(), kStoredPasswordLength);
    for (char c : scrambled.stored) ASSERT_TRUE(Storable(c)) << scrambled.stored;
    UnscrambledPassword read = UnscramblePassword(scrambled.stored, kKey);
    ASSERT_EQ(read.status, PasswordStatus::Decoded) << password;
    ASSERT_EQ(read.password, password);
  }
}

TEST(PasswordCheckDigitTest, SumsTheCodesOfDigitsAndLettersOnly) {
  struct Case {
    const char* text;
    char digit;
  } cases[] = {
      {"", '0'}, {"a", '7'}, {"A1", '4'}, {"Zz", '2'}, {"-_ !~\x7f", '0'}, {"a-b", '5'},
  };
  for (const Case& c : cases) EXPECT_EQ(PasswordCheckDigit(c.text), c.digit) << c.text;
}

TEST(UnscramblePasswordTest, RefusesWrongLengthsAndHeadersThatAreNoDigits) {
  const std::string stored = ScramblePassword("Secret12", kKey).stored;
  EXPECT_EQ(UnscramblePassword(stored, kKey).password, "Secret12");
  EXPECT_EQ(UnscramblePassword("", kKey).status, PasswordStatus::Empty);
  EXPECT_EQ(UnscramblePassword(stored.substr(1), kKey).status, PasswordStatus::InvalidFormat);
  EXPECT_EQ(UnscramblePassword(stored + "x", kKey).status, PasswordStatus::InvalidFormat);
  for (std::size_t j = 0; j < kPasswordHeaderLength; ++j) {
    std::string damaged = stored;
    damaged[j] = static_cast<char>(damaged[j] ^ 0x40);
    EXPECT_EQ(UnscramblePassword(damaged, kKey).status, PasswordStatus::InvalidFormat) << j;
  }
}

TEST(UnscramblePasswordTest, RefusesACheckDigitThatDoesNotMatch) {
  std::string stored = ScramblePassword("Secret12", kKey).stored;
  stored[0] = static_cast<char>(stored[0] ^ 1);  // another digit
  EXPECT_EQ(UnscramblePassword(stored, kKey).status, PasswordStatus::WrongCheckDigit);

  // The first password character, S, becomes Q: the sum of letters and digits changes by 2.
  stored = ScramblePassword("Secret12", kKey).stored;
  stored[kPasswordHeaderLength] = static_cast<char>(stored[kPasswordHeaderLength] ^ 2);
  EXPECT_EQ(UnscramblePassword(stored, kKey).status, PasswordStatus::WrongCheckDigit);
}

TEST(UnscramblePasswordTest, TheLengthDigitsCutTheReorderedBody) {
  // Only "xyz" is left of a body whose other characters decode to 0.
  struct Case {
    int lengthField;
    const char* password;
  } cases[] = {{0, ""}, {2, "xy"}, {3, "xyz"}, {25, "xyz"}, {99, "xyz"}};
  for (const Case& c : cases) {
    std::optional<std::string> stored = ComposeStoredPassword(kKey, 7, c.lengthField, "xyz");
    ASSERT_TRUE(stored);
    UnscrambledPassword read = UnscramblePassword(*stored, kKey);
    EXPECT_EQ(read.status, PasswordStatus::Decoded) << c.lengthField;
    EXPECT_EQ(read.password, c.password) << c.lengthField;
  }
}

}  // namespace
