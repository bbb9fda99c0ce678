// Table lookups over whole strings: a vector at a time where the processor
// has the instructions for it, an element at a time elsewhere (the kernels
// of simd/kernels.h, chosen once by simd/dispatch.cpp). Both ways give the
// same answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qstr::simd {

// A table of 16-bit values with one spare element after the last, so that
// a vector gather may read four bytes at the last element.
class LookupTable {
 public:
  explicit LookupTable(std::size_t size) : values_(size + 1, 0) {}
  std::size_t size() const { return values_.size() - 1; }
  uint16_t &operator[](std::size_t i) { return values_[i]; }
  uint16_t operator[](std::size_t i) const { return values_[i]; }
  const uint16_t *data() const { return values_.data(); }

 private:
  std::vector<uint16_t> values_;
};

// An output of this many bytes is more than the caches are likely to keep:
// the vector forms write such outputs past them, which spares reading each
// line of the destination in before overwriting it.
inline constexpr std::size_t kStreamingOutputBytes = std::size_t{8} << 20;

// dst[i] = table[src[i]] for every i below `count`. The last elements are
// written first, so `dst` may start at `src`'s own address or after it.
void bytesThroughTable(const uint16_t table[256], const uint8_t *src, uint16_t *dst, std::size_t count);

// dst[i] = table[src[i]] from the first element, up to `count` elements,
// the first element that is not below table.size() or the first whose
// value is 0 (which the caller converts itself); returns the elements
// written. `dst` may be `src`. `partOfLongOutput` says that the output
// belongs to one of at least kStreamingOutputBytes.
std::size_t unitsThroughTable(const LookupTable &table, const uint16_t *src, uint16_t *dst, std::size_t count,
                              bool partOfLongOutput = false);

}  // namespace qstr::simd
