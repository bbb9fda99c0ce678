// The length scans of every tier: element by element, SSE2 blocks and
// AVX-512 blocks. simd/dispatch.cpp chooses among them.
#include <bit>
#include <cstddef>

#include "simd/kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if QSTR_HAS_AVX512_PATHS
#include <immintrin.h>
#endif

// The block reads below may take in bytes past the terminator (and, with
// AVX-512, before the first element), within the aligned block that holds
// them: such a read never leaves a page the string lies on, so it cannot
// fault, but the address and thread sanitizers, which check every byte,
// would call it an error.
#if defined(__GNUC__)
#define QSTR_READS_WHOLE_BLOCKS __attribute__((no_sanitize("address", "thread")))
#else
#define QSTR_READS_WHOLE_BLOCKS
#endif

namespace qstr::simd {

uint32_t unitCountPlain(const uint16_t *s, uint32_t limit) {
  uint32_t i = 0;
  while (i < limit && s[i] != 0) ++i;
  return i;
}

#if QSTR_HAS_AVX512_PATHS
namespace {

// Aligned 64-byte blocks from the one holding the first element; the
// zeros found before the string's start are shifted out. An even address
// is needed so that elements do not straddle blocks.
QSTR_READS_WHOLE_BLOCKS QSTR_TARGET_AVX512 uint32_t unitCountInBlocks(const uint16_t *s, uint32_t limit) {
  constexpr std::uintptr_t kBlock = sizeof(__m512i);
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(s);
  const auto *block = reinterpret_cast<const __m512i *>(address - address % kBlock);
  const unsigned before = static_cast<unsigned>(address % kBlock) / 2;
  const __m512i first = _mm512_load_si512(block);
  uint32_t zeros = _mm512_testn_epi16_mask(first, first) >> before;
  std::size_t i = 0;
  for (std::size_t next = kBlock / 2 - before; zeros == 0 && next < limit; next += kBlock / 2) {
    ++block;
    const __m512i units = _mm512_load_si512(block);
    zeros = _mm512_testn_epi16_mask(units, units);
    i = next;
  }
  if (zeros == 0) return limit;
  i += static_cast<std::size_t>(std::countr_zero(zeros));
  return static_cast<uint32_t>(i < limit ? i : limit);
}

}  // namespace

// Most strings are words and lines: they end within the first elements,
// which the SSE2 scan reads without the start-up cost of 512-bit blocks.
// Only a string that runs past them is scanned on in 512-bit blocks.
uint32_t unitCountAvx512(const uint16_t *s, uint32_t limit) {
  constexpr uint32_t kShortString = 128;
  const uint32_t head = limit < kShortString ? limit : kShortString;
  const uint32_t counted = unitCountSse2(s, head);
  if (counted < head || head == limit) return counted;
  const uint16_t *rest = s + head;
  if (reinterpret_cast<std::uintptr_t>(rest) % 2 != 0) return head + unitCountSse2(rest, limit - head);
  return head + unitCountInBlocks(rest, limit - head);
}
#endif

#if defined(__SSE2__)

// Element by element up to a 16-byte boundary, then aligned blocks; an odd
// address never reaches a boundary and is read element by element to the
// end.
QSTR_READS_WHOLE_BLOCKS uint32_t unitCountSse2(const uint16_t *s, uint32_t limit) {
  constexpr std::uintptr_t kBlock = sizeof(__m128i);
  std::size_t i = 0;
  while (i < limit && reinterpret_cast<std::uintptr_t>(s + i) % kBlock != 0) {
    if (s[i] == 0) return static_cast<uint32_t>(i);
    ++i;
  }
  if (reinterpret_cast<std::uintptr_t>(s + i) % kBlock != 0) return static_cast<uint32_t>(i);
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

}  // namespace qstr::simd
