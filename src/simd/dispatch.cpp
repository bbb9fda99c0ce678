// The one place that chooses the vector tier: the kernels of the tier that
// vectorIsa() names, picked at the first call and kept for the process. The
// entry points call through the table.
#include "simd/kernels.h"
#include "simd/unit_count.h"

namespace qstr::simd {
namespace {

struct Kernels {
  uint32_t (*unitCount)(const uint16_t *, uint32_t);
  void (*bytesThroughTable)(const uint16_t *, const uint8_t *, uint16_t *, std::size_t);
  std::size_t (*unitsThroughTable)(const LookupTable &, const uint16_t *, uint16_t *, std::size_t, bool);
};

// The plain and SSE2 walks write no differently for long outputs.
template <std::size_t (*walk)(const LookupTable &, const uint16_t *, uint16_t *, std::size_t)>
std::size_t ignoringLength(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count, bool) {
  return walk(table, src, dst, count);
}

Kernels kernelsOf([[maybe_unused]] VectorIsa isa) {
  Kernels chosen{unitCountPlain, bytesThroughTablePlain, ignoringLength<unitsThroughTablePlain>};
#if defined(__SSE2__)
  if (isa >= VectorIsa::Sse2) chosen = {unitCountSse2, bytesThroughTablePlain, ignoringLength<unitsThroughTableSse2>};
#endif
#if QSTR_HAS_AVX512_PATHS
  if (isa >= VectorIsa::Avx512) chosen = {unitCountAvx512, bytesThroughTableAvx512, unitsThroughTableAvx512};
#endif
  return chosen;
}

const Kernels &kernels() {
  static const Kernels chosen = kernelsOf(vectorIsa());
  return chosen;
}

}  // namespace

uint32_t unitCount(const uint16_t *s, uint32_t limit) { return kernels().unitCount(s, limit); }

void bytesThroughTable(const uint16_t table[256], const uint8_t *src, uint16_t *dst, std::size_t count) {
  kernels().bytesThroughTable(table, src, dst, count);
}

std::size_t unitsThroughTable(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count,
                              bool partOfLongOutput) {
  return kernels().unitsThroughTable(table, src, dst, count, partOfLongOutput);
}

}  // namespace qstr::simd
