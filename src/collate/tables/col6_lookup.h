// Lookups in the version-6 collation blocks.
#pragma once

#include <cstdint>
#include <optional>

#include "collate/tables/col6_tables.h"

namespace qstr::collate {

// Value of `code` in a collation block, or nothing when the block does not
// hold the code.
inline std::optional<uint8_t> valueInBlock(const uint8_t *block, uint8_t code) {
  const unsigned first = block[0], count = block[1];
  if (code < first || code >= first + count) return std::nullopt;
  return block[2 + code - first];
}

// Value of a character in the first block of `table`, in record order,
// whose set is the character's and which holds its code; a set may have
// several records (unlike the first-record lookup of collation_block.h).
// Nothing when no block holds it.
std::optional<uint8_t> searchBlocks(const Col6Record *table, uint16_t ch);

}  // namespace qstr::collate
