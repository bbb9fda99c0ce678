// One string walked by the multi-level comparison, position by position.
#include "collate/multilevel/multilevel_cursor.h"

#include "collate/tables/col6_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

namespace qstr::collate {

PositionValues CollationCursor::asianValues() {
  uint16_t next = *pos_;
  if (next != 0) pos_ = colNextCh(pos_);
  PositionValues v;
  const uint16_t status = AsiaGetColValues(current_, next, previousPrimary_, &v.primary, &v.secondary,
                                           &v.caseValue, options_.caseFlag ? 0 : 1);
  held_ = status == 2 ? 0 : next;
  previousPrimary_ = v.primary;
  return v;
}

void CollationCursor::stepBack() { pos_ = colPrevCh(start_, pos_); }

bool CollationCursor::restIgnorable() const {
  for (const uint16_t *p = takenAt_; *p != 0; p = colNextCh(p)) {
    if (f_QX60ColVal(*p, options_.language) != kIgnorable) return false;
  }
  return true;
}

}  // namespace qstr::collate
