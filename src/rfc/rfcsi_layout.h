// The system-information record's fields, described once: the sensor hands this description to
// the library, the stand-in checks descriptions against it and sapsim fills records by it.
#pragma once

#include <array>
#include <cstddef>

#include "src/rfc/saprfc.h"

struct RfcsiField {
  const char* name;
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

// What RfcInstallStructure is told: 18 character fields, every offset given as 0, since the
// record received has its fields one after another.
constexpr std::array<RfcStructureField, kRfcsiFields.size()> RfcsiDescription() {
  std::array<RfcStructureField, kRfcsiFields.size()> description{};
  for (std::size_t i = 0; i < kRfcsiFields.size(); ++i) {
    description[i] = {kRfcsiFields[i].name, RFC_TYPE_CHAR,
                      static_cast<int32_t>(kRfcsiFields[i].length), 0, 0};
  }
  return description;
}

// The description and the record of the interface header agree field for field.
constexpr bool RfcsiFieldsFollowOneAnother() {
  std::size_t offset = 0;
  for (const RfcsiField& field : kRfcsiFields) {
    if (field.offset != offset) return false;
    offset += field.length;
  }
  return offset == kRfcsiSize;
}
static_assert(RfcsiFieldsFollowOneAnother() && sizeof(RFCSI) == kRfcsiSize);

#define SAPSYSINFO_RFCSI_FIELD(index, member)                            \
  static_assert(kRfcsiFields[index].offset == offsetof(RFCSI, member) && \
                kRfcsiFields[index].length == sizeof(RFCSI::member))
SAPSYSINFO_RFCSI_FIELD(0, rfcproto);
SAPSYSINFO_RFCSI_FIELD(1, rfcchartyp);
SAPSYSINFO_RFCSI_FIELD(2, rfcinttyp);
SAPSYSINFO_RFCSI_FIELD(3, rfcflotyp);
SAPSYSINFO_RFCSI_FIELD(4, rfcdest);
SAPSYSINFO_RFCSI_FIELD(5, rfchost);
SAPSYSINFO_RFCSI_FIELD(6, rfcsysid);
SAPSYSINFO_RFCSI_FIELD(7, rfcdatabs);
SAPSYSINFO_RFCSI_FIELD(8, rfcdbhost);
SAPSYSINFO_RFCSI_FIELD(9, rfcdbsys);
SAPSYSINFO_RFCSI_FIELD(10, rfcsaprl);
SAPSYSINFO_RFCSI_FIELD(11, rfcmach);
SAPSYSINFO_RFCSI_FIELD(12, rfcopsys);
SAPSYSINFO_RFCSI_FIELD(13, rfctzone);
SAPSYSINFO_RFCSI_FIELD(14, rfcdayst);
SAPSYSINFO_RFCSI_FIELD(15, rfcipaddr);
SAPSYSINFO_RFCSI_FIELD(16, rfckernrl);
SAPSYSINFO_RFCSI_FIELD(17, rfcsi_resv);
#undef SAPSYSINFO_RFCSI_FIELD
