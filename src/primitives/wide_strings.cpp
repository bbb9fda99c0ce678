// 16-bit string primitives (wwstr...). Every element counts, functions and
// attributes of native strings included; the terminator is the zero element.
#include <cstddef>

#include "qstr14/strings.h"
#include "simd/unit_count.h"

namespace {

std::size_t elementCount(const uint16_t *s) { return qstr::simd::unitCount(s, UINT32_MAX); }

int32_t elementDifference(uint16_t a, uint16_t b) { return static_cast<int32_t>(a) - static_cast<int32_t>(b); }

}  // namespace

uint32_t QSTR_CALL wwstrlen(const uint16_t *s) {
  return s == nullptr ? 0 : static_cast<uint32_t>(2 * elementCount(s));
}

uint16_t *QSTR_CALL wwstrcpy(uint16_t *dst, const uint16_t *src) {
  if (dst == nullptr || src == nullptr) return nullptr;
  uint16_t *out = dst;
  while ((*out++ = *src++) != 0) {
  }
  return dst;
}

uint16_t *QSTR_CALL wwstrcat(uint16_t *dst, const uint16_t *src) {
  if (dst == nullptr || src == nullptr) return nullptr;
  wwstrcpy(dst + elementCount(dst), src);
  return dst;
}

uint16_t *QSTR_CALL wwstrncat(uint16_t *dst, const uint16_t *src, uint32_t n) {
  if (n == 0) return dst;
  uint16_t *out = dst + elementCount(dst);
  for (uint32_t i = 0; i < n; ++i) {
    *out++ = src[i];
    if (src[i] == 0) return dst;
  }
  *out = 0;
  return dst;
}

uint16_t *QSTR_CALL wwstrncpy(uint16_t *dst, const uint16_t *src, uint32_t n) {
  uint32_t i = 0;
  for (; i < n && src[i] != 0; ++i) dst[i] = src[i];
  for (; i < n; ++i) dst[i] = 0;
  return dst;
}

int32_t QSTR_CALL wwstrcmp(const uint16_t *a, const uint16_t *b) {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return elementDifference(*a, *b);
}

int32_t QSTR_CALL wwstrncmp(const uint16_t *a, const uint16_t *b, int32_t n) {
  for (; n >= 2; n -= 2, ++a, ++b) {
    if (*a != *b) return elementDifference(*a, *b);
    if (*a == 0) return 0;
  }
  return 0;
}

uint16_t *QSTR_CALL wwstrchr(const uint16_t *s, uint32_t ch) {
  const uint16_t wanted = static_cast<uint16_t>(ch);
  if (wanted == 0) return nullptr;
  for (; *s != 0; ++s) {
    if (*s == wanted) return const_cast<uint16_t *>(s);
  }
  return nullptr;
}

uint16_t *QSTR_CALL wwstrrchr(const uint16_t *s, uint32_t ch) {
  const uint16_t wanted = static_cast<uint16_t>(ch);
  for (uint32_t i = wwstrlen(s) / 2; i > 0; --i) {
    if (s[i - 1] == wanted) return const_cast<uint16_t *>(s + i - 1);
  }
  return nullptr;
}

uint16_t *QSTR_CALL wwstrstr(const uint16_t *haystack, const uint16_t *needle) {
  if (haystack == nullptr || needle == nullptr || needle[0] == 0) return nullptr;
  for (; *haystack != 0; ++haystack) {
    std::size_t i = 0;
    while (needle[i] != 0 && haystack[i] == needle[i]) ++i;
    if (needle[i] == 0) return const_cast<uint16_t *>(haystack);
  }
  return nullptr;
}
