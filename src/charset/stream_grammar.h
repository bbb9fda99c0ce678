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
inline constexpr uint8_t kAttributeOnGroup = 0xF2;    // F2 attribute F2
inline constexpr uint8_t kAttributeOffGroup = 0xF3;   // F3 attribute F3
inline constexpr uint8_t kSingleByte = 0xFF;
inline constexpr uint16_t kAttributeGroupLength = 3;

// One-byte functions that plain text keeps in some form.
inline constexpr uint8_t kStreamSpace = 0x80;
inline constexpr uint8_t kStreamHardHyphen = 0x84;
inline constexpr uint8_t kStreamSoftHyphen = 0x85;
inline constexpr uint8_t kStreamLineBreak = 0xCC;
inline constexpr uint8_t kStreamParagraph = 0xCF;
inline constexpr uint16_t kCharacterGroupLength = 4;
inline constexpr uint16_t kMinVariableGroupLength = 7;

// Native string elements from here up are functions and attributes.
inline constexpr uint16_t kFirstNativeFunction = 0xF900;
// The control functions: 0xF900 plus the control code they stand for.
inline constexpr uint16_t kNativeTab = 0xF909;
inline constexpr uint16_t kNativeLineFeed = 0xF90A;
inline constexpr uint16_t kNativeFormFeed = 0xF90C;
inline constexpr uint16_t kNativeParagraph = 0xF90D;  // the carriage return
// Attribute n switched on is kFirstNativeAttribute + 2n, off + 2n + 1.
inline constexpr uint16_t kFirstNativeAttribute = 0xFE00;
inline constexpr uint16_t kLastNativeAttribute = 0xFE1F;

constexpr bool isNativeAttribute(uint16_t element) {
  return element >= kFirstNativeAttribute && element <= kLastNativeAttribute;
}

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

// Printable ASCII: the stream bytes that stand for themselves.
constexpr bool isPrintableAscii(uint8_t byte) { return byte >= 0x20 && byte <= 0x7E; }

// A stream item of at most four bytes; `length` of `bytes` count.
struct StreamItem {
  uint8_t bytes[kCharacterGroupLength];
  uint8_t length;
};

// A native character as a stream item: its byte below 0x100, else a
// character group (the group byte, the character's low and high bytes,
// the group byte).
constexpr StreamItem nativeStreamItem(uint16_t native) {
  if (native < 0x100) return {{static_cast<uint8_t>(native), 0, 0, 0}, 1};
  return {{kCharacterGroup, static_cast<uint8_t>(native), static_cast<uint8_t>(native >> 8), kCharacterGroup},
          static_cast<uint8_t>(kCharacterGroupLength)};
}

}  // namespace qstr::charset
