// The forms in which the result document can be written.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "src/output/constant_text.h"

enum class OutputFlavour { EXEXML, Tendril, Vigilor, Nebulant, Quillon };

struct FlavourEntry {
  OutputFlavour flavour;
  std::string_view name;
};

// Every flavour and the name that selects it, letter case as written.
inline constexpr std::array<FlavourEntry, 5> kFlavours{{
    {OutputFlavour::EXEXML, "EXEXML"},
    {OutputFlavour::Tendril, "Tendril"},
    {OutputFlavour::Vigilor, "Vigilor"},
    {OutputFlavour::Nebulant, "Nebulant"},
    {OutputFlavour::Quillon, "Quillon"},
}};

// "EXEXML, Tendril, Vigilor, Nebulant, Quillon", for the message that refuses another name.
inline constexpr std::string_view kFlavourSeparator = ", ";
constexpr std::size_t FlavourListLength() {
  std::size_t length = (kFlavours.size() - 1) * kFlavourSeparator.size();
  for (const FlavourEntry& entry : kFlavours) length += entry.name.size();
  return length;
}
inline constexpr auto kFlavourList = [] {
  ConstantText<FlavourListLength()> text;
  std::size_t at = 0;
  for (const FlavourEntry& entry : kFlavours) {
    if (at != 0) {
      for (char c : kFlavourSeparator) text.chars[at++] = c;
    }
    for (char c : entry.name) text.chars[at++] = c;
  }
  return text;
}();

// The flavour named exactly NAME (letter case as written); nothing for any other text.
std::optional<OutputFlavour> FlavourNamed(std::string_view name);

// Tendril and Vigilor write what EXEXML writes; they only look for the profile elsewhere.
bool IsXmlFlavour(OutputFlavour flavour);
