// The exported class mappings: fixed case rules for sets 0-15, the
// country's class-mapping table for everything else.
#include "base/ascii.h"
#include "charset/stream_grammar.h"
#include "qstr14/asian.h"
#include "qstr14/frame.h"

#include "asian/class_lookup.h"

namespace {

using qstr::asian::classTableFor;
using qstr::asian::lookUpForm;

constexpr unsigned kLastFixedCaseSet = 15;
constexpr unsigned kHalfWidthKanaSet = 11;
constexpr uint16_t kHalfWidthVoicedMark = 0x0B3D;
constexpr uint16_t kHalfWidthSemiVoicedMark = 0x0B3E;
constexpr uint16_t kVoicedFlag = 0x40;
constexpr uint16_t kSemiVoicedFlag = 0x80;

uint16_t low16(uint32_t ch) { return static_cast<uint16_t>(ch); }
unsigned setOf(uint16_t ch) { return ch >> 8; }
unsigned codeOf(uint16_t ch) { return ch & 0xFF; }

using qstr::base::isAsciiLower;
using qstr::base::isAsciiUpper;

// Sets 1-15: the code lies in the set's case range of rngchr.
bool inCaseRange(uint16_t ch) {
  const uint8_t *range = rngchr[setOf(ch) - 1];
  return range[1] != 0 && codeOf(ch) >= range[0] && codeOf(ch) <= range[1];
}

// Whether a single-width character (set 0-15) is an upper-case letter.
bool isFixedUpper(uint16_t ch) {
  if (setOf(ch) == 0) return isAsciiUpper(ch);
  return setOf(ch) <= kLastFixedCaseSet && inCaseRange(ch) && codeOf(ch) % 2 == 0;
}

}  // namespace

uint16_t QSTR_CALL wtoall(uint16_t mode, uint32_t ch) {
  const qstr::asian::ClassTable *table = classTableFor(QtpiGetCountryID());
  if (table == nullptr) return low16(ch);
  return lookUpForm(*table, mode, low16(ch));
}

uint16_t QSTR_CALL wtodouble(uint32_t ch, uint16_t *next) {
  const uint16_t c = low16(ch);
  if (next != nullptr && setOf(c) == kHalfWidthKanaSet &&
      (*next == kHalfWidthVoicedMark || *next == kHalfWidthSemiVoicedMark)) {
    const uint16_t flagged = c | (*next == kHalfWidthVoicedMark ? kVoicedFlag : kSemiVoicedFlag);
    const uint16_t joined = wtoall(WTO_DOUBLE, flagged);
    if (joined != flagged) {
      *next = 0;
      return joined;
    }
  }
  return wtoall(WTO_DOUBLE, c);
}

uint16_t QSTR_CALL wtosingle(uint32_t ch, uint16_t *mark) {
  const uint16_t single = wtoall(WTO_SINGLE, ch);
  if (mark == nullptr) return single;
  *mark = 0;
  if (setOf(single) != kHalfWidthKanaSet) return single;
  if (single & kVoicedFlag) {
    *mark = kHalfWidthVoicedMark;
  } else if (single & kSemiVoicedFlag) {
    *mark = kHalfWidthSemiVoicedMark;
  }
  return single & ~(kVoicedFlag | kSemiVoicedFlag);
}

uint16_t QSTR_CALL wtohiragana(uint32_t ch) {
  uint16_t c = low16(ch);
  if (setOf(c) == kHalfWidthKanaSet) c = wtoall(WTO_DOUBLE, c);
  return wtoall(WTO_HIRAGANA, c);
}

uint16_t QSTR_CALL wtokatakana(uint32_t ch) { return wtoall(WTO_KATAKANA, ch); }

uint16_t QSTR_CALL wtolower(uint32_t ch) {
  const uint16_t c = low16(ch);
  if (setOf(c) == 0) return isAsciiUpper(c) ? c + 0x20 : c;
  if (setOf(c) <= kLastFixedCaseSet) return inCaseRange(c) ? c | 1 : c;
  return wtoall(WTO_LOWER, c);
}

uint16_t QSTR_CALL wtoupper(uint32_t ch) {
  const uint16_t c = low16(ch);
  if (setOf(c) == 0) return isAsciiLower(c) ? c - 0x20 : c;
  if (setOf(c) <= kLastFixedCaseSet) return inCaseRange(c) ? c & ~1u : c;
  return wtoall(WTO_UPPER, c);
}

int32_t QSTR_CALL wisupper(uint32_t ch) {
  uint16_t c = low16(ch);
  if (setOf(c) > kLastFixedCaseSet) {
    const uint16_t single = wtoall(WTO_SINGLE, c);
    if (single == c) return 0;
    c = single;
  }
  return isFixedUpper(c) ? 1 : 0;
}

void QSTR_CALL s2upper(uint8_t *dst, const uint8_t *src) {
  for (;;) {
    uint8_t byte = *src++;
    if (byte == qstr::charset::kCharacterGroup) {
      // The group's character, low byte first; its closing 0xF0 follows as
      // a plain byte.
      *dst++ = byte;
      const uint16_t upper = wtoupper(src[0] | src[1] << 8);
      *dst++ = static_cast<uint8_t>(upper);
      *dst++ = static_cast<uint8_t>(upper >> 8);
      src += 2;
      byte = *src++;
    }
    *dst++ = static_cast<uint8_t>(wtoupper(byte));
    if (byte == 0) return;
  }
}

void QSTR_CALL ws2upper(uint16_t *dst, const uint16_t *src) {
  if (dst == nullptr || src == nullptr) return;
  for (;;) {
    const uint16_t unit = *src++;
    *dst++ = wtoupper(unit);
    if (unit == 0) return;
  }
}

void QSTR_CALL ws2uppern(uint16_t *dst, const uint16_t *src, int32_t size) {
  for (int32_t left = size; left >= 2; left -= 2) {
    const uint16_t unit = *src++;
    *dst++ = wtoupper(unit);
    if (unit == 0) return;
  }
}
