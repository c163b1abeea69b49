// What the fuzz targets check beyond crashes: a property that does not hold prints what failed
// and aborts, so that libFuzzer keeps the input as a reproducer.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// `detail` shows the values involved; texts are printed with their bytes as they are.
inline void Require(bool holds, std::string_view property, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "\nproperty failed: %.*s\n", static_cast<int>(property.size()),
               property.data());
  if (!detail.empty()) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  std::abort();
}

}  // namespace fuzz
