// The pieces of a channel that the flavours write besides its name and value.
#pragma once

#include <string>
#include <string_view>

// The label of a channel in the Nebulant form: the key, or the name when the key is empty, with
// blanks, '/' and '\' made '_' and the first '.' made '_'.
std::string ChannelLabel(std::string_view key, std::string_view name);
// "#" for no unit, "mSec" for "TimeResponse", else the unit itself.
std::string UnitSymbol(std::string_view unit);
