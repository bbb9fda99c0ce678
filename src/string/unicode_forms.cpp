// Unicode strings and native strings, and the text form wrappers.
#include "charset/unicode_mapping.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

namespace {

uint32_t unitCount(const uint16_t *s) {
  uint32_t length = 0;
  while (s[length] != 0) ++length;
  return length;
}

// Converts the first `count` characters and terminates at `count`.
void nativeToUnicode(const uint16_t *src, uint16_t *dst, uint32_t count) {
  qstr::charset::nativeStringToUnicode(src, count, dst);
}

void unicodeToNative(const uint16_t *src, uint16_t *dst, uint32_t count) {
  qstr::charset::unicodeStringToNative(src, count, dst);
}

}  // namespace

int32_t QSTR_CALL Q6WStrTowz(const uint16_t *src, uint16_t *dst) {
  unicodeToNative(src, dst, unitCount(src));
  return 1;
}

// A capacity of 0 leaves no room even for the terminator: refused with 0.
uint16_t QSTR_CALL Q6WStrTowzN(const uint16_t *src, uint16_t *dst, uint32_t n) {
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) return 0;
  const uint32_t length = unitCount(src);
  unicodeToNative(src, dst, length >= capacity ? capacity - 1 : length);
  return 1;
}

int32_t QSTR_CALL Q6wzToWStr(const uint16_t *src, uint16_t *dst) {
  nativeToUnicode(src, dst, wwstrlen(src) / 2);
  return 1;
}

// The third argument is not used. The length is not cut to 16 bits: the
// result is the whole string, as Q6wzToWStr gives it.
int32_t QSTR_CALL Q6wzToWStrEx(const uint16_t *src, uint16_t *dst, uint32_t) { return Q6wzToWStr(src, dst); }

uint16_t QSTR_CALL Q6wzToWStrN(const uint16_t *src, uint16_t *dst, uint32_t n) {
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) return 0;
  const uint32_t length = wwstrlen(src) / 2;
  nativeToUnicode(src, dst, length >= capacity ? capacity - 1 : length);
  return 1;
}

uint16_t QSTR_CALL Q6dzTotz(const uint8_t *src, uint8_t *dst, uint32_t size, uint32_t flags) {
  return TpiQxToQxsioBuff(dst, src, size, flags);
}

uint16_t QSTR_CALL Q6wzTotz(const uint16_t *src, uint8_t *dst, uint32_t size, uint32_t flags) {
  return TpiQxwzToQxsioBuff(dst, src, size, flags);
}
