// Case-insensitive compares of byte strings and 16-bit strings: each unit
// folded with wtoupper, the difference of the folded units at the stop.
#include "qstr14/asian.h"
#include "qstr14/strings.h"

namespace {

int32_t difference(uint16_t a, uint16_t b) { return static_cast<int32_t>(a) - static_cast<int32_t>(b); }

// A byte is the set 0 character with that code.
uint16_t foldedByte(char c) { return wtoupper(static_cast<uint8_t>(c)); }

}  // namespace

int32_t QSTR_CALL wstricmp(const char *a, const char *b) {
  for (;; ++a, ++b) {
    const uint16_t x = foldedByte(*a);
    const uint16_t y = foldedByte(*b);
    if (x != y || *a == '\0') return difference(x, y);
  }
}

int32_t QSTR_CALL wwstricmp(const uint16_t *a, const uint16_t *b) {
  for (;; ++a, ++b) {
    const uint16_t x = wtoupper(*a);
    const uint16_t y = wtoupper(*b);
    if (x != y || *a == 0 || *b == 0) return difference(x, y);
  }
}

int32_t QSTR_CALL wwstrincmp(const uint16_t *a, const uint16_t *b, int32_t n) {
  // Each element takes 2 of the byte count; an odd count stops when fewer
  // than 2 remain, as if rounded down.
  for (; n >= 2; n -= 2, ++a, ++b) {
    const uint16_t x = wtoupper(*a);
    const uint16_t y = wtoupper(*b);
    if (x != y || *a == 0 || *b == 0) return difference(x, y);
  }
  return 0;
}
