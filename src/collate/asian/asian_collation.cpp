// Collation values of one character for the Asian languages: kana in
// syllabary order with their forms as secondary differences, widths and
// kana kinds as flags only, iteration and prolonged sound marks from the
// previous character, large character sets by code.
#include "collate/tables/asian_collation_tables.h"
#include "collate/tables/col6_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint16_t kNoValue = 0xFFFF;
constexpr uint16_t kGiven = 1, kMerged = 2, kNone = 0;
constexpr uint8_t kFlagKatakana = 1;  // also: not lower case, or case ignored
constexpr uint8_t kFlagWidened = 2;   // changed in width before the values were taken
constexpr unsigned kHalfWidthSet = 0x0B, kFirstLargeSet = 0x2B;
constexpr uint16_t kFirstDoubleWidth = 0x2400;
constexpr uint16_t kFirstKana = 0x255E, kLastKana = 0x2655;
constexpr uint16_t kKanaBase = 0x0100;
constexpr uint16_t kLargeSetOffset = 0x2900;

struct Result {
  uint16_t status = kGiven;
  uint16_t primary = 0;
  uint16_t secondary = 0;
  uint8_t flags = 0;
};

unsigned setOf(uint16_t ch) { return ch >> 8; }
uint8_t codeOf(uint16_t ch) { return ch & 0xFF; }

bool isKanaPrimary(uint16_t primary) {
  return primary >= kKanaBase && primary < kKanaBase + kKanaPrimaryCount;
}

void noValue(Result &r, uint16_t secondary) {
  r.status = kNone;
  r.primary = kNoValue;
  r.secondary = secondary;
}

// Single-width characters: the untailored version-6 values.
void latinRule(Result &r, uint16_t ch, bool caseInsensitive) {
  const bool lower = isLowerLetter(ch);
  if (caseInsensitive || !lower) r.flags |= kFlagKatakana;
  const uint16_t primary = f_QX60ColVal(ch, 0);
  if (primary == kNoPrimary) return noValue(r, lower ? ch - 1 : ch);
  r.primary = primary;
  // Letters of sets 1, 8 and 10: the diacritic rank or the letter's code,
  // as the plain order gives them.
  r.secondary = getDiaValue(ch, primary, kLanguagePlain);
}

// Hiragana (set 0x25 from 0x5E) and katakana (set 0x26).
void kanaRule(Result &r, uint16_t ch) {
  if (setOf(ch) == 0x26) r.flags |= kFlagKatakana;
  const unsigned index = setOf(ch) == 0x25 ? codeOf(ch) - 0x5E : codeOf(ch);
  if (index >= kKanaCount) return noValue(r, ch);  // past the syllabary: no value
  r.primary = kKanaBase + kKanaPrimary[index];
  r.secondary = kKanaSecondary[index];
}

// Double-width characters without a single-width partner: symbols, then
// the marks that repeat or lengthen the previous kana.
void symbolRule(Result &r, uint16_t ch, uint16_t previous) {
  const uint8_t code = codeOf(ch);
  for (unsigned i = 0; i < kAsianSymbolCount; ++i) {
    if (kAsianSymbols[i].code != code || kAsianSymbols[i].primary == 0) continue;
    r.primary = kAsianSymbols[i].primary;
    r.secondary = r.primary < 0x100 ? static_cast<uint16_t>(i + 1) : 0;
    return;
  }
  const bool afterKana = isKanaPrimary(previous);
  if ((code == 0x12 || code == 0x14) && afterKana) {
    r.primary = previous;  // iteration mark
    r.secondary = 1;
  } else if ((code == 0x13 || code == 0x15) && afterKana) {
    r.primary = previous;  // voiced iteration mark
    r.secondary = 3;
  } else if (code == 0x1B && afterKana) {
    r.primary = kKanaBase + kKanaVowel[previous - kKanaBase];  // prolonged sound mark
    r.secondary = 1;
  } else if (code == 0x18) {
    r.primary = previous;  // ideographic repeat mark, whatever came before
  } else {
    noValue(r, ch);
  }
}

Result asianValues(uint16_t ch, uint16_t next, uint16_t previous, bool caseInsensitive) {
  Result r;
  if (setOf(ch) >= kFirstLargeSet) {
    r.primary = ch == kTabMarker ? 0 : static_cast<uint16_t>(ch - kLargeSetOffset);
    return r;
  }
  if (setOf(ch) < kHalfWidthSet) {
    latinRule(r, ch, caseInsensitive);
    return r;
  }
  if (setOf(ch) == kHalfWidthSet) {
    ch = wtodouble(ch, &next);  // merges a following voiced or semi-voiced mark
    if (next == 0) r.status = kMerged;
    r.flags = kFlagWidened;
  }
  if (ch < kFirstDoubleWidth) {
    latinRule(r, ch, caseInsensitive);
  } else if (ch >= kFirstKana && ch <= kLastKana) {
    kanaRule(r, ch);
  } else {
    uint16_t mark = 0;
    const uint16_t single = wtosingle(ch, &mark);
    if (setOf(single) < kHalfWidthSet) {
      r.flags |= kFlagWidened;
      latinRule(r, single, caseInsensitive);
    } else {
      symbolRule(r, ch, previous);
    }
  }
  return r;
}

}  // namespace

uint16_t QSTR_CALL AsiaGetColValues(uint32_t ch, uint32_t next, uint16_t previousPrimary, uint16_t *primary,
                                    uint16_t *secondary, uint8_t *flags, uint32_t caseInsensitive) {
  const Result r = asianValues(static_cast<uint16_t>(ch), static_cast<uint16_t>(next), previousPrimary,
                               caseInsensitive != 0);
  *primary = r.primary;
  *secondary = r.secondary;
  *flags = r.flags;
  return r.status;
}
