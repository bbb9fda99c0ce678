// One string walked by the multi-level comparison, position by position.
#include "collate/multilevel_cursor.h"

#include "collate/col6_tables.h"
#include "collate/contraction.h"
#include "collate/multilevel_values.h"
#include "collate/position_memo.h"
#include "qstr14/collate.h"

namespace qstr::collate {
namespace {

// Secondary values that an ignorable character of sets 9, 13 and 14 takes
// (its code + 0x8000): another character with one of them could tie with an
// ignorable character in the comparison's step back.
bool mayTieWithIgnorable(uint16_t secondary) { return secondary >= 0x8900 && secondary <= 0x8EFF; }

}  // namespace

CollationCursor::CollationCursor(const uint16_t *string, const CollationOptions &options)
    : start_(string),
      pos_(colFirstCh(string)),
      options_(options),
      memo_(isAsian(options.language) ? nullptr : memoizedValues(options.language)) {}

uint16_t CollationCursor::take() {
  takenPairLetter_ = false;
  if (held_ != 0) {
    current_ = held_;
    held_ = 0;
    takenPairLetter_ = heldIsPairLetter_;
    heldIsPairLetter_ = false;
    return current_;
  }
  takenAt_ = pos_;
  current_ = *pos_;
  if (current_ != 0) pos_ = colNextCh(pos_);
  return current_;
}

void CollationCursor::contract() {
  held_ = getContraction(current_, pos_, options_.language);
  heldIsPairLetter_ = false;
  // The second letter of a pair, taken again, starts a pair of its own: a
  // comparison that found both sides identical at the first pair skips that
  // letter and may pair the letters differently.
  if (takenPairLetter_ && held_ != 0) keyHazard_ = true;
}

PositionValues CollationCursor::values() {
  PositionValues v;
  const bool pair = held_ & kPairMark;
  if (memo_ != nullptr && current_ < kMemoizedEnd && !pair) {
    const MemoizedValues &m = memo_[current_];
    v.primary = m.primary;
    v.caseValue = m.caseValue;
    v.secondary = m.secondary;
  } else {
    v.primary = f_QX60ColVal(current_, options_.language) & 0xFF;
    if (pair) {
      v.primary = (v.primary + 1) & 0xFF;
      held_ &= ~kPairMark;
      heldIsPairLetter_ = true;
    }
    v.caseValue = f_wislower(current_) & 0xFF;
    v.secondary = getDiaValue(current_, v.primary, options_.language);
  }
  v.ignorable = isRightToLeft(options_.language) && v.primary == kIgnorable;
  if (isRightToLeft(options_.language) && !v.ignorable && mayTieWithIgnorable(v.secondary)) {
    keyHazard_ = true;
  }
  return v;
}

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
