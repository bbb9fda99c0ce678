// Collation blocks: {first code, count, count value bytes}, one per
// character set, found through a {set, block} record list (coltbl and the
// read-only tables built like it) with ub_fp_table.
#pragma once

#include <cstdint>

#include "qstr14/collate.h"

namespace qstr::collate {

inline constexpr uint8_t kNoCollationValue = 0xFF;

// The value cell of `code` in `block`, or null when the code lies outside
// it (first <= code < first + count).
inline uint8_t *blockCell(uint8_t *block, uint8_t code) {
  const uint8_t first = block[0];
  const uint8_t count = block[1];
  if (code < first || code - first >= count) return nullptr;
  return block + 2 + (code - first);
}

// The value of `character` in a read-only record list: the first record
// of its set only; 0xFF when the set has no block or the code lies outside
// it.
inline uint8_t blockValue(const QSTR_KEYED_POINTER *table, uint16_t character) {
  auto *block = static_cast<uint8_t *>(ub_fp_table(table, character >> 8));
  if (block == nullptr) return kNoCollationValue;
  const uint8_t *cell = blockCell(block, static_cast<uint8_t>(character));
  return cell == nullptr ? kNoCollationValue : *cell;
}

}  // namespace qstr::collate
