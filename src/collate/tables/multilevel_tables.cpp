// The constant tables of the multi-level comparison.
#include "collate/tables/multilevel_tables.h"

#include <algorithm>

namespace qstr::collate {

// Rows 0-12 hold 31 keys, row 13 the 24 tailored characters.
const uint16_t kRuleRowStarts[kRuleRows + 1] = {0, 9, 12, 13, 15, 16, 17, 19, 20, 21, 22, 22, 22, 31, 55};

const uint16_t kRuleKeys[] = {
    // row 0: languages with contractions (CA, CF, CZ, SL, DE, SD, ES, FR, NL)
    3, 13, 5, 28, 16, 17, 29, 14, 7,
    // row 1: "c", "l", "l with middle dot"
    0x0063, 0x006C, 0x0197,
    // row 2: "c"
    0x0063,
    // row 3: "ae", "oe"
    0x0125, 0x01A7,
    // row 4: "h" after "c"
    0x0068,
    // row 5: "h" after "c"
    0x0068,
    // row 6: "l" after "l", middle dot
    0x006C, 0x0101,
    // row 7: "l" after the middle dot
    0x006C,
    // row 8: "sharp s"
    0x0117,
    // row 9: "ij"
    0x018B,
    // row 12: language -> tailoring group (CZ, DK, NO, SL, TK, SU, IS, SV, YK)
    5, 6, 23, 28, 33, 12, 21, 30, 31,
    // row 13: the tailored characters
    0x011E, 0x011F, 0x0122, 0x0123, 0x0124, 0x0125, 0x013E, 0x013F, 0x0146, 0x0147, 0x0150, 0x0151,
    0x0A3A, 0x0A3B, 0x01EE, 0x01EF, 0x0162, 0x0163, 0x01AA, 0x01AB, 0x01B0, 0x01B1, 0x01CE, 0x01CF,
};

const uint16_t kRuleResults[] = {
    // row 0
    1, 3, 2, 2, 8, 8, 1, 3, 9,
    // rows 1-9: the next state
    4, 6, 6,
    5,
    15, 16,
    12,
    13,
    14, 7,
    6,
    17,
    18,
    // row 12
    20, 14, 16, 20, 19, 17, 15, 17, 18,
    // group 13 (default)
    128, 128, 128, 128, 129, 129, 149, 149, 158, 158, 149, 149,
    231, 231, 140, 140, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 14 (DK)
    173, 173, 183, 183, 170, 170, 181, 181, 162, 162, 177, 177,
    231, 231, 140, 140, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 15 (IS)
    128, 128, 128, 128, 174, 174, 178, 178, 158, 158, 182, 182,
    231, 231, 140, 140, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 16 (NO)
    128, 128, 179, 179, 171, 171, 149, 149, 158, 158, 175, 175,
    231, 231, 140, 140, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 17 (SU, SV)
    176, 176, 172, 172, 129, 129, 180, 180, 162, 162, 149, 149,
    231, 231, 140, 140, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 18 (YK)
    128, 128, 128, 128, 129, 129, 149, 149, 158, 158, 149, 149,
    236, 236, 140, 140, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 19 (TK)
    128, 128, 128, 128, 129, 129, 149, 149, 158, 158, 149, 149,
    171, 171, 139, 139, 131, 131, 153, 153, 155, 155, 163, 163,
    // group 20 (CZ, SL)
    128, 128, 128, 128, 129, 129, 149, 149, 158, 158, 149, 149,
    231, 231, 140, 140, 133, 133, 154, 154, 156, 156, 164, 164,
};

static_assert(sizeof kRuleKeys / sizeof kRuleKeys[0] == 55);
static_assert(sizeof kRuleResults / sizeof kRuleResults[0] ==
              31 + kTailoredCharacters * kTailoringGroups);

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
