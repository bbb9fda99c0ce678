// -1, 0 or 1 as a difference is below, at or above zero: comparisons answer
// with the sign alone.
#pragma once

namespace qstr::base {

template <typename Number>
constexpr int sign(Number difference) {
  return (difference > 0) - (difference < 0);
}

}  // namespace qstr::base
