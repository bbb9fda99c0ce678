// Composition and decomposition of accented letters through the composition
// pairs of sets 1, 8 and 10.
#include "collate/tables/col6_tables.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

namespace {

constexpr uint16_t kDone = 0, kNotComposed = 1;
constexpr uint8_t kDiacriticFlag = 0x80;  // a flag in the stored diacritic code

const CompositionRecord *recordOf(unsigned set) {
  return set < kCompositionSets ? kCompositionTable[set] : nullptr;
}

bool maskBit(const uint8_t *mask, uint8_t code) { return mask[code / 8] & (0x80 >> (code % 8)); }

}  // namespace

uint16_t QSTR_CALL QxCh6Brkcar(uint32_t ch, uint16_t *base, uint16_t *diacritic) {
  const unsigned set = (ch >> 8) & 0xFF;
  const uint8_t code = static_cast<uint8_t>(ch);
  const CompositionRecord *record = recordOf(set);
  if (record == nullptr || code < record->first || code - record->first >= record->count) {
    return kNotComposed;
  }
  const uint8_t *pair = record->pairs + 2 * (code - record->first);
  if (pair[0] == 0xFF && pair[1] == 0xFF) return kNotComposed;
  *diacritic = static_cast<uint16_t>(set << 8 | pair[1]);
  const uint8_t *mask = kCompositionMask[set];
  const bool baseInSetZero = mask != nullptr && !maskBit(mask, code);
  *base = static_cast<uint16_t>((baseInSetZero ? 0 : set << 8) | pair[0]);
  return kDone;
}

uint16_t QSTR_CALL QxCh6Cmbcar(uint16_t *composed, uint32_t base, uint32_t diacritic) {
  unsigned set = (base >> 8) & 0xFF;
  if (set == 0) set = 1;  // the accented forms of set 0 letters live in set 1
  const CompositionRecord *record = recordOf(set);
  if (record == nullptr) return kNotComposed;
  const uint8_t baseCode = static_cast<uint8_t>(base);
  const uint8_t mark = static_cast<uint8_t>(diacritic) & ~kDiacriticFlag;
  for (unsigned i = 0; i < record->count; ++i) {
    const uint8_t *pair = record->pairs + 2 * i;
    if (pair[0] == 0xFF && pair[1] == 0xFF) continue;  // a code that is not composed
    if (pair[0] == baseCode && (pair[1] & ~kDiacriticFlag) == mark) {
      *composed = static_cast<uint16_t>(set << 8 | (record->first + i));
      return kDone;
    }
  }
  return kNotComposed;
}

uint16_t QSTR_CALL QxCh6Getdia(uint32_t ch) {
  // Only characters with bit 15 set are decomposed; no composition record
  // belongs to a set of 0x80 or above, so this answers 0 for all of them.
  if (!(ch & 0x8000)) return 0;
  uint16_t base = 0, diacritic = 0;
  if (QxCh6Brkcar(ch, &base, &diacritic) != kDone) return 0;
  const uint8_t code = static_cast<uint8_t>(diacritic);
  return code < sizeof kDiacriticRank6 ? kDiacriticRank6[code] : 0;
}
