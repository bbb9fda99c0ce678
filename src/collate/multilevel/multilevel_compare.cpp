// The multi-level comparison: primary values decide at the first
// difference; among strings equal at the primary level the first secondary
// difference decides, then the first case difference.
#include "collate/multilevel/multilevel_compare.h"

#include <cstddef>

#include "base/sign.h"
#include "collate/multilevel/contraction.h"
#include "collate/multilevel/multilevel_cursor.h"
#include "collate/multilevel/position_memo.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

using qstr::base::sign;

// The first secondary difference and the first case difference seen so far.
struct Differences {
  int secondary = 0;
  int caseOrKana = 0;

  void note(int &slot, int difference) {
    if (slot == 0) slot = sign(difference);
  }
};

// Records the differences of one pair of non-Asian positions.
void noteDifferences(Differences &d, const PositionValues &a, const PositionValues &b,
                     const CollationOptions &options) {
  if (options.caseFlag && a.caseValue != b.caseValue) {
    // Lower case (0) sorts first, upper case first where the language puts it first.
    const int difference = a.caseValue < b.caseValue ? -1 : 1;
    d.note(d.caseOrKana, upperBeforeLower(options.language) ? -difference : difference);
  }
  d.note(d.secondary, int(a.secondary) - int(b.secondary));
}

void noteAsianDifferences(Differences &d, const PositionValues &a, const PositionValues &b,
                          const CollationOptions &options) {
  d.note(d.secondary, int(a.secondary) - int(b.secondary));
  if (options.caseFlag) d.note(d.caseOrKana, int(a.caseValue) - int(b.caseValue));
  if (options.kanaFlag) d.note(d.caseOrKana, int(a.caseValue & 1) - int(b.caseValue & 1));
}

ComparisonOutcome bothEnded(const Differences &d) {
  if (d.secondary != 0) return {d.secondary, DecidingLevel::kSecondary};
  if (d.caseOrKana != 0) return {d.caseOrKana, DecidingLevel::kCase};
  return {0, DecidingLevel::kEqual};
}

// Right-to-left end: one string ended (r says which sorts first); the other
// loses unless all its remaining characters are ignorable.
ComparisonOutcome rightToLeftEnd(const CollationCursor &longer, const Differences &d, int r) {
  if (longer.restIgnorable() && d.secondary != 0) return {d.secondary, DecidingLevel::kSecondary};
  return {r, DecidingLevel::kLength};
}

// The kinds of language, each walked by its own instance of the loop below
// so that a language pays only for the steps it takes (no language both
// contracts and reads right to left).
enum class Walk { kPlain, kContracting, kRightToLeft, kAsian };

Walk walkOf(uint16_t language) {
  if (isAsian(language)) return Walk::kAsian;
  if (isRightToLeft(language)) return Walk::kRightToLeft;
  return mayContract(language) ? Walk::kContracting : Walk::kPlain;
}

// The cursors are made here, as locals of the loop, so that their state can
// live in registers.
template <Walk kWalk>
ComparisonOutcome compare(const uint16_t *s1, const uint16_t *s2, const CollationOptions &options,
                          const MemoizedValues *memo) {
  CollationCursor a(s1, options, memo), b(s2, options, memo);
  constexpr bool rtl = kWalk == Walk::kRightToLeft;
  constexpr bool asian = kWalk == Walk::kAsian;
  constexpr bool contracting = kWalk == Walk::kContracting;
  Differences d;
  for (;;) {
    const uint16_t c1 = a.take(), c2 = b.take();
    if (c1 == 0 || c2 == 0) {
      if (c1 == 0 && c2 == 0) return bothEnded(d);
      if (!rtl) return {c1 == 0 ? -1 : 1, DecidingLevel::kLength};
      return c1 == 0 ? rightToLeftEnd(b, d, -1) : rightToLeftEnd(a, d, 1);
    }
    // The same character on both sides, which no contraction changes, takes
    // the same values on both sides: nothing to note.
    if (c1 == c2 && !asian && (!contracting || a.cannotContract())) continue;
    if (asian) {
      const PositionValues v1 = a.asianValues(), v2 = b.asianValues();
      if (v1.primary != v2.primary) return {v1.primary < v2.primary ? -1 : 1, DecidingLevel::kPrimary};
      noteAsianDifferences(d, v1, v2, options);
      continue;
    }
    if (contracting) {
      a.contract();
      b.contract();
      if (a.current() == b.current() && a.held() == b.held()) {
        a.dropHeld();
        b.dropHeld();
        continue;
      }
    }
    const PositionValues v1 = a.values(), v2 = b.values();
    if (v1.primary != v2.primary && !v1.ignorable && !v2.ignorable) {
      return {v1.primary < v2.primary ? -1 : 1, DecidingLevel::kPrimary};
    }
    noteDifferences(d, v1, v2, options);
    if (rtl && v1.ignorable != v2.ignorable) (v1.ignorable ? b : a).stepBack();
  }
}

