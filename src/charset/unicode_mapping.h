// Native characters to and from UTF-16 (internal part).
#pragma once

#include <cstdint>

namespace qstr::charset {

// The Unicode value of (set, code), or 0xFFFF: sets 0 and 12 below 0x80 are
// ASCII, above through the ANSI code page; sets 1-11, 13, 14 through their
// tables; everything else has none.
uint16_t lGetUnicodeValue(unsigned set, unsigned code);

// Lowest and highest valid code of a set 0-14.
struct ValidityRange {
  uint8_t lowest;
  uint8_t highest;
};
ValidityRange validityRange(unsigned set);

}  // namespace qstr::charset
