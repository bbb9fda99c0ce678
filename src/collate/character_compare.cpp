// Comparing two characters by the sort sequence, with or without case.
#include "collate/collation_block.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"

int32_t QSTR_CALL xchcmp(uint32_t a, uint32_t b, uint32_t caseFlag) {
  const uint16_t ca = static_cast<uint16_t>(a);
  const uint16_t cb = static_cast<uint16_t>(b);
  const uint16_t la = wtolower(ca);
  const uint16_t lb = wtolower(cb);
  // An upper-case character is one that lowering changes.
  const int32_t upperA = static_cast<uint8_t>(caseFlag) != 0 && la != ca ? 1 : 0;
  const int32_t upperB = static_cast<uint8_t>(caseFlag) != 0 && lb != cb ? 1 : 0;
  if (la == lb) return upperA - upperB;
  const uint8_t valueA = xch2col(la);
  const uint8_t valueB = xch2col(lb);
  if (valueA != valueB) return static_cast<int32_t>(valueA) - static_cast<int32_t>(valueB);
  if (valueA == qstr::collate::kNoCollationValue) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}
