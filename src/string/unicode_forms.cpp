// Unicode strings and native strings, and the text form wrappers.
#include "charset/unicode_mapping.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

namespace {

using qstr::charset::nativeStringToUnicode;
using qstr::charset::unicodeStringToNative;
constexpr uint32_t kWholeString = 0xFFFFFFFF;

}  // namespace

int32_t QSTR_CALL Q6WStrTowz(const uint16_t *src, uint16_t *dst) {
  unicodeStringToNative(src, kWholeString, dst);
  return 1;
}

// A capacity of 0 leaves no room even for the terminator: refused with 0.
uint16_t QSTR_CALL Q6WStrTowzN(const uint16_t *src, uint16_t *dst, uint32_t n) {
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) return 0;
  unicodeStringToNative(src, capacity - 1, dst);
  return 1;
}

int32_t QSTR_CALL Q6wzToWStr(const uint16_t *src, uint16_t *dst) {
  nativeStringToUnicode(src, kWholeString, dst);
  return 1;
}

// The third argument is not used. The length is not cut to 16 bits: the
// result is the whole string, as Q6wzToWStr gives it.
int32_t QSTR_CALL Q6wzToWStrEx(const uint16_t *src, uint16_t *dst, uint32_t) { return Q6wzToWStr(src, dst); }

uint16_t QSTR_CALL Q6wzToWStrN(const uint16_t *src, uint16_t *dst, uint32_t n) {
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) return 0;
  nativeStringToUnicode(src, capacity - 1, dst);
  return 1;
}

uint16_t QSTR_CALL Q6dzTotz(const uint8_t *src, uint8_t *dst, uint32_t size, uint32_t flags) {
  return TpiQxToQxsioBuff(dst, src, size, flags);
}

uint16_t QSTR_CALL Q6wzTotz(const uint16_t *src, uint8_t *dst, uint32_t size, uint32_t flags) {
  return TpiQxwzToQxsioBuff(dst, src, size, flags);
}
