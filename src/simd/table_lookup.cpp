// Table lookups over whole strings, element by element and with AVX-512.
// simd/dispatch.cpp chooses between them.
#include <array>
#include <cstdint>

#include "simd/kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if QSTR_HAS_AVX512_PATHS
#include <immintrin.h>
#endif

namespace qstr::simd {

void bytesThroughTablePlain(const uint16_t table[256], const uint8_t *src, uint16_t *dst, std::size_t count) {
  std::size_t i = count;
  for (; i >= 4; i -= 4) {  // four at a time, still last to first
    dst[i - 1] = table[src[i - 1]];
    dst[i - 2] = table[src[i - 2]];
    dst[i - 3] = table[src[i - 3]];
    dst[i - 4] = table[src[i - 4]];
  }
  for (; i > 0; --i) dst[i - 1] = table[src[i - 1]];
}

std::size_t unitsThroughTablePlain(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count) {
  const std::size_t size = table.size();
  const uint16_t *values = table.data();
  std::size_t i = 0;
  // Eight at a time while all eight are in the table and none has the
  // value 0: one test for the eight (the table sizes in use are powers of
  // two).
  if ((size & (size - 1)) == 0) {
    for (; i + 8 <= count; i += 8) {
      unsigned all = 0;
      for (std::size_t j = 0; j < 8; ++j) all |= src[i + j];
      if (all >= size) break;
      uint16_t found[8];
      bool anyZero = false;
      for (std::size_t j = 0; j < 8; ++j) {
        found[j] = values[src[i + j]];
        anyZero |= found[j] == 0;
      }
      if (anyZero) break;
      for (std::size_t j = 0; j < 8; ++j) dst[i + j] = found[j];
    }
  }
  for (; i < count && src[i] < size && values[src[i]] != 0; ++i) dst[i] = values[src[i]];
  return i;
}

#if defined(__SSE2__)
// Eight at a time: the eight elements tested against the table's size in
// one compare, their values read one by one into a vector, tested for 0 in
// one compare and stored at once. Ends as the plain walk does.
std::size_t unitsThroughTableSse2(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count) {
  const uint16_t *values = table.data();
  // An element e is in the table when e - (size - 1), saturated at 0, is 0.
  const __m128i last = _mm_set1_epi16(static_cast<short>(table.size() - 1));
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = 0;
  if (table.size() <= 0x10000) {
    for (; i + 8 <= count; i += 8) {
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(units, last), zero)) != 0xFFFF) break;
      const __m128i found = _mm_setr_epi16(
          static_cast<short>(values[src[i]]), static_cast<short>(values[src[i + 1]]),
          static_cast<short>(values[src[i + 2]]), static_cast<short>(values[src[i + 3]]),
          static_cast<short>(values[src[i + 4]]), static_cast<short>(values[src[i + 5]]),
          static_cast<short>(values[src[i + 6]]), static_cast<short>(values[src[i + 7]]));
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(found, zero)) != 0) break;
      _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), found);
    }
  }
  return i + unitsThroughTablePlain(table, src + i, dst + i, count - i);
}
#endif

