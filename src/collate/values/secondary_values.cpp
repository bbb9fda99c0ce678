// Secondary values of the multi-level comparison: diacritic ranks, letter
// codes, and the tables of the Arabic-script sets.
#include "collate/tables/col6_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint8_t kAlefPrimary = 199;

bool rtlMask14Bit(uint8_t code) {
  if (code < kRtlMask14First || code > kRtlMask14Last) return false;
  return kRtlMask14[(code - kRtlMask14First) / 8] & (0x80 >> (code % 8));
}

uint16_t setOneSecondary(uint16_t upper, uint16_t language) {
  uint16_t base = 0, diacritic = 0;
  if (QxCh6Brkcar(upper, &base, &diacritic) != 0) return upper;
  const uint8_t mark = static_cast<uint8_t>(diacritic);
  if (mark == 7 && hasLateDiaeresis(language)) return 9;
  return mark < sizeof kDiacriticRank6 ? kDiacriticRank6[mark] : upper;
}

uint16_t setThirteenSecondary(uint16_t ch, uint16_t primary) {
  const uint8_t code = ch & 0xFF;
  if (code < 0x2F) return 0;
  if (primary == kAlefPrimary) {
    // The generator keeps the alef value to codes up to the table's end.
    const unsigned index = code - kRtlSecondary13First;
    return code >= kRtlSecondary13First && index < sizeof kRtlSecondary13 ? kRtlSecondary13[index] : 7;
  }
  if (code >= 0xB5) return ch;
  return code == 0x40 ? 8 : 0;
}

}  // namespace

namespace qstr::collate {

bool isLowerLetter(uint16_t ch) { return (f_wislower(ch) & 0xFF) == 0; }

uint16_t getDiaValue(uint16_t ch, uint16_t primary, uint16_t language) {
  const bool lower = isLowerLetter(ch);
  if (primary == kNoPrimary) return lower ? ch & ~1u : ch;
  if (primary == kIgnorable) return ch == 0x0DC2 || ch == 0x0DC3 ? 0 : static_cast<uint16_t>(ch + 0x8000);
  const uint16_t upper = lower ? ch & ~1u : ch;
  switch (ch >> 8) {
    case 0: return 0;
    case 1: return setOneSecondary(upper, language);
    case 8: return upper >= 0x0834 || upper == 0x0804 || upper == 0x0826 ? upper : 0;
    case 9: return upper >= 0x0954 ? upper : 0;
    case 10: return upper >= 0x0A90 ? upper : 0;
    case 13: return setThirteenSecondary(ch, primary);
    case 14: return rtlMask14Bit(ch & 0xFF) ? ch : 0;
    default: return 0;
  }
}

}  // namespace qstr::collate
