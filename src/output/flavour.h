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

inline constexpr auto kFlavourNames = [] {
  std::array<std::string_view, kFlavours.size()> names{};
  for (std::size_t i = 0; i < kFlavours.size(); ++i) names[i] = kFlavours[i].name;
  return names;
}();
inline constexpr std::string_view kFlavourSeparator = ", ";
// "EXEXML, Tendril, Vigilor, Nebulant, Quillon", for the message that refuses another name.
inline constexpr auto kFlavourList = JoinText<kFlavourNames, kFlavourSeparator>();

// The flavour named exactly NAME (letter case as written); nothing for any other text.
std::optional<OutputFlavour> FlavourNamed(std::string_view name);

// Tendril and Vigilor write what EXEXML writes; they only look for the profile elsewhere.
bool IsXmlFlavour(OutputFlavour flavour);
