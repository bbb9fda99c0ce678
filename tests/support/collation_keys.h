// Native strings for the collation tests, and the promises of sort keys against the comparison.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "qstr14/collate.h"
#include "qstr14/keys.h"

namespace qstr::test {

// A native string written as a char16_t literal: one unit a character.
inline const uint16_t *units(const char16_t *s) { return reinterpret_cast<const uint16_t *>(s); }

// The first promise broken, or "": the comparison is -1, 0 or 1 and antisymmetric; each key is
// built alike twice, within its size; keys compare as memcmp; exact keys order as the comparison.
inline std::string keyOrderFault(const std::u16string &a, const std::u16string &b, bool nullA, bool nullB,
                                 uint16_t language, uint16_t caseFlag, uint16_t kanaFlag,
                                 bool *bothExact = nullptr) {
  const uint16_t *pa = nullA ? nullptr : units(a.c_str()), *pb = nullB ? nullptr : units(b.c_str());
  const int32_t ab = QxQS6Cmpcoll(pa, pb, language, caseFlag, kanaFlag);
  if (ab < -1 || ab > 1) return "comparison out of range";
  if (QxQS6Cmpcoll(pb, pa, language, caseFlag, kanaFlag) != -ab) return "comparison not antisymmetric";
  if (QxQS6Cmpcoll(pa, pa, language, caseFlag, kanaFlag) != 0) return "a string unequal to itself";
  std::vector<uint8_t> keys[2];
  bool exact = true;
  for (int i = 0; i < 2; ++i) {
    const uint16_t *s = i == 0 ? pa : pb;
    int32_t first = -1, again = -1;
    const std::size_t size = QsKeyBuild(s, language, caseFlag, kanaFlag, nullptr, 0, &first);
    keys[i].assign(size + 8, 0x55);
    const std::size_t written = QsKeyBuild(s, language, caseFlag, kanaFlag, keys[i].data(), size, &again);
    if (first != 0 && first != 1) return "exactness neither 0 nor 1";
    if (size > 14 * (i == 0 ? a : b).size() + 2) return "longer than 14 bytes a unit";
    if (written != size || again != first) return "a second build differs";
    if (std::count(keys[i].begin() + size, keys[i].end(), 0x55) != 8) return "written past the size";
    if (first == 0 && QsKeyAlwaysExact(language, caseFlag, kanaFlag)) return "inexact where always exact";
    keys[i].resize(size);
    exact = exact && first == 1;
  }
  const int32_t order = QsKeyCompare(keys[0].data(), keys[0].size(), keys[1].data(), keys[1].size());
  if (order != (keys[0] > keys[1]) - (keys[0] < keys[1])) return "key comparison is not memcmp's";
  if (bothExact != nullptr) *bothExact = exact;
  if (exact && order != ab) return "exact keys order otherwise than the comparison";
  return "";
}

}  // namespace qstr::test
