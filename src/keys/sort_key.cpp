// Sort keys built from the comparison's own per-position values.
#include <cstring>

#include "collate/contraction.h"
#include "collate/multilevel_cursor.h"
#include "collate/multilevel_values.h"
#include "keys/key_encoding.h"
#include "qstr14/keys.h"

using namespace qstr::collate;
using qstr::keys::KeyWriter;
using qstr::keys::kLevelEnd;

namespace {

enum class Level { kPrimary, kSecondary, kCase };

bool hasCaseLevel(const CollationOptions &options) {
  return options.caseFlag || (options.kanaFlag && isAsian(options.language));
}

// The case level's value of one position, in the order the comparison
// gives it.
uint16_t caseLevelValue(const PositionValues &v, const CollationOptions &options) {
  if (isAsian(options.language)) return options.caseFlag ? v.caseValue : v.caseValue & 1;
  return options.language == kLanguageGreek ? 1 - v.caseValue : v.caseValue;
}

// Writes one level of the key; returns whether the string's values could
// order differently in the comparison than in the key.
bool writeLevel(KeyWriter &out, const uint16_t *s, const CollationOptions &options, Level level) {
  return forEachPosition(s, options, [&](const CollationCursor &, const PositionValues &v) {
    switch (level) {
      case Level::kPrimary:
        if (!v.ignorable) out.value(v.primary);
        break;
      case Level::kSecondary: out.value(v.secondary); break;
      case Level::kCase: out.value(caseLevelValue(v, options)); break;
    }
  });
}

int sign(int difference) { return difference < 0 ? -1 : difference > 0 ? 1 : 0; }

}  // namespace

size_t QSTR_CALL QsKeyBuild(const uint16_t *s, uint16_t language, uint16_t caseFlag, uint16_t kanaFlag,
                            uint8_t *key, size_t size, int32_t *exact) {
  if (exact != nullptr) *exact = 1;
  if (s == nullptr) return 0;
  const CollationOptions options{language, caseFlag != 0, kanaFlag != 0};
  KeyWriter out(key, size);
  bool hazard = writeLevel(out, s, options, Level::kPrimary);
  out.byte(kLevelEnd);
  writeLevel(out, s, options, Level::kSecondary);
  if (hasCaseLevel(options)) {
    out.byte(kLevelEnd);
    writeLevel(out, s, options, Level::kCase);
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
