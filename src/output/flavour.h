// The forms in which the result document can be written.
#pragma once

#include <optional>
#include <string_view>

enum class OutputFlavour { EXEXML, Tendril, Vigilor, Nebulant, Quillon };

// The flavour named exactly NAME (letter case as written); nothing for any other text.
std::optional<OutputFlavour> FlavourNamed(std::string_view name);
std::string_view FlavourName(OutputFlavour flavour);
bool IsXmlFlavour(OutputFlavour flavour);
// "EXEXML, Tendril, Vigilor, Nebulant, Quillon"
std::string_view ValidFlavourNames();
