// The contraction machine of the multi-level comparison: two-letter
// contractions ("ch", "ll") and one-letter expansions ("ae" from its
// ligature, "ss" from sharp s, "ij" from its ligature), driven by rows 0-9
// of the rule table.
#pragma once

#include <cstdint>

#include "asian/quick_lower.h"
#include "collate/tables/multilevel_tables.h"

namespace qstr::collate {

// The machine's states: rows of the rule table up to kLastRowState, actions
// (pairs, then expansions) up to kLastActionState; any other state stops it.
inline constexpr uint16_t kLastRowState = 11;
inline constexpr uint16_t kFirstPairState = 12, kLastPairState = 14;
inline constexpr uint16_t kLastActionState = 18;

// Marks a held-back character that only says "add 1 to the primary value":
// the second letter of a contracted pair.
inline constexpr uint16_t kPairMark = 0x80;

// Runs the machine on the current character `ch`, the string continuing at
// `pos` (the position after `ch`), for `language`. On a contraction `ch`
// becomes the pair's letter, `pos` moves past the pair's second letter, and
// the result is the last character looked up with kPairMark set. On an
// expansion `ch` becomes the first letter and the result is the second
// letter (`pos` stays). Otherwise nothing changes and the result is 0.
uint16_t getContraction(uint16_t &ch, const uint16_t *&pos, uint16_t language);

// False when getContraction leaves `ch` alone whatever follows it: the
// character leads the language's machine to no row or action.
bool mayStartContraction(uint16_t ch, uint16_t language);

// The row the machine moves to on `ch` as the first character, when it goes
// on to read the next character; 0 when `ch` alone decides.
uint8_t rowAfterFirst(uint16_t ch, uint16_t language);

// Whether the machine, in `row` after the first character, stops without
// acting on the next character `next`: getContraction then leaves the
// first character alone.
inline bool stopsWithoutActing(uint16_t row, uint16_t next) {
  const uint16_t state = getColRule(qstr::asian::lowerQuickly(next), row);
  return state == 0 || state > kLastActionState;
}

// Whether the machine, in `row` after the first character, makes a pair of
// it and `next` (reading nothing further).
inline bool makesPair(uint16_t row, uint16_t next) {
  const uint16_t state = getColRule(qstr::asian::lowerQuickly(next), row);
  return state >= kFirstPairState && state <= kLastPairState;
}

}  // namespace qstr::collate

namespace qstr::collate {

// Whether the second letter of one of the language's pairs can itself start
// a pair ("ll" followed by "l"): the comparison then pairs the letters of
// two strings that are identical at a pair differently from how it pairs
// them in each string alone.
bool pairLetterMayStartPair(uint16_t language);

}  // namespace qstr::collate
