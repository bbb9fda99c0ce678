// Counting and searching in native strings. Q6wstrchrcnt and Q6wstrstr see
// characters only (they step with Q6wstrFirstCh/Q6wstrNextCh, so elements
// of 0xF900 and above are invisible); Q6wstrdelim looks at every element.
#include "qstr14/charset.h"
#include "qstr14/strings.h"

uint32_t QSTR_CALL Q6wstrchrcnt(const uint16_t *s) {
  uint32_t count = 0;
  for (const uint16_t *p = Q6wstrFirstCh(s); *p != 0; p = Q6wstrNextCh(p)) ++count;
  return count;
}

uint16_t *QSTR_CALL Q6wstrstr(const uint16_t *haystack, const uint16_t *needle) {
  const uint16_t *p = Q6wstrFirstCh(haystack);
  const uint16_t *firstOfNeedle = Q6wstrFirstCh(needle);
  if (*p == 0 || *firstOfNeedle == 0) return nullptr;
  const uint16_t *q = firstOfNeedle;
  const uint16_t *start = nullptr;
  while (*q != 0) {
    if (*q == *p) {
      if (start == nullptr) start = p;
      p = Q6wstrNextCh(p);
      q = Q6wstrNextCh(q);
      continue;
    }
    if (*p == 0) return nullptr;
    // Restart at the character after the previous candidate.
    q = firstOfNeedle;
    if (start != nullptr) p = start;
    p = Q6wstrNextCh(p);
    start = nullptr;
  }
  return const_cast<uint16_t *>(start);
}

uint16_t *QSTR_CALL Q6wstrdelim(const uint16_t *s, const uint16_t *delimiters) {
  for (; *s != 0; ++s) {
    for (const uint16_t *d = delimiters; *d != 0; ++d) {
      if (*s == *d) return const_cast<uint16_t *>(s);
    }
  }
  return const_cast<uint16_t *>(s);
}
