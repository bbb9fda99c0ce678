// Ordering of native strings by the sort sequence of the current language,
// character by character (elements of 0xF900 and above are stepped over).
// Each function tailors the sequence on entry; the first character pair
// that xchcmp tells apart decides.
#include <cstddef>
#include <limits>

#include "base/sign.h"
#include "qstr14/charset.h"
#include "qstr14/collate.h"
#include "qstr14/strings.h"

namespace {

using Position = const uint16_t *;

constexpr uint32_t kWithCase = 1;
constexpr uint32_t kIgnoringCase = 0;

using qstr::base::sign;

// After the walk stopped without a difference: the string that ended
// first orders first.
int32_t byTerminators(Position p, Position q) {
  if (*p == 0) return *q == 0 ? 0 : -1;
  return 1;
}

// Counted walk: at most `count` characters.
int32_t orderCounted(Position a, Position b, int64_t count, uint32_t caseFlag) {
  lQstrSetupLang();
  Position p = Q6wstrFirstCh(a);
  Position q = Q6wstrFirstCh(b);
  for (; count > 0; --count) {
    if (*p == 0 || *q == 0) break;
    // Equal elements always compare equal: only differing ones are looked up.
    if (*p != *q) {
      if (const int32_t r = xchcmp(*p, *q, caseFlag); r != 0) return sign(r);
    }
    p = Q6wstrNextCh(p);
    q = Q6wstrNextCh(q);
  }
  if (count == 0) return 0;
  return byTerminators(p, q);
}

// Where the strings' elements first differ, or their common terminator.
// Up to there both walks step through the same elements alike and tell
// nothing apart, so an uncounted walk may start there.
std::size_t commonPrefixLength(Position a, Position b) {
  std::size_t k = 0;
  while (a[k] == b[k] && a[k] != 0) ++k;
  return k;
}

int32_t orderToTheEnd(Position a, Position b, uint32_t caseFlag) {
  const std::size_t k = commonPrefixLength(a, b);
  return orderCounted(a + k, b + k, std::numeric_limits<int64_t>::max(), caseFlag);
}

// Walk inside the first n elements of each string's storage.
int32_t orderBounded(Position a, Position b, uint32_t n, uint32_t caseFlag) {
  lQstrSetupLang();
  const Position endA = a + n;
  const Position endB = b + n;
  Position p = Q6wstrFirstCh(a);
  Position q = Q6wstrFirstCh(b);
  if (p >= endA) return 0;
  do {
    if (*p == 0 || q >= endB || *q == 0) break;
    // Equal elements always compare equal: only differing ones are looked up.
    if (*p != *q) {
      if (const int32_t r = xchcmp(*p, *q, caseFlag); r != 0) return sign(r);
    }
    p = Q6wstrNextCh(p);
    q = Q6wstrNextCh(q);
  } while (p < endA);
  if (p >= endA || q >= endB) return 0;
  return byTerminators(p, q);
}

}  // namespace

int32_t QSTR_CALL Q6wstrcmp(const uint16_t *a, const uint16_t *b) { return orderToTheEnd(a, b, kWithCase); }

int32_t QSTR_CALL Q6wstricmp(const uint16_t *a, const uint16_t *b) { return orderToTheEnd(a, b, kIgnoringCase); }

int32_t QSTR_CALL Q6wstrccmp(const uint16_t *a, const uint16_t *b, int32_t count) {
  return orderCounted(a, b, count, kWithCase);
}

int32_t QSTR_CALL Q6wstrcicmp(const uint16_t *a, const uint16_t *b, int32_t count) {
  return orderCounted(a, b, count, kIgnoringCase);
}

int32_t QSTR_CALL Q6wstrncmp(const uint16_t *a, const uint16_t *b, uint32_t n) {
  return orderBounded(a, b, n, kWithCase);
}

int32_t QSTR_CALL Q6wstrnicmp(const uint16_t *a, const uint16_t *b, uint32_t n) {
  return orderBounded(a, b, n, kIgnoringCase);
}