// Whether s1 and s2 hold the same units from `first` up to `end`.
bool sameUnits(const uint16_t *s1, const uint16_t *s2, std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end; ++i) {
    if (s1[i] != s2[i]) return false;
  }
  return true;
}

// The length of the strings' common start that the walk may pass over: up
// to there both hold the same units and every character is a position of
// its own (none starts a contraction, in either string) or the same pair
// in both, so each pair of positions is identical and notes nothing.
// `memo` is the language's; right-to-left walks look back and Asian walks
// (no memo) chain positions, so they start at the beginning.
std::size_t passablePrefix(const uint16_t *s1, const uint16_t *s2, const CollationOptions &options,
                           const MemoizedValues *memo) {
  if (memo == nullptr || isRightToLeft(options.language)) return 0;
  std::size_t k = 0;
  for (; s1[k] == s2[k] && s1[k] != 0; ++k) {
    const uint16_t unit = s1[k];
    if (isMarker(unit)) continue;
    if (unit >= kMemoizedEnd) break;
    if (!memo[unit].mayContract) continue;
    const uint8_t row = memo[unit].followerRow;
    if (row == 0) break;
    const std::size_t follower = static_cast<std::size_t>(colNextCh(s1 + k) - s1);
    if (stopsWithoutActing(row, s1[follower]) && stopsWithoutActing(row, *colNextCh(s2 + k))) continue;
    // The same pair in both strings is one identical position: passed whole.
    if (!sameUnits(s1, s2, k + 1, follower + 1) || !makesPair(row, s1[follower])) break;
    k = follower;
  }
  return k;
}

ComparisonOutcome compareStrings(const uint16_t *s1, const uint16_t *s2, const CollationOptions &options,
                                 const MemoizedValues *memo) {
  switch (walkOf(options.language)) {
    case Walk::kPlain: return compare<Walk::kPlain>(s1, s2, options, memo);
    case Walk::kContracting: return compare<Walk::kContracting>(s1, s2, options, memo);
    case Walk::kRightToLeft: return compare<Walk::kRightToLeft>(s1, s2, options, memo);
    case Walk::kAsian: break;
  }
  return compare<Walk::kAsian>(s1, s2, options, memo);
}

const MemoizedValues *memoOf(uint16_t language) { return isAsian(language) ? nullptr : memoizedValues(language); }

}  // namespace

namespace qstr::collate {

ComparisonOutcome compareExplained(const uint16_t *s1, const uint16_t *s2, const CollationOptions &options) {
  const MemoizedValues *memo = memoOf(options.language);
  const std::size_t k = passablePrefix(s1, s2, options, memo);
  return compareStrings(s1 + k, s2 + k, options, memo);
}

}  // namespace qstr::collate

int32_t QSTR_CALL QxQS6Cmpcoll(const uint16_t *s1, const uint16_t *s2, uint16_t language,
                               uint16_t caseFlag, uint16_t kanaFlag) {
  if (s1 == nullptr) return s2 == nullptr ? 0 : -1;
  if (s2 == nullptr) return 1;
  return compareExplained(s1, s2, {language, caseFlag != 0, kanaFlag != 0}).result;
}

int32_t QSTR_CALL QxQS6CmpcollLang(const uint16_t *s1, const uint16_t *s2, const char *languageCode,
                                   uint16_t caseFlag, uint16_t kanaFlag) {
  const uint16_t language = languageCode == nullptr ? 0 : QxLanguage(languageCode);
  return QxQS6Cmpcoll(s1, s2, language, caseFlag, kanaFlag);
}
