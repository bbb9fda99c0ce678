// Equality of native strings, character by character (elements of 0xF900
// and above are stepped over), exactly or ignoring case.
#include "qstr14/charset.h"
#include "qstr14/strings.h"

namespace {

using Position = const uint16_t *;

bool exactlyEqual(uint16_t x, uint16_t y) { return x == y; }

bool equalIgnoringCase(uint16_t x, uint16_t y) { return x == y || Q6wstrLowerCh(x) == Q6wstrLowerCh(y); }

void stepBoth(Position &p, Position &q) {
  p = Q6wstrNextCh(p);
  q = Q6wstrNextCh(q);
}

template <typename Equal>
int32_t equalToTheEnd(Position a, Position b, Equal equal) {
  Position p = Q6wstrFirstCh(a);
  Position q = Q6wstrFirstCh(b);
  for (;; stepBoth(p, q)) {
    if (!equal(*p, *q)) return 0;
    if (*p == 0) return 1;
  }
}

}  // namespace

int32_t QSTR_CALL Q6wstrequ(const uint16_t *a, const uint16_t *b) { return equalToTheEnd(a, b, exactlyEqual); }

int32_t QSTR_CALL Q6wstriequ(const uint16_t *a, const uint16_t *b) { return equalToTheEnd(a, b, equalIgnoringCase); }

int32_t QSTR_CALL Q6wstrnequ(const uint16_t *a, const uint16_t *b, uint32_t n) {
  const Position endA = a + n;
  const Position endB = b + n;
  uint32_t left = n;
  Position p = Q6wstrFirstCh(a);
  Position q = Q6wstrFirstCh(b);
  for (; p < endA; stepBoth(p, q)) {
    if (q >= endB) return 0;
    --left;
    if (*p != *q) return 0;
    if (*p == 0 || left == 0) return 1;
  }
  // The storage bound came before n characters were compared.
  return 0;
}

int32_t QSTR_CALL Q6wstrniequ(const uint16_t *a, const uint16_t *b, uint32_t n) {
  const Position endA = a + n;
  const Position endB = b + n;
  Position p = Q6wstrFirstCh(a);
  Position q = Q6wstrFirstCh(b);
  if (p >= endA || q >= endB) return 0;
  for (;;) {
    if (q >= endB) return 1;
    if (!equalIgnoringCase(*p, *q)) return 0;
    if (*p == 0) return 1;
    stepBoth(p, q);
    if (p >= endA) return 1;
  }
}
