// The stored form of a profile's password: unscrambling for the sensor, scrambling for
// sapprofile.
#include "src/config/password.h"

#include <algorithm>

namespace {

// Every key byte lies in 0x01..0x1F. Such a byte only swaps characters within the ranges
// 0x20-0x3F, 0x40-0x5F and 0x60-0x7F, so exactly two printable characters come out as blank
// or DEL under it: 0x20 ^ byte and 0x7F ^ byte. No byte at all can map the 95 printable
// characters onto the 94 non-blank ones, so with any key some password of ten characters rules
// out each of the ten key offsets once and has no editor-safe stored form. Here bytes 0 to 30
// are all different, so the ten offsets give a body position ten different bytes and one
// character rules out at most one offset: every password of up to nine characters has such a
// form, and longer ones all but a few in a million. The header bytes stay clear of 0x10-0x19,
// which would turn a digit into a blank.
constexpr PasswordKey kKeyBytes{0x0D, 0x03, 0x1B, 0x06, 0x11, 0x1E, 0x08, 0x15, 0x02, 0x19, 0x0C,
                                0x1D, 0x05, 0x13, 0x0A, 0x17, 0x01, 0x1C, 0x0F, 0x09, 0x14, 0x07,
                                0x1A, 0x04, 0x12, 0x0E, 0x18, 0x0B, 0x16, 0x10, 0x1F, 0x00};

// R takes the body in the order 0, 19, 1, 18, ..., 9, 10: R's character m is body character
// BodyIndex(m).
constexpr std::size_t BodyIndex(std::size_t m) {
  return m % 2 == 0 ? m / 2 : kPasswordBodyLength - 1 - m / 2;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsStorable(char c) { return c > ' ' && c <= '~'; }

char Xor(char c, std::uint8_t keyByte) { return static_cast<char>(c ^ static_cast<char>(keyByte)); }

// A small generator for the filler; quality does not matter, only that it varies.
std::uint32_t NextVariation(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

}  // namespace

PasswordKey BuildPasswordKeyTable() { return kKeyBytes; }

char PasswordCheckDigit(std::string_view text) {
  unsigned sum = 0;
  for (char c : text) {
    if (IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      sum += static_cast<unsigned char>(c);
    }
  }
  return static_cast<char>('0' + sum % 10);
}

UnscrambledPassword UnscramblePassword(std::string_view stored, const PasswordKey& key) {
  if (stored.empty()) return {PasswordStatus::Empty, {}};
  if (stored.size() != kStoredPasswordLength) return {PasswordStatus::InvalidFormat, {}};

  char header[kPasswordHeaderLength];
  for (std::size_t j = 0; j < kPasswordHeaderLength; ++j) {
    header[j] = Xor(stored[j], key[j]);
    if (!IsDigit(header[j])) return {PasswordStatus::InvalidFormat, {}};
  }
  const char checkDigit = header[0];
  const auto digit = [&header](std::size_t at) {
    return static_cast<std::size_t>(header[at] - '0');
  };
  const std::size_t keyOffset = digit(1);
  const std::size_t length = digit(2) * 10 + digit(3);

  std::string_view body = stored.substr(kPasswordHeaderLength);
  std::string reordered;
  for (std::size_t m = 0; m < kPasswordBodyLength; ++m) {
    const std::size_t i = BodyIndex(m);
    const char c = Xor(body[i], key[keyOffset + i]);
    if (c != '\0') reordered += c;  // how passwords shorter than the body are padded
  }
  if (PasswordCheckDigit(reordered) != checkDigit) return {PasswordStatus::WrongCheckDigit, {}};
  reordered.resize(std::min(length, reordered.size()));
  return {PasswordStatus::Decoded, reordered};
}

std::optional<std::string> ComposeStoredPassword(const PasswordKey& key, int keyOffset,
                                                 int lengthField, std::string_view reordered) {
  if (keyOffset < 0 || keyOffset >= kKeyOffsetCount || lengthField < 0 || lengthField > 99 ||
      reordered.size() > kPasswordBodyLength) {
    return std::nullopt;
  }
  const std::size_t offset = static_cast<std::size_t>(keyOffset);
  const char header[kPasswordHeaderLength] = {
      PasswordCheckDigit(reordered), static_cast<char>('0' + keyOffset),
      static_cast<char>('0' + lengthField / 10), static_cast<char>('0' + lengthField % 10)};

  std::string stored(kStoredPasswordLength, '\0');
  for (std::size_t j = 0; j < kPasswordHeaderLength; ++j) stored[j] = Xor(header[j], key[j]);
  for (std::size_t m = 0; m < kPasswordBodyLength; ++m) {
    const std::size_t i = BodyIndex(m);
    const char plain = m < reordered.size() ? reordered[m] : '\0';
    stored[kPasswordHeaderLength + i] = Xor(plain, key[offset + i]);
  }
  return stored;
}

ScrambledPassword ScramblePassword(std::string_view password, const PasswordKey& key,
                                   std::uint32_t variation) {
  if (password.size() > kMaxPasswordLength) return {ScrambleProblem::TooLong, {}};
  for (char c : password) {
    if (c < ' ' || c > '~') return {ScrambleProblem::NotPrintable, {}};
  }
  std::uint32_t state = variation;
  // Reduced before the tries are added: a sum that wraps around in 32 bits would try some
  // offsets twice and others never.
  const int firstOffset = static_cast<int>(variation % static_cast<std::uint32_t>(kKeyOffsetCount));
  for (int tried = 0; tried < kKeyOffsetCount; ++tried) {
    const int keyOffset = (firstOffset + tried) % kKeyOffsetCount;
    // The key bytes are no printable characters themselves, so the rest of the body is not
    // left to decode to 0: it is filled with printable characters, and the length field cuts
    // them off again.
    std::string reordered(password);
    for (std::size_t m = password.size(); m < kPasswordBodyLength; ++m) {
      const char filler = static_cast<char>('!' + NextVariation(state) % 94);
      reordered += Xor(filler, key[static_cast<std::size_t>(keyOffset) + BodyIndex(m)]);
    }
    std::optional<std::string> stored =
        ComposeStoredPassword(key, keyOffset, static_cast<int>(password.size()), reordered);
    if (std::all_of(stored->begin(), stored->end(), IsStorable)) {
      return {ScrambleProblem::None, *stored};
    }
  }
  return {ScrambleProblem::NoPrintableForm, {}};
}
