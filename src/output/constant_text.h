// Texts joined at compile time from constants, so that a message states a limit or a list from
// the one place that defines it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Characters in static storage, usable where a constant string_view is needed.
template <std::size_t N>
struct ConstantText {
  std::array<char, N> chars{};
  constexpr std::string_view view() const { return {chars.data(), N}; }
};

// The decimal digits of a number.
template <std::size_t Number>
constexpr auto DecimalText() {
  constexpr std::size_t kDigits = [] {
    std::size_t digits = 1;
    for (std::size_t rest = Number; rest >= 10; rest /= 10) ++digits;
    return digits;
  }();
  ConstantText<kDigits> text;
  std::size_t rest = Number;
  for (std::size_t i = kDigits; i-- > 0; rest /= 10)
    text.chars[i] = static_cast<char>('0' + rest % 10);
  return text;
}

inline constexpr std::string_view kNoSeparator;

// The texts of `kPieces` (a constant array of string views) one after another, with
// `kSeparator` between each two.
template <const auto& kPieces, const std::string_view& kSeparator = kNoSeparator>
constexpr auto JoinText() {
  constexpr std::size_t kLength = [] {
    std::size_t length = kPieces.empty() ? 0 : (kPieces.size() - 1) * kSeparator.size();
    for (std::string_view piece : kPieces) length += piece.size();
    return length;
  }();
  ConstantText<kLength> text;
  std::size_t at = 0;
  for (std::size_t i = 0; i < kPieces.size(); ++i) {
    if (i != 0) {
      for (char c : kSeparator) text.chars[at++] = c;
    }
    for (char c : kPieces[i]) text.chars[at++] = c;
  }
  return text;
}
