// Byte-text helpers that every layer shares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Upper-cases the letters a to z only; every other byte stays as it is.
std::string UpperCaseAtoZ(std::string_view text);

// The decimal number at the start of a text, after white space and a sign, as atoi reads it; 0
// when there is none. A number beyond the 32-bit range is held at its limit.
std::int32_t LeadingNumber(std::string_view text);

// The text before the first occurrence of `mark`; the whole text when it has none.
std::string_view CutAt(std::string_view text, std::string_view mark);

}  // namespace platform
