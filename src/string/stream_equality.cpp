// Equality of document streams, character by character (functions and
// non-character groups are stepped over), exactly or ignoring case.
#include <cstring>
#include <limits>

#include "charset/stream_grammar.h"
#include "qstr14/charset.h"
#include "qstr14/strings.h"

namespace {

using Position = const uint8_t *;
using qstr::charset::kCharacterGroup;
using qstr::charset::kCharacterGroupLength;

// The same item: equal bytes, and for character groups all four bytes.
bool sameCharacter(Position p, Position q) {
  if (*p != *q) return false;
  return *p != kCharacterGroup || std::memcmp(p, q, kCharacterGroupLength) == 0;
}

struct Walk {
  Position endA = nullptr;  // with endB: stop (equal) once either walk reaches its bound
  Position endB = nullptr;
  int64_t count = std::numeric_limits<int64_t>::max();  // characters still to compare
};

template <bool kIgnoreCase>
int32_t streamsEqual(Position a, Position b, Walk walk) {
  Position p = Q6dstrFirstCh(a);
  Position q = Q6dstrFirstCh(b);
  for (;; --walk.count) {
    if (walk.endA != nullptr && (p >= walk.endA || q >= walk.endB)) return 1;
    if (walk.count <= 0) return 1;
    if (sameCharacter(p, q)) {
      if (*p == 0) return 1;
    } else if (!kIgnoreCase || Q6dstrLowerCh2(p) != Q6dstrLowerCh2(q)) {
      return 0;
    }
    p = Q6dstrNextCh(p);
    q = Q6dstrNextCh(q);
  }
}

Walk bounded(Position a, Position b, uint32_t n) { return Walk{a + n, b + n}; }

Walk counted(int32_t count) {
  Walk walk;
  walk.count = count;
  return walk;
}

}  // namespace

int32_t QSTR_CALL Q6dstrequ(const uint8_t *a, const uint8_t *b) { return streamsEqual<false>(a, b, Walk{}); }

int32_t QSTR_CALL Q6dstrnequ(const uint8_t *a, const uint8_t *b, uint32_t n) {
  return streamsEqual<false>(a, b, bounded(a, b, n));
}

int32_t QSTR_CALL Q6dstrcequ(const uint8_t *a, const uint8_t *b, int32_t count) {
  return streamsEqual<false>(a, b, counted(count));
}

int32_t QSTR_CALL Q6dstriequ(const uint8_t *a, const uint8_t *b) { return streamsEqual<true>(a, b, Walk{}); }

int32_t QSTR_CALL Q6dstrniequ(const uint8_t *a, const uint8_t *b, uint32_t n) {
  return streamsEqual<true>(a, b, bounded(a, b, n));
}

int32_t QSTR_CALL Q6dstrciequ(const uint8_t *a, const uint8_t *b, int32_t count) {
  return streamsEqual<true>(a, b, counted(count));
}