#if QSTR_HAS_AVX512_PATHS
namespace {

// Byte permute indexes: the even (low) or odd (high) bytes of two vectors
// of 16-bit values, and the interleaving of a low-byte and a high-byte
// vector back into 16-bit values (first or second half).
constexpr std::array<uint8_t, 64> bytePicks(unsigned first, unsigned step) {
  std::array<uint8_t, 64> picks{};
  for (unsigned k = 0; k < 64; ++k) picks[k] = static_cast<uint8_t>(first + step * k);
  return picks;
}
constexpr std::array<uint8_t, 64> interleaving(unsigned firstElement) {
  std::array<uint8_t, 64> picks{};
  for (unsigned k = 0; k < 32; ++k) {
    picks[2 * k] = static_cast<uint8_t>(firstElement + k);
    picks[2 * k + 1] = static_cast<uint8_t>(64 + firstElement + k);
  }
  return picks;
}
alignas(64) constexpr std::array<uint8_t, 64> kLowBytes = bytePicks(0, 2);
alignas(64) constexpr std::array<uint8_t, 64> kHighBytes = bytePicks(1, 2);
alignas(64) constexpr std::array<uint8_t, 64> kFirstHalf = interleaving(0);
alignas(64) constexpr std::array<uint8_t, 64> kSecondHalf = interleaving(32);

// A 256-entry table of 16-bit values held as two byte planes, each in four
// vectors of 64 entries, and the permutes that interleave them again.
struct BytePlanes {
  __m512i low[4];
  __m512i high[4];
  __m512i firstHalf;
  __m512i secondHalf;
};

QSTR_TARGET_AVX512 inline __m512i loadPicks(const std::array<uint8_t, 64> &picks) {
  return _mm512_load_si512(picks.data());
}

QSTR_TARGET_AVX512 BytePlanes splitTable(const uint16_t table[256]) {
  BytePlanes planes;
  const __m512i lowBytes = loadPicks(kLowBytes), highBytes = loadPicks(kHighBytes);
  for (int v = 0; v < 4; ++v) {
    const __m512i first = _mm512_loadu_si512(table + 64 * v);
    const __m512i second = _mm512_loadu_si512(table + 64 * v + 32);
    planes.low[v] = _mm512_permutex2var_epi8(first, lowBytes, second);
    planes.high[v] = _mm512_permutex2var_epi8(first, highBytes, second);
  }
  planes.firstHalf = loadPicks(kFirstHalf);
  planes.secondHalf = loadPicks(kSecondHalf);
  return planes;
}

// One plane looked up for 64 bytes: bit 6 of a byte picks between the two
// vectors of each pair, bit 7 between the pairs.
QSTR_TARGET_AVX512 inline __m512i lookUpPlane(const __m512i plane[4], __m512i bytes, __mmask64 upperHalf) {
  const __m512i lower = _mm512_permutex2var_epi8(plane[0], bytes, plane[1]);
  const __m512i upper = _mm512_permutex2var_epi8(plane[2], bytes, plane[3]);
  return _mm512_mask_blend_epi8(upperHalf, lower, upper);
}

// The 16-bit values of 64 bytes, as two vectors of 32.
struct Values64 {
  __m512i first;
  __m512i second;
};

QSTR_TARGET_AVX512 inline Values64 lookUpBlock(const BytePlanes &planes, __m512i bytes) {
  const __mmask64 upperHalf = _mm512_movepi8_mask(bytes);
  const __m512i low = lookUpPlane(planes.low, bytes, upperHalf);
  const __m512i high = lookUpPlane(planes.high, bytes, upperHalf);
  return {_mm512_permutex2var_epi8(low, planes.firstHalf, high),
          _mm512_permutex2var_epi8(low, planes.secondHalf, high)};
}

// Up to 64 bytes at src converted into dst; `present` marks the elements.
QSTR_TARGET_AVX512 inline void convertBlock(const BytePlanes &planes, const uint8_t *src, uint16_t *dst,
                                            __mmask64 present) {
  const Values64 values = lookUpBlock(planes, _mm512_maskz_loadu_epi8(present, src));
  _mm512_mask_storeu_epi16(dst, static_cast<__mmask32>(present), values.first);
  _mm512_mask_storeu_epi16(dst + 32, static_cast<__mmask32>(present >> 32), values.second);
}

// 64 bytes converted into a destination on a 64-byte boundary, written past
// the caches.
QSTR_TARGET_AVX512 inline void streamBlock(const BytePlanes &planes, const uint8_t *src, uint16_t *dst) {
  const Values64 values = lookUpBlock(planes, _mm512_loadu_si512(src));
  _mm512_stream_si512(reinterpret_cast<__m512i *>(dst), values.first);
  _mm512_stream_si512(reinterpret_cast<__m512i *>(dst + 32), values.second);
}

inline __mmask64 firstElements(std::size_t count) { return count == 0 ? 0 : ~__mmask64{0} >> (64 - count); }

// Blocks of 64 from the last: each block is read whole before any of it is
// written, and a block's output lies at or after its own bytes and so past
// every block still to be read.
QSTR_TARGET_AVX512 void bytesThroughTableInBlocks(const uint16_t table[256], const uint8_t *src, uint16_t *dst,
                                                  std::size_t count) {
  const BytePlanes planes = splitTable(table);
  std::size_t i = count;
  const auto end = reinterpret_cast<std::uintptr_t>(dst + count);
  if (2 * count >= kStreamingOutputBytes && end % 2 == 0) {
    // The elements after the output's last 64-byte boundary first, then
    // whole lines.
    const std::size_t aligned = i - end % 64 / 2;
    convertBlock(planes, src + aligned, dst + aligned, firstElements(i - aligned));
    for (i = aligned; i >= 64; i -= 64) streamBlock(planes, src + i - 64, dst + i - 64);
    _mm_sfence();
  }
  for (; i >= 64; i -= 64) convertBlock(planes, src + i - 64, dst + i - 64, ~__mmask64{0});
  if (i > 0) convertBlock(planes, src, dst, firstElements(i));
}

// Sixteen elements at a time: widened to 32 bits, gathered from the table
// (four bytes at each element, which the spare element makes safe) and
// narrowed again. A streamed output is written element by element up to a
// 32-byte boundary, then a line at a time past the caches.
QSTR_TARGET_AVX512 std::size_t unitsThroughTableInBlocks(const LookupTable &table, const uint16_t *src, uint16_t *dst,
                                                         std::size_t count, bool streamed) {
  // The zero-masked forms of the conversions and the gather, with every
  // element selected, are the plain ones without an undefined start value.
  constexpr __mmask16 kAll = 0xFFFF;
  constexpr std::uintptr_t kLine = sizeof(__m256i);
  std::size_t i = 0;
  if (streamed) {
    const auto misalignment = reinterpret_cast<std::uintptr_t>(dst) % kLine;
    if (misalignment % 2 != 0) streamed = false;
    const std::size_t head = streamed && misalignment != 0 ? (kLine - misalignment) / 2 : 0;
    i = unitsThroughTablePlain(table, src, dst, head < count ? head : count);
    if (i < head) return i;
  }
  const __m512i size = _mm512_set1_epi32(static_cast<int>(table.size()));
  const int *values = reinterpret_cast<const int *>(table.data());
  for (; i + 16 <= count; i += 16) {
    const __m256i loaded = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(src + i));
    const __m512i units = _mm512_maskz_cvtepu16_epi32(kAll, loaded);
    if (_mm512_cmpge_epu32_mask(units, size) != 0) break;
    const __m512i found = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), kAll, units, values, 2);
    const __m256i narrowed = _mm512_maskz_cvtepi32_epi16(kAll, found);
    if (_mm256_testn_epi16_mask(narrowed, narrowed) != 0) break;
    if (streamed) {
      _mm256_stream_si256(reinterpret_cast<__m256i *>(dst + i), narrowed);
    } else {
      _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i), narrowed);
    }
  }
  if (streamed) _mm_sfence();
  return i + unitsThroughTablePlain(table, src + i, dst + i, count - i);
}

}  // namespace

// The vector form reads 64 bytes before writing them, which is safe for a
// destination at or after the source, or apart from it. Loading the table
// into the vector registers costs what the plain walk spends on about a
// hundred bytes, so shorter strings (words, lines) take the plain walk.
constexpr std::size_t kBytesWorthVectors = 128;
constexpr std::size_t kUnitsWorthVectors = 128;

void bytesThroughTableAvx512(const uint16_t table[256], const uint8_t *src, uint16_t *dst, std::size_t count) {
  const auto from = reinterpret_cast<std::uintptr_t>(src), to = reinterpret_cast<std::uintptr_t>(dst);
  if (count >= kBytesWorthVectors && (to >= from || to + 2 * count <= from)) {
    bytesThroughTableInBlocks(table, src, dst, count);
  } else {
    bytesThroughTablePlain(table, src, dst, count);
  }
}

// Gathers pay off on longer strings only, as the byte permutes do.
std::size_t unitsThroughTableAvx512(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count,
                                    bool partOfLongOutput) {
  if (count < kUnitsWorthVectors) return unitsThroughTableSse2(table, src, dst, count);
  return unitsThroughTableInBlocks(table, src, dst, count, partOfLongOutput);
}
#endif

}  // namespace qstr::simd
