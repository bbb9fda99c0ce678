// Stripping document streams and native strings down to what a plain-text
// consumer can use.
#include "charset/stream_grammar.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"

namespace {

using namespace qstr::charset;

constexpr uint8_t kKeepAttributes = 0x01;
constexpr uint8_t kKeepLineBreaks = 0x02;  // 0xCC; 0xF90A and 0xF90C
constexpr uint8_t kKeepParagraph = 0x04;   // 0xCF; 0xF90D
constexpr uint8_t kParagraphToSpace = 0x08;
constexpr uint8_t kHyphensToMinus = 0x10;
constexpr uint8_t kKeepTab = 0x20;

constexpr uint8_t kStreamSpace = 0x80;
constexpr uint8_t kStreamLineBreak = 0xCC;
constexpr uint8_t kStreamParagraph = 0xCF;
constexpr uint8_t kAttributeOnGroup = 0xF2;
constexpr uint8_t kAttributeOffGroup = 0xF3;
constexpr uint16_t kAttributeGroupLength = 3;

// What the stripping of a one-byte stream item stores: the byte, or -1 to
// drop it. Bytes 0xD0 and up are groups and handled by the caller.
int strippedByte(uint8_t byte, uint8_t flags) {
  if ((byte >= 0x20 && byte <= 0x7E) || byte == kStreamSpace) return byte;
  if (byte == 0x84 || byte == 0x85) return flags & kHyphensToMinus ? '-' : -1;
  if (byte == kStreamLineBreak) return flags & kKeepLineBreaks ? byte : -1;
  if (byte == kStreamParagraph) {
    if (flags & kKeepParagraph) return byte;
    return flags & kParagraphToSpace ? kStreamSpace : -1;
  }
  return -1;
}

// What the stripping of a native string element stores, or 0 to drop it.
uint16_t strippedElement(uint16_t c, uint8_t flags) {
  if (ValidQxCharacter(c)) return c;
  switch (c) {
    case 0xF909: return flags & kKeepTab ? c : 0;
    case 0xF90A: case 0xF90C: return flags & kKeepLineBreaks ? c : 0;
    case 0xF90D:
      if (flags & kKeepParagraph) return c;
      return flags & kParagraphToSpace ? 0x0020 : 0;
    case 0x0084: case 0x0085: case 0xFB05: return flags & kHyphensToMinus ? 0x002D : 0;
    default: return c >= 0xFE00 && c <= 0xFE1F && (flags & kKeepAttributes) ? c : 0;
  }
}

}  // namespace

uint32_t QSTR_CALL TpiQxDocStripBuff(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, uint32_t flagsArg) {
  const uint32_t size = sizeArg & 0xFFFF;
  const uint8_t flags = static_cast<uint8_t>(flagsArg);
  if (size == 0) return 0;
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  while (count < limit && *src != 0) {
    const uint8_t byte = *src;
    uint16_t groupLength = 0;
    if (byte == kCharacterGroup) {
      groupLength = kCharacterGroupLength;
    } else if ((byte == kAttributeOnGroup || byte == kAttributeOffGroup) && (flags & kKeepAttributes)) {
      groupLength = kAttributeGroupLength;
    } else if (byte >= kFirstVariableGroup) {
      src += ufsize(src);  // every other group, and 0xFF, is dropped whole
      continue;
    } else {
      const int stored = strippedByte(byte, flags);
      if (stored >= 0) dst[count++] = static_cast<uint8_t>(stored);
      ++src;
      continue;
    }
    if (count + groupLength > limit) break;
    for (uint16_t i = 0; i < groupLength; ++i) dst[count++] = *src++;
  }
  dst[count] = 0;
  return count + 1;
}

int32_t QSTR_CALL TpiQxLongStripBuff(uint16_t *dst, const uint16_t *src, int32_t size, uint32_t flagsArg) {
  // Below 2 bytes the 16-bit terminator cannot fit: nothing is written.
  if (size < 2) return 0;
  const uint8_t flags = static_cast<uint8_t>(flagsArg);
  int32_t count = 0;  // bytes
  for (; count < size - 1 && *src != 0; ++src) {
    const uint16_t stored = strippedElement(*src, flags);
    if (stored == 0) continue;
    dst[count / 2] = stored;
    count += 2;
  }
  dst[count / 2] = 0;
  return count + 2;
}
