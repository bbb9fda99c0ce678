// Collation values one position at a time, for callers that build their own
// sort keys.
#include "collate/multilevel/contraction.h"
#include "collate/tables/col6_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint16_t kEnd = 0, kIgnorableStatus = 0, kValues = 2;

uint8_t caseByte(uint16_t ch) { return f_wislower(ch) & 0xFF; }

uint16_t asianPosition(const uint16_t **pp, uint8_t *primary, uint16_t *secondary, uint8_t *flags,
                       uint16_t ch, uint16_t caseFlag, uint16_t previousPrimary) {
  uint16_t value = 0;
  const uint16_t status =
      AsiaGetColValues(ch, **pp, previousPrimary, &value, secondary, flags, caseFlag == 0 ? 1 : 0);
  // A merged mark is used up; the terminator never is.
  if (status == 2 && **pp != 0) ++*pp;
  primary[0] = static_cast<uint8_t>(value >> 8);
  primary[1] = static_cast<uint8_t>(value);
  return kValues;
}

}  // namespace

uint16_t QSTR_CALL getColValues(const uint16_t **pp, uint8_t *primary, uint16_t *secondary, uint8_t *flags,
                                uint16_t caseFlag, uint16_t previousPrimary, uint16_t language) {
  uint16_t ch = **pp;
  if (ch == 0) return kEnd;
  ++*pp;
  if (isAsian(language)) return asianPosition(pp, primary, secondary, flags, ch, caseFlag, previousPrimary);
  if (language != kLanguagePlain) {
    if (const uint16_t held = getContraction(ch, *pp, language)) {
      // A contracted pair reads {first letter, 0xFF}: the held letter carries
      // the pair mark, which has no value.
      primary[0] = static_cast<uint8_t>(f_QX60ColVal(ch, language));
      primary[1] = static_cast<uint8_t>(f_QX60ColVal(held, language));
      *secondary = 0;
      *flags = static_cast<uint8_t>(2 * caseByte(ch) | caseByte(held));
      return kValues;
    }
  }
  const uint16_t value = f_QX60ColVal(ch, language);
  if (value == kIgnorable && isRightToLeft(language)) {
    *secondary = getDiaValue(ch, kIgnorable, language);
    *flags = 1;
    return kIgnorableStatus;
  }
  primary[0] = static_cast<uint8_t>(value);
  *secondary = getDiaValue(ch, value, language);
  *flags = caseByte(ch);
  return kValues;
}
