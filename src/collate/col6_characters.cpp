// Version-6 character services: the repertoire test and the primary values
// of col6tbl, one character at a time.
#include "collate/col6_lookup.h"
#include "collate/col6_tables.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint8_t kLess = 8, kEqual = 4, kGreater = 2;

// The first block of a set in col6tbl, or null; later records of the same
// set are not looked at.
const uint8_t *firstBlock(uint8_t set) {
  for (const Col6Record *record = kCol6Table; record->set != 0xFF; ++record) {
    if (record->set == set) return record->block;
  }
  return nullptr;
}

}  // namespace

int32_t QSTR_CALL QxCh6Isqxc(uint32_t ch) {
  const unsigned set = (ch >> 8) & 0xFF, code = ch & 0xFF;
  if (set == 0 || set == 12) return ((code - 0x20) & 0xFF) < kCharCount6[set] ? 1 : 0;
  if (set <= 15) return code < kCharCount6[set] ? 1 : 0;
  // Sets 16-35 hold nothing; the East Asian sets every code but 0xFF.
  if (set >= 36 && set <= 223) return code != 0xFF ? 1 : 0;
  return 0;
}

uint8_t QSTR_CALL QxCh6Getcoll(uint32_t ch) {
  const uint8_t *block = firstBlock(static_cast<uint8_t>(ch >> 8));
  if (block == nullptr) return kNoPrimary;
  return blockValue(block, static_cast<uint8_t>(ch)).value_or(kNoPrimary);
}

uint8_t QSTR_CALL QxCh6Cmpcoll(uint32_t a, uint32_t b) {
  const uint8_t ga = QxCh6Getcoll(a), gb = QxCh6Getcoll(b);
  if (ga != gb) return ga < gb ? kLess : kGreater;
  if (ga != kNoPrimary) return kEqual;
  const uint16_t ca = static_cast<uint16_t>(a), cb = static_cast<uint16_t>(b);
  if (ca == cb) return kEqual;
  return ca < cb ? kLess : kGreater;
}
