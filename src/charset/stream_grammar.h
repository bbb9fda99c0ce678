// The grammar of document stream items and native string elements, shared
// by the stepping functions and every walker of streams and strings.
#pragma once

#include <cstdint>

namespace qstr::charset {

// First bytes of document stream items.
inline constexpr uint8_t kFirstFunction = 0x80;       // 0x80-0xCF one-byte functions
inline constexpr uint8_t kFirstVariableGroup = 0xD0;  // 0xD0-0xEF variable-length groups
inline constexpr uint8_t kLastVariableGroup = 0xEF;
inline constexpr uint8_t kCharacterGroup = 0xF0;      // F0 code set F0
inline constexpr uint8_t kSingleByte = 0xFF;
inline constexpr uint16_t kCharacterGroupLength = 4;
inline constexpr uint16_t kMinVariableGroupLength = 7;

// Native string elements from here up are functions and attributes.
inline constexpr uint16_t kFirstNativeFunction = 0xF900;

constexpr bool isVariableGroup(uint8_t first) {
  return first >= kFirstVariableGroup && first <= kLastVariableGroup;
}

// Length of the fixed-length group with code 0xF0-0xFE; 1 for any other byte.
constexpr uint16_t fixedGroupLength(uint8_t code) {
  constexpr uint8_t kLengths[15] = {4, 5, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 8, 8};
  return code >= 0xF0 && code <= 0xFE ? kLengths[code - 0xF0] : 1;
}

constexpr uint16_t readLittleEndian16(const uint8_t *bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

// An item at which character stepping stops: a plain character, the
// terminator, or a character group.
constexpr bool isCharacterItem(uint8_t first) {
  return first < kFirstFunction || first == kCharacterGroup;
}

constexpr bool isNativeCharacter(uint16_t element) { return element < kFirstNativeFunction; }

}  // namespace qstr::charset
