// Big5-GB mapping: one bounds test and one table entry per character.
#include "qstr14/asian.h"

#include "asian/big5_gb_tables.h"

namespace {

using namespace qstr::asian;

// The table entry of `ch` when it lies in [first set, last]; `ch` itself
// when it lies outside or the entry is 0.
uint16_t mapThrough(const uint16_t *table, unsigned firstSet, uint16_t last, uint32_t ch) {
  const uint16_t c = static_cast<uint16_t>(ch);
  if ((c >> 8) < firstSet || c > last) return c;
  const unsigned index = ((c >> 8) - firstSet) * kCodesPerSet + (c & 0xFF);
  const uint16_t entry = table[index];
  return entry == 0 ? c : entry;
}

}  // namespace

uint16_t QSTR_CALL big5togb(uint32_t ch) { return mapThrough(kBig5ToGb, kBig5FirstSet, kBig5Last, ch); }

uint16_t QSTR_CALL gbtobig5(uint32_t ch) { return mapThrough(kGbToBig5, kGbFirstSet, kGbLast, ch); }
