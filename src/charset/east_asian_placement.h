// East Asian placement: the arithmetic between the double-byte codes of the
// code pages 932, 934, 936, 938, 949 and 950 and the native character sets
// 0x24-0xDF. The one implementation; every conversion that meets a
// double-byte character calls it.
#pragma once

#include <cstdint>

#include "base/no_mapping.h"

namespace qstr::charset {

using base::kNoMapping;

// A double-byte code page (base/double_byte_pages.h): 932, 934, 936, 938,
// 949 or 950.
bool isEastAsianCodePage(uint32_t codePage);

// Native character sets of the East Asian characters.
inline constexpr uint8_t kFirstEastAsianSet = 0x24;
inline constexpr uint8_t kLastEastAsianSet = 0xDF;
constexpr bool isEastAsianSet(unsigned set) { return set >= kFirstEastAsianSet && set <= kLastEastAsianSet; }

// The double-byte code (lead byte high) of a native character under
// `codePage`, or 0xFFFF when the character lies outside the page's native
// area or the code page is not one of the six. The exact inverse of
// lDbcsToQX6x on every native character that it produces; the formulas
// also give a code for some natives that no code produces (extension slot
// codes 0xFC-0xFE, the last codes of the areas), which do not read back.
uint16_t lQX6xToDbcs(uint32_t codePage, uint16_t native);

// The native character of a double-byte code (lead byte high) under
// `codePage`, or 0xFFFF when the code is outside the page's double-byte
// area or the code page is not one of the six.
uint16_t lDbcsToQX6x(uint32_t codePage, uint16_t code);

}  // namespace qstr::charset
