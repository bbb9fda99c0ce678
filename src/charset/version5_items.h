// The items of a version-5 stream: how long each one is and whether it is
// complete. The one description of the version-5 stream grammar; the
// stream conversions and the validator both walk streams through
// readVersion5Item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace qstr::charset::version5 {

// 0xC0-0xCF open fixed-length items bounded by their code byte: code,
// data, code again.
inline constexpr uint8_t kFirstFixedLength = 0xC0;
inline constexpr uint8_t kExtendedCharacterCode = 0xC0;  // C0 code set C0
inline constexpr uint8_t kAttributeOnCode = 0xC3;        // C3 n C3
inline constexpr uint8_t kAttributeOffCode = 0xC4;       // C4 n C4
inline constexpr std::size_t kExtendedCharacterLength = 4;
inline constexpr std::size_t kAttributeLength = 3;
// Other fixed-length functions (C1, C2, C5-CF) carry one or two data bytes.
inline constexpr std::size_t kMaxFixedFunctionData = 2;
// Variable-length functions (D0-FF): code, one byte, length word M, M bytes.
inline constexpr uint8_t kFirstVariableFunction = 0xD0;
inline constexpr std::size_t kVariableFunctionHeader = 4;
// In the double-byte forms, bytes from here to 0x7F open a pair.
inline constexpr uint8_t kFirstPairLead = 0x21;

enum class Version5ItemKind : uint8_t {
  kTerminator,        // 0x00
  kControl,           // 0x0A, 0x0C, 0x0D: kept as 0xF900 + byte
  kFunction,          // other one-byte functions: 0x01-0x1F, 0x80-0xBF
  kCharacter,         // one byte 0x20-0x7F (in the double-byte forms 0x20 only)
  kPair,              // double-byte forms: lead 0x21-0x7F and one more byte
  kExtendedCharacter, // C0
  kAttributeOn,       // C3
  kAttributeOff,      // C4
  kFixedFunction,     // C1, C2, C5-CF
  kVariableFunction,  // D0-FF
};

enum class Version5ItemStatus : uint8_t {
  kComplete,   // every byte of the item is there
  kTruncated,  // the bytes end inside the item, or a pair's second byte is zero
  kUnclosed,   // a bounded item whose code byte is not repeated where it must be
};

struct Version5Item {
  Version5ItemKind kind;
  Version5ItemStatus status;
  // Bytes the item spans (1 for the terminator). Meaningful only when the
  // item is complete.
  std::size_t length;
};

// No bound: the bytes run on until the item ends. For readers of streams
// whose size is not known; they rely on complete items.
inline constexpr std::size_t kUnknownSize = SIZE_MAX;

// The item that starts at `item`, reading no byte at or past
// item + available (`available` counts bytes; at least 1). `doubleByte`
// selects the double-byte forms, in which 0x21-0x7F open pairs.
Version5Item readVersion5Item(const uint8_t *item, std::size_t available, bool doubleByte);

// Walks the `size` bytes of a version-5 stream item by item and returns
// the offset of the first item that is not complete (truncated by the end
// of the bytes or by a zero second byte of a pair, or not closed by its
// code byte), or `size` when the bytes end at an item start without a
// terminator. nullopt when every item up to a terminator is complete.
// Reads no byte past stream + size. Bytes after the terminator are not
// looked at.
std::optional<std::size_t> firstIncompleteVersion5Item(const uint8_t *stream, std::size_t size,
                                                       bool doubleByte);

}  // namespace qstr::charset::version5
