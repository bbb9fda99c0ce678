// Per-character values of the multi-level comparison: language groups,
// primary values, secondary values and the stepping over marker units.
#pragma once

#include <cstdint>

#include "charset/stream_grammar.h"
#include "collate/tables/language_traits.h"

namespace qstr::collate {

// ---- Language groups (by language number) ----
inline constexpr uint16_t kLanguagePlain = 0;

// The trait flags of a language; numbers past the table have the traits
// kTraitsPastTable gives them (Asian).
inline uint8_t languageTraits(uint16_t language) {
  return language < kLanguageCount ? kLanguageTraits[language] : kTraitsPastTable;
}
inline bool isRightToLeft(uint16_t language) { return languageTraits(language) & kTraitRightToLeft; }
inline bool isAsian(uint16_t language) { return languageTraits(language) & kTraitAsian; }
// Languages that run the contraction machine (only some have rules).
inline bool mayContract(uint16_t language) { return languageTraits(language) & kTraitContracting; }
// Languages in which diacritic 7 of set 1 ranks 9 instead of 6.
inline bool hasLateDiaeresis(uint16_t language) { return languageTraits(language) & kTraitLateDiaeresis; }
// Languages in which upper case sorts before lower case.
inline bool upperBeforeLower(uint16_t language) { return languageTraits(language) & kTraitUpperFirst; }

// ---- Values ----
inline constexpr uint8_t kTabPrimary = 0;
inline constexpr uint16_t kTabMarker = charset::kNativeTab;

// Secondary value of `ch` whose primary value (after a contraction's + 1)
// is `primary`.
uint16_t getDiaValue(uint16_t ch, uint16_t primary, uint16_t language);

// Whether f_wislower calls the character a lower-case letter.
bool isLowerLetter(uint16_t ch);

// ---- Stepping ----
// Units from 0xF900 up other than the tab marker are passed over.
inline bool isMarker(uint16_t unit) { return unit >= 0xF900 && unit != kTabMarker; }

// The start of the string, or the first unit after a run of markers.
inline const uint16_t *colFirstCh(const uint16_t *p) {
  while (isMarker(*p)) ++p;
  return p;
}
// One unit on, then over any markers; never past the terminator.
inline const uint16_t *colNextCh(const uint16_t *p) {
  if (*p == 0) return p;
  return colFirstCh(p + 1);
}
// One counted unit back, passing over markers; never before `start`.
inline const uint16_t *colPrevCh(const uint16_t *start, const uint16_t *p) {
  while (p > start) {
    --p;
    if (!isMarker(*p)) return p;
  }
  return start;
}

}  // namespace qstr::collate
