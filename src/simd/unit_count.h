// The length of a zero-terminated 16-bit string, read a block at a time.
#pragma once

#include <cstdint>

namespace qstr::simd {

// The elements before the terminator of `s`, and never more than `limit`.
uint32_t unitCount(const uint16_t *s, uint32_t limit);

}  // namespace qstr::simd
