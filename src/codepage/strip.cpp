// Stripping document streams and native strings down to what a plain-text
// consumer can use.
#include "codepage/stream_strip.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"

namespace {

using namespace qstr::codepage;
using namespace qstr::charset;

// What the stripping of a native string element stores, or 0 to drop it.
uint16_t strippedElement(uint16_t c, uint8_t flags) {
  if (ValidQxCharacter(c)) return c;
  switch (c) {
    case kNativeTab: return flags & kKeepTab ? c : 0;
    case kNativeLineFeed: case kNativeFormFeed: return flags & kKeepLineBreaks ? c : 0;
    case kNativeParagraph:
      if (flags & kKeepParagraph) return c;
      return flags & kParagraphToSpace ? 0x0020 : 0;
    case kStreamHardHyphen: case kStreamSoftHyphen: case 0xFB05: return flags & kHyphensToMinus ? 0x002D : 0;
    default: return isNativeAttribute(c) && (flags & kKeepAttributes) ? c : 0;
  }
}

}  // namespace

uint32_t QSTR_CALL TpiQxDocStripBuff(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, uint32_t flagsArg) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  const uint32_t stored = qstr::codepage::walkStrippedItems(
      src, size - 1, static_cast<uint8_t>(flagsArg), [dst](const uint8_t *item, uint16_t length, uint32_t at) {
        for (uint16_t i = 0; i < length; ++i) dst[at + i] = item[i];
        return true;
      });
  dst[stored] = 0;
  return stored + 1;
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
