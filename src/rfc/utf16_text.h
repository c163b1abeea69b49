// The NetWeaver library's texts are UTF-16; the sensor's are bytes, UTF-8 where they are
// valid and Windows-1252 where not (a profile saved by a Windows editor).
#pragma once

#include <string>
#include <string_view>

std::u16string Utf16FromText(std::string_view text);

// UTF-8; a unit of a broken surrogate pair becomes U+FFFD.
std::string TextFromUtf16(std::u16string_view text);

// A zero-terminated text in a record of `size` units, never read past the record.
std::u16string_view BoundedUtf16(const char16_t* text, std::size_t size);
