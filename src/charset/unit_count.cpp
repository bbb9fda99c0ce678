#include "charset/unit_count.h"

#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The block reads below may take in bytes past the terminator, within the
// aligned block that holds it: such a read never leaves the page of the
// terminator, so it cannot fault, but the address and thread sanitizers,
// which check every byte, would call it an error.
#if defined(__GNUC__)
#define QSTR_READS_WHOLE_BLOCKS __attribute__((no_sanitize("address", "thread")))
#else
#define QSTR_READS_WHOLE_BLOCKS
#endif

namespace qstr::charset {

QSTR_READS_WHOLE_BLOCKS uint32_t unitCount(const uint16_t *s, uint32_t limit) {
  std::size_t i = 0;
#if defined(__SSE2__)
  constexpr std::uintptr_t kBlock = sizeof(__m128i);
  // Element by element up to a block boundary; an odd address never
  // reaches one and is read element by element to the end.
  while (i < limit && reinterpret_cast<std::uintptr_t>(s + i) % kBlock != 0) {
    if (s[i] == 0) return static_cast<uint32_t>(i);
    ++i;
  }
  if (reinterpret_cast<std::uintptr_t>(s + i) % kBlock == 0) {
    const __m128i zero = _mm_setzero_si128();
    for (; i < limit; i += kBlock / 2) {
      const __m128i block = _mm_load_si128(reinterpret_cast<const __m128i *>(s + i));
      const unsigned zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(block, zero)));
      if (zeros != 0) {
        i += static_cast<std::size_t>(std::countr_zero(zeros)) / 2;
        break;
      }
    }
    return static_cast<uint32_t>(i < limit ? i : limit);
  }
#endif
  while (i < limit && s[i] != 0) ++i;
  return static_cast<uint32_t>(i);
}

}  // namespace qstr::charset
