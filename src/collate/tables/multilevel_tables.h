// The constant tables of the multi-level comparison: the language codes and
// the rule table that drives contractions and language tailoring.
#pragma once

#include <bitset>
#include <cstdint>

#include "collate/tables/language_traits.h"

namespace qstr::collate {

// The language codes (kLanguageCodes, kLanguageCount) are generated into
// language_traits.h.

// The rule table: three parallel arrays. Row r owns the keys from
// kRuleRowStarts[r] up to kRuleRowStarts[r + 1]. Rows 0-9 drive the
// contraction machine (row 0 keyed by language number, the others by
// lower-cased character; results are the next state); rows 10 and 11 are
// empty; row 12 maps a language number to its tailoring group (13-20); row
// 13 lists the 24 tailored characters, whose values for group g are the
// results (g - 13) * 24 entries further on.
inline constexpr unsigned kRuleRows = 14;
inline constexpr unsigned kTailoredCharacters = 24;
inline constexpr unsigned kTailoringGroups = 8;  // groups 13-20
extern const uint16_t kRuleRowStarts[kRuleRows + 1];
extern const uint16_t kRuleKeys[];
extern const uint16_t kRuleResults[];

// The result of `key` in `row` (rows above 13 read row 13's keys and the
// matrix column of that group), 0 when the key is not in the row or the row
// is past the last group.
// The same answers by a plain search of the rows, from which getColRule's
// index is built (and against which it is tested).
uint16_t getColRuleBySearch(uint16_t key, uint16_t row);

inline constexpr unsigned kRuleIndexRows = kRuleRows - 1 + kTailoringGroups;
// Language numbers, the letters of the pairs and expansions and all but one
// of the tailored characters are below this.
inline constexpr unsigned kRuleSmallKeys = 0x200;

// The rule table indexed, built at load from the same search: every answer
// for the small keys (asked at every character), and the set of all keys
// for an early "no rule" (nearly every character is the key of no row).
struct RuleIndex {
  std::bitset<0x10000> anyRowKey;
  uint16_t smallKeys[kRuleIndexRows][kRuleSmallKeys] = {};
};
extern const RuleIndex kRuleIndex;

inline uint16_t getColRule(uint16_t key, uint16_t row) {
  if (row >= kRuleIndexRows) return 0;
  if (key < kRuleSmallKeys) return kRuleIndex.smallKeys[row][key];
  if (!kRuleIndex.anyRowKey.test(key)) return 0;
  return getColRuleBySearch(key, row);
}

}  // namespace qstr::collate
