// The layout of the system-information record: field names, lengths and offsets, as the
// library checks a structure description against it and sapsim fills it from a configuration.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "src/rfc/rfcsi_layout.h"

namespace standin {

// The fields' names, lengths and offsets are the sensor's one description of the record.
using ::kRfcsiFields;
using ::kRfcsiSize;
using ::RfcsiField;

using RfcsiRecord = std::array<char, kRfcsiSize>;

// The field of that name; nothing for a name that is not one of the 18.
std::optional<RfcsiField> FindRfcsiField(std::string_view name);

// Writes a value into its field, blank-padded, cut at the field's length.
void SetRfcsiField(RfcsiRecord& record, const RfcsiField& field, std::string_view value);

// A record of blanks only.
RfcsiRecord BlankRfcsi();

}  // namespace standin
