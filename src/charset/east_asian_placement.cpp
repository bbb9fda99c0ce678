#include "charset/east_asian_placement.h"

#include "base/double_byte_pages.h"

namespace qstr::charset {
namespace {

// The extension slots: codes 0xBC-0xFB of sets 0x2B-0x81 hold, one after
// the other, the user-defined characters of whichever page is active.
constexpr unsigned kFirstSlotSet = 0x2B;
constexpr unsigned kLastSlotSet = 0x81;
constexpr unsigned kFirstSlotCode = 0xBC;
constexpr unsigned kSlotsPerSet = 64;
constexpr unsigned kSlotCount = (kLastSlotSet - kFirstSlotSet + 1) * kSlotsPerSet;

uint16_t native(unsigned set, unsigned code) { return static_cast<uint16_t>(set << 8 | code); }

uint16_t slotNative(unsigned n) {
  if (n >= kSlotCount) return kNoMapping;
  return native(kFirstSlotSet + n / kSlotsPerSet, kFirstSlotCode + n % kSlotsPerSet);
}

// The slot index of a native character read back from the extension
// slots. Codes 0xBC-0xFE of sets from 0x2B are accepted: the codes past
// 0xFB, which no double-byte code produces, read as the first slots of the
// next set (0x2BFC and 0x2CBC give the same index).
bool slotIndex(unsigned set, unsigned code, unsigned &n) {
  if (set < kFirstSlotSet || code < kFirstSlotCode || code > 0xFE) return false;
  n = (set - kFirstSlotSet) * kSlotsPerSet + (code - kFirstSlotCode);
  return true;
}

bool inNativeRange(unsigned set, unsigned code, uint16_t first, uint16_t last) {
  const unsigned value = set << 8 | code;
  return value >= first && value <= last;
}

// Sets and codes of 255 per set: n → set base + n / 255, code n % 255.
uint16_t packed255(unsigned firstSet, unsigned n) { return native(firstSet + n / 255, n % 255); }

// ---- 932: native sets 0x24-0x52 ----
uint16_t shiftJisToNative(unsigned lead, unsigned trail) {
  if (trail < 0x40 || trail > 0xFC || trail == 0x7F) return kNoMapping;
  const unsigned skip = trail >= 0x80 ? 1 : 0;
  if (lead >= 0xF0 && lead <= 0xFC) return slotNative((lead - 0xF0) * 188 + (trail - 0x40) - skip);
  const unsigned code = lead << 8 | trail;
  if (lead >= 0x81 && lead <= 0x9F) return static_cast<uint16_t>(code - 0x5D40 - skip);
  if (lead >= 0xE0 && lead <= 0xEF) return static_cast<uint16_t>(code - 0x5D40 - skip - 0x4000);
  return kNoMapping;
}

uint32_t nativeToShiftJis(unsigned set, unsigned code) {
  if (!inNativeRange(set, code, 0x2400, 0x52FE)) return kNoMapping;
  if (code <= 0xBB) {
    uint32_t value = (set << 8 | code) + 0x5D40 + (code >= 0x3F ? 1 : 0);
    return value > 0x9FFC ? value + 0x4000 : value;
  }
  unsigned n;
  if (!slotIndex(set, code, n)) return kNoMapping;
  unsigned trail = 0x40 + n % 188;
  if (trail >= 0x7F) ++trail;
  return (0xF0 + n / 188) << 8 | trail;
}

// ---- 934, 949: native sets 0x53-0x81, two rows of 94 per set ----
uint16_t koreanToNative(unsigned lead, unsigned trail) {
  if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return kNoMapping;
  const unsigned row = lead - 0xA1;
  return native(0x53 + row / 2, trail - 0xA1 + (row % 2 ? 94 : 0));
}

uint32_t nativeToKorean(unsigned set, unsigned code) {
  if (!inNativeRange(set, code, 0x5300, 0x81BB) || code > 0xBB) return kNoMapping;
  if (code < 0x5E) return ((2 * set - 5) & 0xFF) << 8 | (0xA1 + code);
  return ((2 * set - 4) & 0xFF) << 8 | (0xA1 + code - 0x5E);
}

// ---- 936: native sets 0x82-0xA4 and the extension slots ----
uint16_t gbkToNative(unsigned lead, unsigned trail) {
  if (lead < 0x81 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return kNoMapping;
  if (lead >= 0xA1) return packed255(0x82, (lead - 0xA1) * 94 + (trail - 0xA1));
  return slotNative((lead - 0x81) * 94 + (trail - 0xA1));
}

uint32_t nativeToGbk(unsigned set, unsigned code) {
  unsigned n;
  if (inNativeRange(set, code, 0x8200, 0xA4FE) && code <= 0xFE) {
    n = (set - 0x82) * 255 + code;
    return (0xA1 + n / 94) << 8 | (0xA1 + n % 94);
  }
  if (!inNativeRange(set, code, 0x2BBC, 0x81FB) || !slotIndex(set, code, n)) return kNoMapping;
  return (0x81 + n / 94) << 8 | (0xA1 + n % 94);
}

// ---- 938, 950: native sets 0xA5-0xDE and the extension slots ----
uint16_t big5ToNative(unsigned lead, unsigned trail) {
  unsigned t;
  if (trail >= 0x40 && trail <= 0x7E) {
    t = trail - 0x40;
  } else if (trail >= 0xA1 && trail <= 0xFE) {
    t = trail - 0x62;
  } else {
    return kNoMapping;
  }
  if (lead < 0x81 || lead > 0xFE) return kNoMapping;
  if (lead >= 0xA1) return packed255(0xA5, (lead - 0xA1) * 157 + t);
  return slotNative((lead - 0x81) * 157 + t);
}

uint32_t nativeToBig5(unsigned set, unsigned code) {
  unsigned n;
  unsigned firstLead;
  if (inNativeRange(set, code, 0xA500, 0xDEDE) && code <= 0xFE) {
    n = (set - 0xA5) * 255 + code;
    firstLead = 0xA1;
  } else if (inNativeRange(set, code, 0x2BBC, 0x81FB) && slotIndex(set, code, n)) {
    firstLead = 0x81;
  } else {
    return kNoMapping;
  }
  const unsigned r = n % 157;
  return (firstLead + n / 157) << 8 | (r <= 0x3E ? 0x40 + r : 0x62 + r);
}

}  // namespace

bool isEastAsianCodePage(uint32_t codePage) { return base::isDoubleByteCodePage(codePage); }

uint16_t lDbcsToQX6x(uint32_t codePage, uint16_t code) {
  const unsigned lead = code >> 8;
  const unsigned trail = code & 0xFF;
  switch (codePage) {
    case 932: return shiftJisToNative(lead, trail);
    case 934: case 949: return koreanToNative(lead, trail);
    case 936: return gbkToNative(lead, trail);
    case 938: case 950: return big5ToNative(lead, trail);
    default: return kNoMapping;
  }
}

uint16_t lQX6xToDbcs(uint32_t codePage, uint16_t nativeChar) {
  const unsigned set = nativeChar >> 8;
  const unsigned code = nativeChar & 0xFF;
  uint32_t result;
  switch (codePage) {
    case 932: result = nativeToShiftJis(set, code); break;
    case 934: case 949: result = nativeToKorean(set, code); break;
    case 936: result = nativeToGbk(set, code); break;
    case 938: case 950: result = nativeToBig5(set, code); break;
    default: return kNoMapping;
  }
  return static_cast<uint16_t>(result);
}

}  // namespace qstr::charset
