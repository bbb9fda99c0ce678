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

struct SortKey {
  std::vector<uint8_t> bytes;
  bool exact = false;
  std::string fault;
};

// The key of `s` (null allowed), built for its size, then into a guarded buffer.
inline SortKey buildSortKey(const uint16_t *s, std::size_t length, uint16_t language, uint16_t caseFlag,
                            uint16_t kanaFlag) {
  SortKey key;
  int32_t exact = -1, again = -1;
  const std::size_t size = QsKeyBuild(s, language, caseFlag, kanaFlag, nullptr, 0, &exact);
  key.bytes.assign(size + 8, 0x55);
  const std::size_t written = QsKeyBuild(s, language, caseFlag, kanaFlag, key.bytes.data(), size, &again);
  if (exact != 0 && exact != 1) key.fault = "exactness neither 0 nor 1";
  if (size > 14 * length + 2) key.fault = "longer than 14 bytes a unit";
  if (written != size || again != exact) key.fault = "a second build differs";
  if (std::count(key.bytes.begin() + size, key.bytes.end(), 0x55) != 8) key.fault = "written past the size";
  if (exact != 1 && QsKeyAlwaysExact(language, caseFlag, kanaFlag)) key.fault = "inexact where always exact";
  key.bytes.resize(size);
  key.exact = exact == 1;
  return key;
}

// The first promise broken, or "": the comparison is -1, 0 or 1 and
// antisymmetric; keys compare as memcmp; exact keys order as the comparison.
inline std::string keyOrderFault(const std::u16string &a, const std::u16string &b, bool nullA, bool nullB,
                                 uint16_t language, uint16_t caseFlag, uint16_t kanaFlag,
                                 bool *bothExact = nullptr) {
  const uint16_t *pa = nullA ? nullptr : units(a.c_str()), *pb = nullB ? nullptr : units(b.c_str());
  const int32_t ab = QxQS6Cmpcoll(pa, pb, language, caseFlag, kanaFlag);
  if (ab < -1 || ab > 1) return "comparison out of range";
  if (QxQS6Cmpcoll(pb, pa, language, caseFlag, kanaFlag) != -ab) return "comparison not antisymmetric";
  if (QxQS6Cmpcoll(pa, pa, language, caseFlag, kanaFlag) != 0) return "a string unequal to itself";
  const SortKey ka = buildSortKey(pa, a.size(), language, caseFlag, kanaFlag);
  const SortKey kb = buildSortKey(pb, b.size(), language, caseFlag, kanaFlag);
  if (!ka.fault.empty() || !kb.fault.empty()) return "key: " + ka.fault + kb.fault;
  const int32_t keys = QsKeyCompare(ka.bytes.data(), ka.bytes.size(), kb.bytes.data(), kb.bytes.size());
  if (keys != (ka.bytes > kb.bytes) - (ka.bytes < kb.bytes)) return "key comparison is not memcmp's";
  if (bothExact != nullptr) *bothExact = ka.exact && kb.exact;
  if (ka.exact && kb.exact && keys != ab) {
    return "keys give " + std::to_string(keys) + ", the comparison " + std::to_string(ab);
  }
  return "";
}

}  // namespace qstr::test
