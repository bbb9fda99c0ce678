// The stripping of a document stream down to what a plain-text consumer can
// use, as a walk over the items it keeps: TpiQxDocStripBuff stores them, the
// conversion to host bytes converts them as it goes.
#pragma once

#include <cstdint>

#include "charset/stream_grammar.h"
#include "qstr14/charset.h"

namespace qstr::codepage {

// Flags of the stripping (TpiQxDocStripBuff's fourth argument).
inline constexpr uint8_t kKeepAttributes = 0x01;
inline constexpr uint8_t kKeepLineBreaks = 0x02;
inline constexpr uint8_t kKeepParagraph = 0x04;
inline constexpr uint8_t kParagraphToSpace = 0x08;
inline constexpr uint8_t kHyphensToMinus = 0x10;
inline constexpr uint8_t kKeepTab = 0x20;

using charset::kAttributeGroupLength;
using charset::kAttributeOffGroup;
using charset::kAttributeOnGroup;
using charset::kStreamLineBreak;
using charset::kStreamParagraph;
using charset::kStreamSpace;

// What the stripping of a one-byte stream item stores: the byte, or -1 to
// drop it. Bytes 0xD0 and up are groups and handled by the walk.
inline int strippedByte(uint8_t byte, uint8_t flags) {
  if (charset::isPrintableAscii(byte) || byte == kStreamSpace) return byte;
  if (byte == charset::kStreamHardHyphen || byte == charset::kStreamSoftHyphen) {
    return flags & kHyphensToMinus ? '-' : -1;
  }
  if (byte == kStreamLineBreak) return flags & kKeepLineBreaks ? byte : -1;
  if (byte == kStreamParagraph) {
    if (flags & kKeepParagraph) return byte;
    return flags & kParagraphToSpace ? kStreamSpace : -1;
  }
  return -1;
}

// Walks the stream `src` as the stripping stores it into at most `limit`
// bytes: calls keep(item, length, stored) for every byte it stores (length
// 1, the stored byte) and every group it keeps whole, `stored` being the
// bytes stored before it. Ends where the stripping ends (the terminator, or
// no room for the next item) or where keep returns false. Returns the bytes
// the stripping stored.
//
// Always inlined: with the flags known where it is called, their tests fold
// away, which the conversion to host bytes relies on for its speed.
template <class Keep>
[[gnu::always_inline]] inline uint32_t walkStrippedItems(const uint8_t *src, uint32_t limit, uint8_t flags, Keep &&keep) {
  uint32_t stored = 0;
  while (stored < limit && *src != 0) {
    const uint8_t byte = *src;
    uint16_t groupLength = 0;
    if (byte == charset::kCharacterGroup) {
      groupLength = charset::kCharacterGroupLength;
    } else if ((byte == kAttributeOnGroup || byte == kAttributeOffGroup) && (flags & kKeepAttributes)) {
      groupLength = kAttributeGroupLength;
    } else if (byte >= charset::kFirstVariableGroup) {
      src += ufsize(src);  // every other group, and 0xFF, is dropped whole
      continue;
    } else {
      const int kept = strippedByte(byte, flags);
      ++src;
      if (kept < 0) continue;
      const auto keptByte = static_cast<uint8_t>(kept);
      if (!keep(&keptByte, uint16_t{1}, stored)) break;
      ++stored;
      continue;
    }
    if (stored + groupLength > limit) break;
    if (!keep(src, groupLength, stored)) break;
    stored += groupLength;
    src += groupLength;
  }
  return stored;
}

}  // namespace qstr::codepage
