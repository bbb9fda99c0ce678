// The kernels of every instruction-set tier, each with the signature of the
// entry point it serves (simd/unit_count.h, simd/table_lookup.h). A tier's
// kernel handles every input: where its vectors cannot (an odd address, an
// overlap they would overwrite) it hands over to a lower tier's. The plain
// kernels are what the vector ones must match, and the tests compare them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "simd/dispatch.h"
#include "simd/table_lookup.h"

namespace qstr::simd {

uint32_t unitCountPlain(const uint16_t *s, uint32_t limit);
void bytesThroughTablePlain(const uint16_t table[256], const uint8_t *src, uint16_t *dst, std::size_t count);
std::size_t unitsThroughTablePlain(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count);

#if defined(__SSE2__)
uint32_t unitCountSse2(const uint16_t *s, uint32_t limit);
std::size_t unitsThroughTableSse2(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count);
#endif

#if QSTR_HAS_AVX512_PATHS
uint32_t unitCountAvx512(const uint16_t *s, uint32_t limit);
void bytesThroughTableAvx512(const uint16_t table[256], const uint8_t *src, uint16_t *dst, std::size_t count);
std::size_t unitsThroughTableAvx512(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count,
                                    bool partOfLongOutput);
#endif

}  // namespace qstr::simd
