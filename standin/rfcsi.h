// The layout of the system-information record: field names, lengths and offsets, as the
// library checks a structure description against it and sapsim fills it from a configuration.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

struct RfcsiField {
  std::string_view name;
  std::size_t length;
  std::size_t offset;
};

inline constexpr std::size_t kRfcsiSize = 200;

inline constexpr std::array<RfcsiField, 18> kRfcsiFields{{
    {"RFCPROTO", 3, 0},
    {"RFCCHARTYP", 4, 3},
    {"RFCINTTYP", 3, 7},
    {"RFCFLOTYP", 3, 10},
    {"RFCDEST", 32, 13},
    {"RFCHOST", 8, 45},
    {"RFCSYSID", 8, 53},
    {"RFCDATABS", 8, 61},
    {"RFCDBHOST", 32, 69},
    {"RFCDBSYS", 10, 101},
    {"RFCSAPRL", 4, 111},
    {"RFCMACH", 5, 115},
    {"RFCOPSYS", 10, 120},
    {"RFCTZONE", 6, 130},
    {"RFCDAYST", 1, 136},
    {"RFCIPADDR", 15, 137},
    {"RFCKERNRL", 4, 152},
    {"RFCSI_RESV", 44, 156},
}};

using RfcsiRecord = std::array<char, kRfcsiSize>;

// The field of that name; nothing for a name that is not one of the 18.
std::optional<RfcsiField> FindRfcsiField(std::string_view name);

// Writes a value into its field, blank-padded, cut at the field's length.
void SetRfcsiField(RfcsiRecord& record, const RfcsiField& field, std::string_view value);

// A record of blanks only.
RfcsiRecord BlankRfcsi();

}  // namespace standin
