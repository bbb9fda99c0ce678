// Memory block primitives (QXwmem..., QXwhmem...).
#include <cstring>

#include "qstr14/strings.h"

void QSTR_CALL QXwmemmove(void *dst, const void *src, uint32_t n) { std::memcpy(dst, src, n); }

void QSTR_CALL QXwhmemmove(void *dst, const void *src, uint32_t n) {
  if (dst != nullptr && src != nullptr) std::memcpy(dst, src, n);
}

void QSTR_CALL QXwmemcpy(void *dst, const void *src, uint32_t n) {
  if (dst != nullptr && src != nullptr) std::memmove(dst, src, n);
}

// The same function under a second name.
void QSTR_CALL QXwhmemcpy(void *dst, const void *src, uint32_t n) { QXwmemcpy(dst, src, n); }

void QSTR_CALL QXwmemset(void *p, uint32_t value, uint32_t n) { std::memset(p, static_cast<uint8_t>(value), n); }

void QSTR_CALL QXwhmemset(void *p, uint32_t value, uint32_t n) {
  if (p != nullptr) std::memset(p, static_cast<uint8_t>(value), n);
}

int32_t QSTR_CALL QXwmemcmp(const void *a, const void *b, uint32_t n) {
  if (a == nullptr || b == nullptr) return 0;
  return std::memcmp(a, b, n);
}

uint16_t *QSTR_CALL QXwmemwchr(const uint16_t *p, uint32_t ch, uint32_t n) {
  if (p == nullptr) return nullptr;
  const uint16_t wanted = static_cast<uint16_t>(ch);
  for (uint32_t i = 0; i < (n & 0xFFFF); ++i) {
    if (p[i] == wanted) return const_cast<uint16_t *>(p + i);
  }
  return nullptr;
}
