// wtolower, taking the short road below 0x80: there it changes only
// "A"-"Z", under every country ID. For the loops that lower one character
// after another.
#pragma once

#include <cstdint>

#include "base/ascii.h"
#include "qstr14/asian.h"

namespace qstr::asian {

inline uint16_t lowerQuickly(uint16_t c) { return c < 0x80 ? base::toAsciiLower(c) : wtolower(c); }

}  // namespace qstr::asian
