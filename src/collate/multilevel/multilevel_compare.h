// The multi-level comparison with the level that decided it, for callers
// that explain an order.
#pragma once

#include <cstdint>

#include "collate/multilevel/multilevel_cursor.h"

namespace qstr::collate {

enum class DecidingLevel {
  kEqual,      // no difference at any level that counts
  kPrimary,    // a primary value
  kLength,     // one string ran out first at the primary level
  kSecondary,  // the first secondary difference
  kCase,       // the first case (or kana) difference
};

struct ComparisonOutcome {
  int result;  // -1, 0 or 1
  DecidingLevel level;
};

// QxQS6Cmpcoll on two non-null strings, with the deciding level.
ComparisonOutcome compareExplained(const uint16_t *s1, const uint16_t *s2, const CollationOptions &options);

}  // namespace qstr::collate
