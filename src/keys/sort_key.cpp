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
    if (!v.ignorable) out.value(v.primary);
    later.secondary.push_back(v.secondary);
    if (withCase) later.caseLevel.push_back(caseLevelValue(v, options));
  });
  out.byte(kLevelEnd);
  for (uint16_t value : later.secondary) out.value(value);
  if (withCase) {
    out.byte(kLevelEnd);
    for (uint16_t value : later.caseLevel) out.value(value);
  }
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
