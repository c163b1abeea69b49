// The forms in which the result document can be written.
#include "src/output/flavour.h"

#include <array>

namespace {

struct FlavourEntry {
  OutputFlavour flavour;
  std::string_view name;
};

constexpr std::array<FlavourEntry, 5> kFlavours{{
    {OutputFlavour::EXEXML, "EXEXML"},
    {OutputFlavour::Tendril, "Tendril"},
    {OutputFlavour::Vigilor, "Vigilor"},
    {OutputFlavour::Nebulant, "Nebulant"},
    {OutputFlavour::Quillon, "Quillon"},
}};

}  // namespace

std::optional<OutputFlavour> FlavourNamed(std::string_view name) {
  for (const FlavourEntry& entry : kFlavours) {
    if (entry.name == name) return entry.flavour;
  }
  return std::nullopt;
}

std::string_view FlavourName(OutputFlavour flavour) {
  for (const FlavourEntry& entry : kFlavours) {
    if (entry.flavour == flavour) return entry.name;
  }
  return "";
}

bool IsXmlFlavour(OutputFlavour flavour) {
  return flavour == OutputFlavour::EXEXML || flavour == OutputFlavour::Tendril ||
         flavour == OutputFlavour::Vigilor;
}

std::string_view ValidFlavourNames() { return "EXEXML, Tendril, Vigilor, Nebulant, Quillon"; }
