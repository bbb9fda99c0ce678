// Version-6 character services: the repertoire test and the primary values
// of col6tbl, one character at a time.
#include "collate/tables/col6_tables.h"
#include "collate/tables/collation_block.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint8_t kLess = 8, kEqual = 4, kGreater = 2;

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
  // The first record of the character's set only.
  return blockValue(kCol6Table, static_cast<uint16_t>(ch));
}

uint8_t QSTR_CALL QxCh6Cmpcoll(uint32_t a, uint32_t b) {
  const uint8_t ga = QxCh6Getcoll(a), gb = QxCh6Getcoll(b);
  if (ga != gb) return ga < gb ? kLess : kGreater;
  if (ga != kNoPrimary) return kEqual;
  const uint16_t ca = static_cast<uint16_t>(a), cb = static_cast<uint16_t>(b);
  if (ca == cb) return kEqual;
  return ca < cb ? kLess : kGreater;
}
