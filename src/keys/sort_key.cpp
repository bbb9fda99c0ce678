// Sort keys built from the comparison's own per-position values.
#include <cstring>
#include <vector>

#include "base/sign.h"
#include "collate/multilevel/contraction.h"
#include "collate/multilevel/multilevel_cursor.h"
#include "collate/values/multilevel_values.h"
#include "keys/key_encoding.h"
#include "qstr14/keys.h"

using namespace qstr::collate;
using qstr::base::sign;
using qstr::keys::KeyWriter;
using qstr::keys::kLevelEnd;

namespace {

bool hasCaseLevel(const CollationOptions &options) {
  return options.caseFlag || (options.kanaFlag && isAsian(options.language));
}

// The case level's value of one position, in the order the comparison
// gives it.
uint16_t caseLevelValue(const PositionValues &v, const CollationOptions &options) {
  if (isAsian(options.language)) return options.caseFlag ? v.caseValue : v.caseValue & 1;
  return upperBeforeLower(options.language) ? 1 - v.caseValue : v.caseValue;
}

// The secondary and case levels of a key, gathered while the primary level
// is written, so that the string is walked once. Kept per thread and
// reused, so that building a key allocates nothing after the first ones.
struct LaterLevels {
  std::vector<uint16_t> secondary;
  std::vector<uint16_t> caseLevel;
};

LaterLevels &laterLevels() {
  thread_local LaterLevels levels;
  levels.secondary.clear();
  levels.caseLevel.clear();
  return levels;
}

// Primary values take a byte each, except in the Asian languages, whose
// values have 16 bits.
void writePrimary(KeyWriter &out, uint16_t primary, uint16_t language) {
  if (isAsian(language)) {
    out.value(primary);
  } else {
    out.primaryByte(static_cast<uint8_t>(primary));
  }
}

// The number of values of a level that the key must hold: trailing values
// of 0, the lowest any level takes, say nothing a key without them does
// not, because the level's end sorts before every value. Where strings equal
// at the primary level always have as many positions (everywhere but the
// right-to-left languages, whose ignorable characters count only here),
// leaving them out keeps the order.
size_t valuesToWrite(const std::vector<uint16_t> &level, bool trailingZerosCount) {
  size_t count = level.size();
  if (trailingZerosCount) return count;
  while (count > 0 && level[count - 1] == 0) --count;
  return count;
}

// The secondary and case levels after the primary one, each after a level
// end. A level left empty, and the level end before it, are not written at
// all: a key that stops sorts before one that goes on, as the lowest values
// would. The empty string still gets its level end, so that it sorts after
// the null string.
void writeLaterLevels(KeyWriter &out, const LaterLevels &later, const CollationOptions &options, bool withCase) {
  const bool rightToLeft = isRightToLeft(options.language);
  const size_t secondaries = valuesToWrite(later.secondary, rightToLeft);
  const size_t cases = withCase ? valuesToWrite(later.caseLevel, false) : 0;
  if (secondaries > 0 || cases > 0 || out.length() == 0) out.byte(kLevelEnd);
  for (size_t i = 0; i < secondaries; ++i) out.value(later.secondary[i]);
  if (cases == 0) return;
  out.byte(kLevelEnd);
  for (size_t i = 0; i < cases; ++i) out.value(later.caseLevel[i]);
}

}  // namespace

size_t QSTR_CALL QsKeyBuild(const uint16_t *s, uint16_t language, uint16_t caseFlag, uint16_t kanaFlag,
                            uint8_t *key, size_t size, int32_t *exact) {
  if (exact != nullptr) *exact = 1;
  if (s == nullptr) return 0;
  const CollationOptions options{language, caseFlag != 0, kanaFlag != 0};
  const bool withCase = hasCaseLevel(options);
  KeyWriter out(key, size);
  LaterLevels &later = laterLevels();
  // Whether the string's values could order differently in the comparison
  // than in the key.
  const bool hazard = forEachPosition(s, options, [&](const CollationCursor &, const PositionValues &v) {
    if (!v.ignorable) writePrimary(out, v.primary, language);
    later.secondary.push_back(v.secondary);
    if (withCase) later.caseLevel.push_back(caseLevelValue(v, options));
  });
  writeLaterLevels(out, later, options, withCase);
  if (exact != nullptr && hazard) *exact = 0;
  return out.length();
}

int32_t QSTR_CALL QsKeyAlwaysExact(uint16_t language, uint16_t /*caseFlag*/, uint16_t /*kanaFlag*/) {
  if (isRightToLeft(language)) return 0;
  if (mayContract(language) && pairLetterMayStartPair(language)) return 0;
  return 1;
}

int32_t QSTR_CALL QsKeyCompare(const uint8_t *a, size_t aLength, const uint8_t *b, size_t bLength) {
  const size_t common = aLength < bLength ? aLength : bLength;
  const int byBytes = common == 0 ? 0 : std::memcmp(a, b, common);
  if (byBytes != 0) return sign(byBytes);
  return aLength < bLength ? -1 : aLength > bLength ? 1 : 0;
}
