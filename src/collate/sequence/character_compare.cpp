// Comparing two characters by the sort sequence, with or without case.
#include "asian/quick_lower.h"
#include "collate/tables/collation_block.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"

#include <atomic>

namespace {

// The value of an ASCII character: its cell in the set-0 block, found once
// (the block stays where it is; its cells are rewritten by a language
// switch and read here as xch2col reads them).
uint8_t asciiValue(uint16_t c) {
  static uint8_t *const block = static_cast<uint8_t *>(ub_fp_table(coltbl, 0));
  const uint8_t *cell = block == nullptr ? nullptr : qstr::collate::blockCell(block, static_cast<uint8_t>(c));
  if (cell == nullptr) return qstr::collate::kNoCollationValue;
  return std::atomic_ref<uint8_t>(*const_cast<uint8_t *>(cell)).load(std::memory_order_relaxed);
}

}  // namespace

int32_t QSTR_CALL xchcmp(uint32_t a, uint32_t b, uint32_t caseFlag) {
  const uint16_t ca = static_cast<uint16_t>(a);
  const uint16_t cb = static_cast<uint16_t>(b);
  const bool ascii = ca < 0x80 && cb < 0x80;
  const uint16_t la = qstr::asian::lowerQuickly(ca);
  const uint16_t lb = qstr::asian::lowerQuickly(cb);
  // An upper-case character is one that lowering changes.
  const int32_t upperA = static_cast<uint8_t>(caseFlag) != 0 && la != ca ? 1 : 0;
  const int32_t upperB = static_cast<uint8_t>(caseFlag) != 0 && lb != cb ? 1 : 0;
  if (la == lb) return upperA - upperB;
  const uint8_t valueA = ascii ? asciiValue(la) : xch2col(la);
  const uint8_t valueB = ascii ? asciiValue(lb) : xch2col(lb);
  if (valueA != valueB) return static_cast<int32_t>(valueA) - static_cast<int32_t>(valueB);
  if (valueA == qstr::collate::kNoCollationValue) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}
