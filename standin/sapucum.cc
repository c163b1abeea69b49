// The NetWeaver stand-in's companion library: bytes to UTF-16 and UTF-16 to UTF-8.
#include "standin/sapucum.h"

#include <array>

namespace {

// What Windows-1252 makes of the bytes 0x80 to 0x9F; from 0xA0 on a byte is the code point of
// its number. The five bytes it leaves undefined keep their number: C1 controls, which a
// document shows as blanks.
constexpr std::array<char16_t, 32> kWindows1252{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Sequence {
  std::size_t length = 0;  // 0: no well-formed UTF-8 sequence starts here
  char32_t codePoint = 0;
};

// The well-formed UTF-8 sequence at bytes[0..count): no overlong form, no surrogate, nothing
// above U+10FFFF.
Sequence Utf8At(const unsigned char* bytes, std::size_t count) {
  struct Lead {
    unsigned char low, high;
    std::size_t length;
    char32_t bits, minimum;
  };
  static constexpr Lead kLeads[] = {
      {0x00, 0x7F, 1, 0x7F, 0},
      {0xC2, 0xDF, 2, 0x1F, 0x80},
      {0xE0, 0xEF, 3, 0x0F, 0x800},
      {0xF0, 0xF4, 4, 0x07, 0x10000},
  };
  for (const Lead& lead : kLeads) {
    if (bytes[0] < lead.low || bytes[0] > lead.high) continue;
    if (count < lead.length) return {};
    char32_t codePoint = bytes[0] & lead.bits;
    for (std::size_t i = 1; i < lead.length; ++i) {
      if ((bytes[i] & 0xC0U) != 0x80U) return {};
      codePoint = (codePoint << 6) | (bytes[i] & 0x3FU);
    }
    if (codePoint < lead.minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      return {};
    }
    return {lead.length, codePoint};
  }
  return {};
}

// Appends units or bytes while there is room; counts them either way.
template <class Unit>
class Sink {
 public:
  Sink(Unit* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
  void Put(char32_t bits) {
    if (out_ != nullptr && count_ < capacity_) out_[count_] = static_cast<Unit>(bits);
    ++count_;
  }
  std::size_t count() const { return count_; }

 private:
  Unit* out_;
  std::size_t capacity_;
  std::size_t count_ = 0;
};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

extern "C" {

SAPUCUM_API std::size_t SapUcFromBytes(const char* bytes, std::size_t count, char16_t* out,
                                       std::size_t capacity) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  Sink<char16_t> units(out, capacity);
  for (std::size_t i = 0; i < count;) {
    const Sequence sequence = Utf8At(in + i, count - i);
    if (sequence.length == 0) {
      // Not UTF-8: a system that is no Unicode system.
      units.Put(in[i] >= 0x80 && in[i] < 0xA0 ? kWindows1252[in[i] - 0x80] : in[i]);
      ++i;
      continue;
    }
    if (sequence.codePoint < 0x10000) {
      units.Put(sequence.codePoint);
    } else {
      const char32_t above = sequence.codePoint - 0x10000;
      units.Put(0xD800 + (above >> 10));
      units.Put(0xDC00 + (above & 0x3FF));
    }
    i += sequence.length;
  }
  return units.count();
}

SAPUCUM_API std::size_t SapUcToUtf8(const char16_t* text, std::size_t units, char* out,
                                    std::size_t capacity) {
  Sink<char> bytes(out, capacity);
  for (std::size_t i = 0; i < units; ++i) {
    char32_t codePoint = text[i];
    if (IsHighSurrogate(text[i]) && i + 1 < units && IsLowSurrogate(text[i + 1])) {
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      codePoint = 0xFFFD;
    }
    if (codePoint < 0x80) {
      bytes.Put(codePoint);
    } else if (codePoint < 0x800) {
      bytes.Put(0xC0 | (codePoint >> 6));
      bytes.Put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
      bytes.Put(0xE0 | (codePoint >> 12));
      bytes.Put(0x80 | ((codePoint >> 6) & 0x3F));
      bytes.Put(0x80 | (codePoint & 0x3F));
    } else {
      bytes.Put(0xF0 | (codePoint >> 18));
      bytes.Put(0x80 | ((codePoint >> 12) & 0x3F));
      bytes.Put(0x80 | ((codePoint >> 6) & 0x3F));
      bytes.Put(0x80 | (codePoint & 0x3F));
    }
  }
  return bytes.count();
}

}  // extern "C"
