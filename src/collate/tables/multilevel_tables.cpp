// The search of the multi-level comparison's rule table and the index built
// from it; the table itself is generated into multilevel_rules_data.cpp.
#include "collate/tables/multilevel_tables.h"

#include <algorithm>

namespace qstr::collate {

uint16_t getColRuleBySearch(uint16_t key, uint16_t row) {
  if (row >= kRuleRows - 1 + kTailoringGroups) return 0;  // past the last group's column
  const unsigned keyRow = std::min<unsigned>(row, 13);
  const uint16_t *first = kRuleKeys + kRuleRowStarts[keyRow];
  const uint16_t *last = kRuleKeys + kRuleRowStarts[keyRow + 1];
  const uint16_t *found = std::find(first, last, key);
  if (found == last) return 0;
  const unsigned i = static_cast<unsigned>(found - kRuleKeys);
  return row <= 12 ? kRuleResults[i] : kRuleResults[(row - 13u) * kTailoredCharacters + i];
}

const RuleIndex kRuleIndex = [] {
  RuleIndex built;
  for (unsigned i = 0; i < kRuleRowStarts[kRuleRows]; ++i) built.anyRowKey.set(kRuleKeys[i]);
  for (unsigned row = 0; row < kRuleIndexRows; ++row) {
    for (unsigned key = 0; key < kRuleSmallKeys; ++key) {
      built.smallKeys[row][key] = getColRuleBySearch(static_cast<uint16_t>(key), static_cast<uint16_t>(row));
    }
  }
  return built;
}();

}  // namespace qstr::collate
