// Classification of native characters through class range tables.
#include "primitives/class_ranges.h"

using qstr::primitives::kLetterRanges;
using qstr::primitives::kSpaceRanges;

uint16_t QSTR_CALL lQ6wstrFoundInTable(uint32_t character, const QSTR_CLASS_RANGE *table) {
  const uint16_t set = static_cast<uint8_t>(character >> 8);
  const uint8_t code = static_cast<uint8_t>(character);
  // Entries are ordered by set, and the end entry's set is above every set.
  for (; table->set <= set; ++table) {
    if (table->set == set && table->first <= code && code <= table->last) return 1;
  }
  return 0;
}

uint16_t QSTR_CALL Q6wstrIsDigit(uint32_t character) {
  const uint16_t c = static_cast<uint16_t>(character);
  return c >= '0' && c <= '9' ? 1 : 0;
}

uint16_t QSTR_CALL Q6wstrIsAlpha(uint32_t character) { return lQ6wstrFoundInTable(character, kLetterRanges); }

uint16_t QSTR_CALL Q6wstrIsAlphaNum(uint32_t character) {
  return Q6wstrIsDigit(character) != 0 || Q6wstrIsAlpha(character) != 0 ? 1 : 0;
}

uint16_t QSTR_CALL Q6wstrIsSpace(uint32_t character) { return lQ6wstrFoundInTable(character, kSpaceRanges); }
