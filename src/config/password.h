// The stored form of a profile's password: unscrambling for the sensor, scrambling for
// sapprofile. Both directions live here so that they cannot drift apart.
//
// A stored password is 24 characters: a 4-character header (check digit, key offset K, two
// length digits, each combined by exclusive-or with key bytes 0 to 3) and a 20-character body
// (character i combined with key byte K + i). The body read in the order 0, 19, 1, 18, ..., 9,
// 10, with characters that decode to 0 left out, starts with the password. This is obfuscation:
// anyone with the program can undo it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using PasswordKey = std::array<std::uint8_t, 32>;

inline constexpr std::size_t kStoredPasswordLength = 24;
inline constexpr std::size_t kPasswordHeaderLength = 4;
inline constexpr std::size_t kPasswordBodyLength = 20;
inline constexpr std::size_t kMaxPasswordLength = kPasswordBodyLength;
inline constexpr int kKeyOffsetCount = 10;  // K is one digit

// The key the sensor and sapprofile share; a profile written for one key reads only with it.
PasswordKey BuildPasswordKeyTable();

enum class PasswordStatus {
  Empty,            // no stored value: no password, no error
  Decoded,          // `password` holds it
  InvalidFormat,    // not 24 characters, or the header is not four digits
  WrongCheckDigit,  // the check digit does not match the body
};

struct UnscrambledPassword {
  PasswordStatus status = PasswordStatus::Empty;
  std::string password;  // set only when Decoded
};

UnscrambledPassword UnscramblePassword(std::string_view stored, const PasswordKey& key);

// The last decimal digit of the sum of the codes of those characters of `text` that are digits
// or letters a-z, A-Z.
char PasswordCheckDigit(std::string_view text);

// Header and body for a given key offset (0-9), length field (0-99) and reordered body R (at
// most 20 characters, put back into body order; the rest of the body decodes to 0). Nothing
// when an argument is out of range. The characters may come out unprintable.
std::optional<std::string> ComposeStoredPassword(const PasswordKey& key, int keyOffset,
                                                 int lengthField, std::string_view reordered);

enum class ScrambleProblem {
  None,
  TooLong,          // more than 20 characters
  NotPrintable,     // a character outside printable ASCII (blank to '~')
  NoPrintableForm,  // no key offset gives a stored form of printable, non-blank characters
};

struct ScrambledPassword {
  ScrambleProblem problem = ScrambleProblem::None;
  std::string stored;  // set only when problem is None
};

// The stored form of `password`, of 24 printable ASCII characters other than blank, so that it
// survives a text editor. `variation` chooses the first key offset tried and the filler
// after a short password, so that equal passwords need not look alike; any value reads back.
ScrambledPassword ScramblePassword(std::string_view password, const PasswordKey& key,
                                   std::uint32_t variation = 0);
