// Which sources are UTF-8: a file that starts with the UTF-8 byte order mark, or whose bytes
// are all well-formed UTF-8 with at least one character beyond ASCII. Every other file is
// bytes in the ANSI code page. Shared by the compile tool and the IDE, so both read a file alike.
#pragma once
#include <string_view>

namespace zb {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

inline bool StartsWithUtf8Mark(std::string_view bytes) { return bytes.substr(0, Utf8Mark.size()) == Utf8Mark; }

// True when every byte belongs to a well-formed UTF-8 character: no stray continuation byte,
// no sequence cut short, no overlong form, no surrogate (U+D800..U+DFFF), nothing past U+10FFFF.
inline bool IsWellFormedUtf8(std::string_view bytes) {
  const size_t n = bytes.size();
  for (size_t k = 0; k < n;) {
    const auto lead = static_cast<unsigned char>(bytes[k]);
    if (lead < 0x80) {
      ++k;
      continue;
    }
    size_t more = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the byte after the lead
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;   // below: overlong
      if (lead == 0xED) high = 0x9F;  // above: surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;   // below: overlong
      if (lead == 0xF4) high = 0x8F;  // above: past U+10FFFF
    } else {
      return false;  // a continuation byte, an overlong lead (C0, C1) or F5..FF
    }
    if (n - k <= more) return false;
    for (size_t j = 1; j <= more; ++j) {
      const auto next = static_cast<unsigned char>(bytes[k + j]);
      if (next < (j == 1 ? low : 0x80) || next > (j == 1 ? high : 0xBF)) return false;
    }
    k += more + 1;
  }
  return true;
}

inline bool HasNonAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// The rule itself: UTF-8 by its mark, or by well-formed bytes beyond ASCII.
inline bool IsUtf8Source(std::string_view bytes) {
  return StartsWithUtf8Mark(bytes) || (HasNonAscii(bytes) && IsWellFormedUtf8(bytes));
}

}  // namespace zb
