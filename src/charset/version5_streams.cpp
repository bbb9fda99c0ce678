// Whole strings between version-5 streams and native strings: Q5dzTowz,
// lQ5CdzTowz, QwzTo5dz. Items are read through readVersion5Item, the one
// description of the version-5 stream grammar.
#include "charset/stream_grammar.h"
#include "charset/version5_items.h"
#include "host/host.h"
#include "qstr14/version5.h"

namespace qstr::charset::version5 {
namespace {

constexpr uint16_t kControlBase = kFirstNativeFunction;  // 0x0A → 0xF90A
constexpr uint16_t kAttributeBase = kFirstNativeAttribute;
constexpr uint8_t kSet0Lead = 0x21;          // 21 x: the set-0 character x
constexpr uint8_t kSet11Lead = 0x22;         // Japanese: 22 x: set 11
constexpr uint8_t kDroppedLead = 0x7F;       // Japanese: 7F x: dropped
constexpr uint8_t kFirstChineseLead = 0x22;  // Chinese: 22-7F x: the characters
constexpr uint8_t kFirstTrail = 0x21;
constexpr unsigned kTrailsPerRow = 94;
constexpr uint8_t kTraditionalChineseScript = 0x83;
constexpr uint16_t kTraditionalChineseBase = 0xA500;
constexpr uint16_t kSimplifiedChineseBase = 0x8200;

// How the characters of a stream are written.
enum class Form { kSingleByte, kJapanese, kSimplifiedChinese, kTraditionalChinese };

// Codes wrap modulo 256.
constexpr uint16_t character(unsigned set, unsigned code) {
  return static_cast<uint16_t>(set << 8 | (code & 0xFF));
}

// Attribute n switched on or off; the low byte wraps modulo 256.
constexpr uint16_t attribute(uint8_t n, bool on) {
  return static_cast<uint16_t>(kAttributeBase | ((2 * n + (on ? 0 : 1)) & 0xFF));
}

// What one item puts into the native string: nothing, an element, or a
// slot of room that stays empty.
struct Output {
  enum Kind { kNothing, kElement, kEmptySlot } kind;
  uint16_t element = 0;
};

Output element(uint16_t value) { return {Output::kElement, value}; }

// The Japanese rows: two rows of 94 per set from set 0x24 (odd leads the
// first row, even leads the second). Codes wrap modulo 256.
Output japanesePair(uint8_t lead, uint8_t trail) {
  const unsigned code = trail - kFirstTrail;
  if (lead == kSet11Lead) return element(character(11, code));
  if (lead == kDroppedLead) return {Output::kEmptySlot};
  if (lead % 2) return element(character((lead + 1) / 2 + 0x12, code));
  return element(character(lead / 2 + 0x12, code + kTrailsPerRow));
}

// The Chinese characters, n-th from the script's first set, 255 to a set.
// Trail bytes are not range-checked; the result wraps modulo 65536.
Output chinesePair(uint16_t base, uint8_t lead, uint8_t trail) {
  const int n = (lead - kFirstChineseLead) * static_cast<int>(kTrailsPerRow) + (trail - kFirstTrail);
  return element(static_cast<uint16_t>(base + n + n / 255));
}

Output pairOutput(Form form, uint8_t lead, uint8_t trail) {
  if (lead == kSet0Lead) return element(trail);
  switch (form) {
    case Form::kJapanese: return japanesePair(lead, trail);
    case Form::kTraditionalChinese: return chinesePair(kTraditionalChineseBase, lead, trail);
    default: return chinesePair(kSimplifiedChineseBase, lead, trail);
  }
}

Output itemOutput(Form form, const uint8_t *item, Version5ItemKind kind) {
  using Kind = Version5ItemKind;
  switch (kind) {
    case Kind::kControl: return element(kControlBase | item[0]);
    case Kind::kCharacter: return element(item[0]);
    case Kind::kPair: return pairOutput(form, item[0], item[1]);
    case Kind::kExtendedCharacter: return element(character(item[2], item[1]));
    case Kind::kAttributeOn: return element(attribute(item[1], true));
    case Kind::kAttributeOff: return element(attribute(item[1], false));
    default: return {Output::kNothing};
  }
}

// The room is counted in elements: size / 2 - 1 and the terminator. The
// walk ends at the terminator, at an item that is not complete, or when
// the room is used up.
uint16_t *streamToNative(const uint8_t *src, uint16_t *dst, uint32_t size, Form form) {
  const std::size_t capacity = (size & 0xFFFF) / 2;
  if (capacity == 0) return dst;
  std::size_t room = capacity - 1;
  uint16_t *out = dst;
  const bool doubleByte = form != Form::kSingleByte;
  while (room > 0) {
    const Version5Item item = readVersion5Item(src, kUnknownSize, doubleByte);
    if (item.kind == Version5ItemKind::kTerminator || item.status != Version5ItemStatus::kComplete) {
      break;
    }
    const Output output = itemOutput(form, src, item.kind);
    if (output.kind == Output::kElement) *out++ = output.element;
    if (output.kind != Output::kNothing) --room;
    src += item.length;
  }
  *out = 0;
  return dst;
}

}  // namespace
}  // namespace qstr::charset::version5

using namespace qstr::charset::version5;

uint16_t *QSTR_CALL Q5dzTowz(const uint8_t *src, uint16_t *dst, uint32_t size) {
  const Form form = qstr::host::dbcsEnabled() ? Form::kJapanese : Form::kSingleByte;
  return streamToNative(src, dst, size, form);
}

uint16_t *QSTR_CALL lQ5CdzTowz(const uint8_t *src, uint16_t *dst, uint32_t size, uint32_t script) {
  const Form form = static_cast<uint8_t>(script) == kTraditionalChineseScript
                        ? Form::kTraditionalChinese
                        : Form::kSimplifiedChinese;
  return streamToNative(src, dst, size, form);
}

// The room is the size less the terminator's byte, in bytes: a set-0
// code takes one byte of it, and an extended character is written only
// while more than its 4 bytes remain.
uint8_t *QSTR_CALL QwzTo5dz(const uint16_t *src, uint8_t *dst, uint32_t size) {
  if ((size & 0xFFFF) == 0) return dst;
  std::size_t room = (size & 0xFFFF) - 1;
  uint8_t *out = dst;
  for (; *src != 0 && room > 0; ++src) {
    const uint16_t native = *src;
    if (!qstr::charset::isNativeCharacter(native)) continue;
    if (native >> 8 == 0) {
      *out++ = static_cast<uint8_t>(native);
      room -= 1;
    } else if (room > kExtendedCharacterLength) {
      *out++ = kExtendedCharacterCode;
      *out++ = static_cast<uint8_t>(native);
      *out++ = static_cast<uint8_t>(native >> 8);
      *out++ = kExtendedCharacterCode;
      room -= kExtendedCharacterLength;
    }
  }
  *out = 0;
  return dst;
}
