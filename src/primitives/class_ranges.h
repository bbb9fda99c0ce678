// The class range tables behind Q6wstrIsAlpha and Q6wstrIsSpace.
#pragma once

#include "qstr14/strings.h"

namespace qstr::primitives {

inline constexpr uint16_t kEndOfRanges = 0xFFFF;

// Letters: ASCII letters, the letters of sets 1, 8-11, 13 and 14 (12 ranges
// and the end entry).
extern const QSTR_CLASS_RANGE kLetterRanges[13];
// Spaces: the space of set 0, the line-breaking controls and the native
// space functions (6 ranges and the end entry).
extern const QSTR_CLASS_RANGE kSpaceRanges[7];

}  // namespace qstr::primitives
