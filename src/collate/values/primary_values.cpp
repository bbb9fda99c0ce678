// Primary and case values of the multi-level comparison.
#include "base/ascii.h"
#include "collate/tables/col6_lookup.h"
#include "collate/tables/col6_tables.h"
#include "collate/tables/multilevel_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint16_t kDefaultGroup = 13;
constexpr uint16_t kTailoringRow = 12;

// Sets 1-16 whose code lies in the set's case range of rngchr: even codes
// are upper case, the odd code after each its lower-case partner.
bool inCaseRange(uint16_t ch) {
  const unsigned set = ch >> 8, code = ch & 0xFF;
  if (set < 1 || set > 16) return false;
  const uint8_t *range = rngchr[set - 1];
  return range[1] != 0 && code >= range[0] && code <= range[1];
}

}  // namespace

uint16_t QSTR_CALL f_QX60ColVal(uint32_t ch, uint16_t language) {
  const uint16_t c = static_cast<uint16_t>(ch);
  const bool rtl = isRightToLeft(language);
  if (language != kLanguagePlain && !rtl) {
    uint16_t group = getColRule(language, kTailoringRow);
    if (group == 0) group = kDefaultGroup;
    if (uint16_t tailored = getColRule(c, group)) return tailored;
  }
  if (auto value = searchBlocks(rtl ? kCol6RtlTable : kCol6Table, c)) return *value;
  const unsigned set = c >> 8;
  if (rtl && (set == 9 || set == 13 || set == 14)) return kIgnorable;
  return c == kTabMarker ? kTabPrimary : kNoPrimary;
}

uint32_t QSTR_CALL f_wislower(uint32_t ch) {
  const uint16_t c = static_cast<uint16_t>(ch);
  if (c >> 8 == 0) return qstr::base::isAsciiLower(c) ? 0 : 1;
  if (inCaseRange(c)) return c & 1 ? 0 : 1;
  return (c & 0xFF00u) | 1;
}
