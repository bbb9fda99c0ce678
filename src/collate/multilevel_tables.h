// The constant tables of the multi-level comparison: the language codes and
// the rule table that drives contractions and language tailoring.
#pragma once

#include <cstdint>

namespace qstr::collate {

// Two-letter codes, indexed by language number.
inline constexpr unsigned kLanguageCount = 40;
extern const char kLanguageCodes[kLanguageCount][2];

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
uint16_t getColRule(uint16_t key, uint16_t row);

}  // namespace qstr::collate
