// Lookups in the version-6 collation blocks.
#include "collate/tables/col6_lookup.h"

namespace qstr::collate {

std::optional<uint8_t> searchBlocks(const Col6Record *table, uint16_t ch) {
  const uint8_t set = static_cast<uint8_t>(ch >> 8);
  for (const Col6Record *record = table; record->key != 0xFF; ++record) {
    if (record->key != set) continue;
    if (auto value = valueInBlock(blockOf(*record), static_cast<uint8_t>(ch))) return value;
  }
  return std::nullopt;
}

}  // namespace qstr::collate
