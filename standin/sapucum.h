// The NetWeaver stand-in's companion library (libsapucum), which must lie beside it, as the
// vendor's library needs its own: the conversions between the bytes of the wire and UTF-16.
// A plain C interface, so that no C++ object crosses between the two libraries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#if defined(_WIN32)
#if defined(SAPUCUM_BUILDING_LIBRARY)
#define SAPUCUM_API __declspec(dllexport)
#else
#define SAPUCUM_API __declspec(dllimport)
#endif
#else
#define SAPUCUM_API __attribute__((visibility("default")))
#endif

extern "C" {

// Bytes from a system as UTF-16, by the rule of the sensor's documents: a well-formed UTF-8
// sequence is its code point, every other byte is read as Windows-1252 (the five bytes that
// code page leaves undefined as the C1 controls of their number). Writes at most `capacity`
// units; returns how many the whole text takes, never more than `count`.
SAPUCUM_API std::size_t SapUcFromBytes(const char* bytes, std::size_t count, char16_t* out,
                                       std::size_t capacity);

// UTF-16 as UTF-8; a surrogate without its partner becomes U+FFFD. Writes at most `capacity`
// bytes; returns how many the whole text takes.
SAPUCUM_API std::size_t SapUcToUtf8(const char16_t* text, std::size_t units, char* out,
                                    std::size_t capacity);

}  // extern "C"

namespace standin {

// The same for strings of the caller's own: sized in a first pass, filled in a second.
inline std::u16string Utf16FromBytes(std::string_view bytes) {
  std::u16string text(SapUcFromBytes(bytes.data(), bytes.size(), nullptr, 0), u'\0');
  SapUcFromBytes(bytes.data(), bytes.size(), text.data(), text.size());
  return text;
}

inline std::string Utf8FromUtf16(std::u16string_view text) {
  std::string bytes(SapUcToUtf8(text.data(), text.size(), nullptr, 0), '\0');
  SapUcToUtf8(text.data(), text.size(), bytes.data(), bytes.size());
  return bytes;
}

}  // namespace standin
