// Lowering below 0x80 without the class tables: wtolower's answer for
// those characters under every country ID (only "A"-"Z" change there), for
// the loops that lower one character after another.
#pragma once

#include <cstdint>

#include "qstr14/asian.h"

namespace qstr::asian {

inline uint16_t lowerAsciiOnly(uint16_t c) { return c >= 'A' && c <= 'Z' ? static_cast<uint16_t>(c + ('a' - 'A')) : c; }

// wtolower, taking the short road below 0x80.
inline uint16_t lowerQuickly(uint16_t c) { return c < 0x80 ? lowerAsciiOnly(c) : wtolower(c); }

}  // namespace qstr::asian
