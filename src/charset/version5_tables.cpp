// The lookup of each kind of renumbering table between the current and the
// version-5 character sets; the tables are generated into
// version5_tables_data.cpp.
#include "charset/version5_tables.h"

namespace qstr::charset::version5 {

std::optional<uint8_t> DirectTable::lookup(uint8_t code) const {
  if (code < first || static_cast<std::size_t>(code - first) >= entries.size()) return std::nullopt;
  return entries[code - first];
}

std::optional<uint8_t> PairList::lookup(uint8_t code) const {
  for (const CodePair &pair : pairs) {
    if (pair.from == code) return pair.to;
  }
  return std::nullopt;
}

uint8_t DescendingThresholdList::lookup(uint8_t code) const {
  for (const ThresholdDelta &row : rows) {
    if (row.threshold <= code) {
      return static_cast<uint8_t>(subtracts ? code - row.delta : code + row.delta);
    }
  }
  return code;
}

uint8_t SignedThresholdList::lookup(uint8_t code) const {
  for (const SignedThreshold &row : rows) {
    if (row.threshold <= code) {
      return static_cast<uint8_t>(row.subtracts ? code - row.delta : code + row.delta);
    }
  }
  return code;
}

bool CodeList::contains(uint8_t code) const {
  for (uint8_t listed : codes) {
    if (listed == code) return true;
  }
  return false;
}

}  // namespace qstr::charset::version5
