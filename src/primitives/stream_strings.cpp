// Document stream primitives (wdstr...), walked item by item.
#include <cstring>

#include "qstr14/charset.h"
#include "qstr14/strings.h"

uint32_t QSTR_CALL wdstrlen(const uint8_t *s) {
  const uint8_t *p = s;
  while (*p != 0) p += ufsize(p);
  return static_cast<uint32_t>(p - s);
}

uint8_t *QSTR_CALL wdstrcpy(uint8_t *dst, const uint8_t *src) {
  uint8_t *out = dst;
  while (*src != 0) {
    const uint16_t size = ufsize(src);
    std::memcpy(out, src, size);
    out += size;
    src += size;
  }
  *out = 0;
  return dst;
}

uint8_t *QSTR_CALL wdstrcat(uint8_t *dst, const uint8_t *src) {
  wdstrcpy(dst + wdstrlen(dst), src);
  return dst;
}
