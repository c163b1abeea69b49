// The layout of the system-information record.
#include "standin/rfcsi.h"

#include <algorithm>

namespace standin {

std::optional<RfcsiField> FindRfcsiField(std::string_view name) {
  for (const RfcsiField& field : kRfcsiFields) {
    if (field.name == name) return field;
  }
  return std::nullopt;
}

void SetRfcsiField(RfcsiRecord& record, const RfcsiField& field, std::string_view value) {
  auto begin = record.begin() + static_cast<std::ptrdiff_t>(field.offset);
  auto end = begin + static_cast<std::ptrdiff_t>(field.length);
  std::fill(begin, end, ' ');
  std::copy_n(value.begin(), std::min(value.size(), field.length), begin);
}

RfcsiRecord BlankRfcsi() {
  RfcsiRecord record;
  record.fill(' ');
  return record;
}

}  // namespace standin
