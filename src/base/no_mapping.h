// The answer of every character table for a code or character it does not
// map: 0xFFFF is neither a native character nor a byte code.
#pragma once

#include <cstdint>

namespace qstr::base {

inline constexpr uint16_t kNoMapping = 0xFFFF;

}  // namespace qstr::base
