// Native characters to and from UTF-16 (internal part).
#pragma once

#include <cstdint>

namespace qstr::charset {

// The Unicode value of (set, code), or 0xFFFF: sets 0 and 12 below 0x80 are
// ASCII, above through the ANSI code page; sets 1-11, 13, 14 through their
// tables; everything else has none.
uint16_t lGetUnicodeValue(unsigned set, unsigned code);

// A native character's Unicode value, and back, with the ANSI code page
// given (the exported functions read it from the host each time).
uint16_t nativeToUnicode(uint16_t native, uint32_t ansiCodePage);
uint16_t unicodeToNative(uint16_t unicode, uint32_t ansiCodePage);

// Strings converted one element to one, up to their terminator or `limit`
// elements, then terminated; return the elements converted. An element
// that converts to 0 (the native 0x0C00, say) ends the result there and
// nothing after it is written. What KZstrQX6xToUnicode and
// KZstrUnicodeToQX6x give for them, in one pass and with the host asked
// once per string.
uint32_t nativeStringToUnicode(const uint16_t *src, uint32_t limit, uint16_t *dst);
uint32_t unicodeStringToNative(const uint16_t *src, uint32_t limit, uint16_t *dst);

// The reverse table looked up by binary search; GetQXCCHARValue answers
// from a direct index built from the same table.
uint16_t reverseTableSearch(uint16_t unicode);

// Lowest and highest valid code of a set 0-14.
struct ValidityRange {
  uint8_t lowest;
  uint8_t highest;
};
ValidityRange validityRange(unsigned set);

}  // namespace qstr::charset
