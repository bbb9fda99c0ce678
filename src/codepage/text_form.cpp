// The text form: printable ASCII, single control bytes for line ends, tabs
// and two attributes, short escapes for other attributes, and a 3-byte
// escape (0xFD, code, set) for every other native character.
#include <array>

#include "charset/stream_grammar.h"
#include "frame/state.h"
#include "host/host.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

namespace {

using namespace qstr::charset;

constexpr uint8_t kTextLineEnd = 0x0D;
constexpr uint8_t kTextTab = 0x09;
constexpr uint8_t kTextTabAlternative = 0xFE;  // with flag 0x40
constexpr uint8_t kTextCharacter = 0xFD;
constexpr uint8_t kTextAttributeOn = 0x0E;
constexpr uint8_t kTextAttributeOff = 0x0F;
constexpr uint32_t kAlternativeTab = 0x40;

// One text form item: up to 3 bytes.
struct Item {
  std::array<uint8_t, 3> bytes{};
  uint8_t length = 0;  // 0: nothing to write
};

Item item(std::initializer_list<uint8_t> bytes) {
  Item result;
  for (uint8_t b : bytes) result.bytes[result.length++] = b;
  return result;
}

// The item of an attribute switched on or off; attributes 12 and 14 have
// single bytes, the others carry their number.
Item attributeItem(bool on, unsigned attribute, unsigned number) {
  if (attribute == 12) return item({static_cast<uint8_t>(on ? 0x1D : 0x1C)});
  if (attribute == 14) return item({static_cast<uint8_t>(on ? 0x14 : 0x15)});
  return item({on ? kTextAttributeOn : kTextAttributeOff, static_cast<uint8_t>(number)});
}

// The item at a stripped document stream position and the bytes it reads;
// `consumed` 0 ends the walk.
Item streamItem(const uint8_t *p, unsigned &consumed) {
  consumed = 1;
  const uint8_t b = p[0];
  if (isPrintableAscii(b)) return item({b});
  if (b == kStreamSpace) return item({' '});
  if (b == kStreamLineBreak || b == kStreamParagraph) return item({kTextLineEnd});
  if (b == kCharacterGroup) {
    consumed = kCharacterGroupLength;
    return item({kTextCharacter, p[1], p[2]});
  }
  if (b == kAttributeOnGroup || b == kAttributeOffGroup) {
    consumed = kAttributeGroupLength;
    return attributeItem(b == kAttributeOnGroup, p[1], p[1] / 2u + 1);
  }
  consumed = 0;
  return {};
}

// The item of a stripped native string element (possibly empty).
Item nativeItem(uint16_t c, uint32_t flags) {
  switch (c) {
    case kNativeLineFeed: case kNativeParagraph: return item({kTextLineEnd});
    case kNativeTab: return item({flags & kAlternativeTab ? kTextTabAlternative : kTextTab});
    case kNativeFormFeed: return {};
    default: break;
  }
  if (isNativeAttribute(c)) {
    const unsigned attribute = (c - kFirstNativeAttribute) / 2u;
    return attributeItem((c & 1) == 0, attribute, attribute + 1);
  }
  if (!ValidQxCharacter(c)) return {};
  const unsigned set = c >> 8;
  const uint8_t code = static_cast<uint8_t>(c);
  if (set == 0 || set == 0xFF) return item({code});
  if (set >= 0xE0) return {};
  return item({kTextCharacter, static_cast<uint8_t>(code == 0xFF ? 0 : code), static_cast<uint8_t>(set)});
}

// Appends `it` at dst[count] when it and a terminator fit in size bytes.
bool append(uint8_t *dst, uint32_t &count, uint32_t size, const Item &it) {
  if (count + it.length + 1 > size) return false;
  for (uint8_t i = 0; i < it.length; ++i) dst[count++] = it.bytes[i];
  return true;
}

}  // namespace

uint16_t QSTR_CALL TpiQxToQxsioBuff(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, uint32_t flags) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  const uint32_t stripped = TpiQxDocStripBuff(dst, src, size, flags);
  // In place: no item is longer than the bytes it replaces.
  uint32_t read = 0;
  uint32_t count = 0;
  while (read < stripped && count < size - 1) {
    unsigned consumed;
    const Item it = streamItem(dst + read, consumed);
    if (consumed == 0 || !append(dst, count, size, it)) break;
    read += consumed;
  }
  dst[count] = 0;
  return static_cast<uint16_t>(count);
}

uint16_t QSTR_CALL TpiQxwzToQxsioBuff(uint8_t *dst, const uint16_t *src, uint32_t sizeArg, uint32_t flags) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  namespace host = qstr::host;
  const host::HeapHandle heap = qstr::frame::processHeapHandle();
  auto *scratch = static_cast<uint16_t *>(host::heapAlloc(heap, wwstrlen(src) + 2u, true));
  if (scratch == nullptr) return 0;
  const int32_t stripped = TpiQxLongStripBuff(scratch, src, static_cast<int32_t>(size), flags);
  uint32_t count = 0;
  for (int32_t read = 0; read + 2 <= stripped && scratch[read / 2] != 0 && count < size - 1; read += 2) {
    if (!append(dst, count, size, nativeItem(scratch[read / 2], flags))) break;
  }
  dst[count] = 0;
  host::heapFree(heap, scratch);
  return static_cast<uint16_t>(count);
}
