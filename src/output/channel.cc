// The pieces of a channel that the flavours write besides its name and value.
#include "src/output/channel.h"

#include <array>

namespace {

struct UnitRow {
  std::string_view unit;
  std::string_view symbol;
};
constexpr std::array<UnitRow, 2> kUnitSymbols{{{"", "#"}, {"TimeResponse", "mSec"}}};

}  // namespace

std::string ChannelLabel(std::string_view key, std::string_view name) {
  std::string label(key.empty() ? name : key);
  for (char& c : label) {
    if (c == ' ' || c == '/' || c == '\\') c = '_';
  }
  if (auto dot = label.find('.'); dot != std::string::npos) label[dot] = '_';
  return label;
}

std::string UnitSymbol(std::string_view unit) {
  for (const UnitRow& row : kUnitSymbols) {
    if (row.unit == unit) return std::string(row.symbol);
  }
  return std::string(unit);
}
