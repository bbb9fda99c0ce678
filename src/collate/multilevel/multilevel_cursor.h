// One string walked by the multi-level comparison, position by position.
// The comparison and the sort key builder both take their values from here,
// so that a key holds exactly the values the comparison compares.
#pragma once

#include "collate/multilevel/contraction.h"
#include "collate/multilevel/position_memo.h"

#include <cstdint>

namespace qstr::collate {

struct CollationOptions {
  uint16_t language = 0;
  bool caseFlag = false;  // case differences count
  bool kanaFlag = false;  // hiragana/katakana differences count (Asian languages)
};

// The values of one position.
struct PositionValues {
  uint16_t primary = 0;    // one byte, or 16 bits in the Asian languages
  uint16_t secondary = 0;
  uint8_t caseValue = 0;   // low byte of f_wislower; the flags byte in the Asian languages
  bool ignorable = false;  // right-to-left languages: skipped at the primary level
};

class CollationCursor {
 public:
  CollationCursor(const uint16_t *string, const CollationOptions &options);
  // With the language's memo (memoizedValues) already looked up; null for
  // the Asian languages.
  CollationCursor(const uint16_t *string, const CollationOptions &options, const MemoizedValues *memo);

  // Takes the next character: the held-back one if any, else the next unit
  // of the string. Returns 0 at the end (and stays there).
  [[gnu::always_inline]] uint16_t take();

  // Contracting languages: runs the contraction machine on the taken
  // character, which may change it, move the position and hold a
  // character back.
  void contract() {
    if (cannotContract() || followerStopsMachine()) {
      held_ = 0;  // the machine would leave the character alone
      heldIsPairLetter_ = false;
      return;
    }
    runContractionMachine();
  }
  // Whether the memo knows that the taken character starts no contraction.
  bool cannotContract() const { return memo_ != nullptr && current_ < kMemoizedEnd && !memo_[current_].mayContract; }
  // Whether the memo knows the row the machine reads the next character
  // in, and that character stops it: "c" not followed by "h".
  bool followerStopsMachine() const {
    if (memo_ == nullptr || current_ >= kMemoizedEnd) return false;
    const uint8_t row = memo_[current_].followerRow;
    return row != 0 && stopsWithoutActing(row, *pos_);
  }

  // The taken character and the held-back one, as the comparison's test for
  // "identical on both sides" sees them.
  uint16_t current() const { return current_; }
  uint16_t held() const { return held_; }
  // Drops the held-back character (both sides were identical).
  void dropHeld() { held_ = 0; }
  // Where the string continues: past every unit taken so far, contracted
  // pairs included. Explanations measure what a position took with it.
  const uint16_t *next() const { return pos_; }

  // Values of the taken character: primary (plus 1 for a contracted pair,
  // whose mark this consumes), secondary, case. Not for the Asian languages.
  [[gnu::always_inline]] PositionValues values();

  // Asian languages: values of the taken character, merging the next
  // character into it when it is a voiced or semi-voiced mark, and chaining
  // the previous primary value.
  PositionValues asianValues();

  // Right-to-left languages: goes back to the character just taken, so that
  // it is taken again.
  void stepBack();
  // Right-to-left languages, at the end of the other string: whether this
  // string's characters from the one just taken on are all ignorable.
  bool restIgnorable() const;

  // Whether a comparison that finds this string identical to another at a
  // contracted pair could reach a different answer than the values of the
  // positions taken one string at a time; see keys.h.
  bool keyHazard() const { return keyHazard_; }

 private:
  void runContractionMachine();

  const uint16_t *start_;
  const uint16_t *pos_;  // the next unit
  const uint16_t *takenAt_ = nullptr;
  CollationOptions options_;
  const MemoizedValues *memo_;  // the language's values of sets 0-14, or null
  uint16_t current_ = 0;
  uint16_t held_ = 0;
  uint16_t previousPrimary_ = 0;  // Asian languages
  bool heldIsPairLetter_ = false;  // the held letter was the second of a pair
  bool takenPairLetter_ = false;
  bool keyHazard_ = false;
};

// Walks a whole string one position at a time, as the comparison takes the
// positions of one string (without the pairwise steps: the skipping of
// identical characters, the right-to-left step back), calling
// visit(cursor, values) for each. Returns the cursor's key hazard.
template <class Visit>
bool forEachPosition(const uint16_t *s, const CollationOptions &options, Visit visit);

}  // namespace qstr::collate

#include "collate/multilevel/contraction.h"
#include "collate/tables/col6_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

// The constructor, take() and values() run for every comparison and
// position: defined here, and always inlined, so that the comparison's loop
// keeps their state and results in registers.

namespace qstr::collate {

// Secondary values that an ignorable character of sets 9, 13 and 14 takes
// (its code + 0x8000): another character with one of them could tie with an
// ignorable character in the comparison's step back.
inline bool mayTieWithIgnorable(uint16_t secondary) { return secondary >= 0x8900 && secondary <= 0x8EFF; }

inline CollationCursor::CollationCursor(const uint16_t *string, const CollationOptions &options,
                                        const MemoizedValues *memo)
    : start_(string), pos_(colFirstCh(string)), options_(options), memo_(memo) {}

inline CollationCursor::CollationCursor(const uint16_t *string, const CollationOptions &options)
    : CollationCursor(string, options, isAsian(options.language) ? nullptr : memoizedValues(options.language)) {}

inline uint16_t CollationCursor::take() {
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

// The machine works on copies, so that the cursor's own state never has its
// address taken and can stay in registers.
inline void CollationCursor::runContractionMachine() {
  uint16_t ch = current_;
  const uint16_t *pos = pos_;
  held_ = getContraction(ch, pos, options_.language);
  current_ = ch;
  pos_ = pos;
  heldIsPairLetter_ = false;
  // The second letter of a pair, taken again, starts a pair of its own: a
  // comparison that found both sides identical at the first pair skips that
  // letter and may pair the letters differently.
  if (takenPairLetter_ && held_ != 0) keyHazard_ = true;
}

inline PositionValues CollationCursor::values() {
  PositionValues v;
  const bool pair = held_ & kPairMark;
  if (pair) {
    held_ &= ~kPairMark;
    heldIsPairLetter_ = true;
  }
  if (memo_ != nullptr && current_ < kMemoizedEnd) {
    const MemoizedValues &m = memo_[current_];
    v.primary = pair ? (m.primary + 1) & 0xFF : m.primary;
    v.caseValue = m.caseValue;
    v.secondary = pair ? m.pairSecondary : m.secondary;
  } else {
    v.primary = f_QX60ColVal(current_, options_.language) & 0xFF;
    if (pair) v.primary = (v.primary + 1) & 0xFF;
    v.caseValue = f_wislower(current_) & 0xFF;
    v.secondary = getDiaValue(current_, v.primary, options_.language);
  }
  v.ignorable = isRightToLeft(options_.language) && v.primary == kIgnorable;
  if (isRightToLeft(options_.language) && !v.ignorable && mayTieWithIgnorable(v.secondary)) {
    keyHazard_ = true;
  }
  return v;
}

}  // namespace qstr::collate

template <class Visit>
bool qstr::collate::forEachPosition(const uint16_t *s, const CollationOptions &options, Visit visit) {
  CollationCursor cursor(s, options);
  const bool asian = isAsian(options.language), contracting = mayContract(options.language);
  while (cursor.take() != 0) {
    if (asian) {
      visit(cursor, cursor.asianValues());
      continue;
    }
    if (contracting) cursor.contract();
    visit(cursor, cursor.values());
  }
  return cursor.keyHazard();
}
