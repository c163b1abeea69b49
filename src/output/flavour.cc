// The forms in which the result document can be written.
#include "src/output/flavour.h"

std::optional<OutputFlavour> FlavourNamed(std::string_view name) {
  for (const FlavourEntry& entry : kFlavours) {
    if (entry.name == name) return entry.flavour;
  }
  return std::nullopt;
}

bool IsXmlFlavour(OutputFlavour flavour) {
  return flavour == OutputFlavour::EXEXML || flavour == OutputFlavour::Tendril ||
         flavour == OutputFlavour::Vigilor;
}
