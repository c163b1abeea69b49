// Character fields of the records a library hands back, read as text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A character field: at most its size, ending early at a zero byte, so that a field without an
// end mark is never read past.
std::string_view BoundedText(const char* field, std::size_t size);

// A field of a system record as text: bounded, trailing blanks removed.
std::string FieldText(const char* field, std::size_t length);
