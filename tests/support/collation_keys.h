// The promises of sort keys against the multi-level comparison, checked in
// one place for the collation tests and the collation fuzz target: a key is
// built once for its length and once into a guarded buffer, and two strings
// order by their keys (memcmp order, shorter first) as the comparison
// orders them wherever both keys are exact.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "qstr14/collate.h"
#include "qstr14/keys.h"

namespace qstr::test {

struct SortKey {
  std::vector<uint8_t> bytes;
  bool exact = false;
  std::string fault;  // the promise the key builder broke, if any
};

// The key of `s` (null allowed), a string of `units` units.
inline SortKey buildSortKey(const uint16_t *s, std::size_t units, uint16_t language, uint16_t caseFlag,
                            uint16_t kanaFlag) {
  SortKey key;
  int32_t exact = -1, again = -1;
  const std::size_t length = QsKeyBuild(s, language, caseFlag, kanaFlag, nullptr, 0, &exact);
  key.bytes.assign(length + 8, 0x55);
  const std::size_t written = QsKeyBuild(s, language, caseFlag, kanaFlag, key.bytes.data(), length, &again);
  if (exact != 0 && exact != 1) key.fault = "exactness neither 0 nor 1";
  if (length > 14 * units + 2) key.fault = "longer than 14 bytes a unit";
  if (written != length || again != exact) key.fault = "a second build differs";
  if (std::any_of(key.bytes.begin() + length, key.bytes.end(), [](uint8_t b) { return b != 0x55; })) {
    key.fault = "written past the size";
  }
  if (exact != 1 && QsKeyAlwaysExact(language, caseFlag, kanaFlag)) key.fault = "not exact where always exact";
  key.bytes.resize(length);
  key.exact = exact == 1;
  return key;
}

inline int32_t signOf(int64_t v) { return (v > 0) - (v < 0); }

// The first promise that the comparison or the keys of a and b break, or
// "": the comparison answers -1, 0 or 1, antisymmetric and 0 for a string
// against itself; key comparison is memcmp's; exact keys order as the
// comparison. `bothExact` tells whether the last promise was checked.
inline std::string keyOrderFault(const std::vector<uint16_t> &a, const std::vector<uint16_t> &b, bool nullA,
                                 bool nullB, uint16_t language, uint16_t caseFlag, uint16_t kanaFlag,
                                 bool *bothExact = nullptr) {
  std::vector<uint16_t> ta = a, tb = b;
  ta.push_back(0);
  tb.push_back(0);
  const uint16_t *pa = nullA ? nullptr : ta.data(), *pb = nullB ? nullptr : tb.data();
  const int32_t ab = QxQS6Cmpcoll(pa, pb, language, caseFlag, kanaFlag);
  if (ab < -1 || ab > 1) return "comparison out of range";
  if (QxQS6Cmpcoll(pb, pa, language, caseFlag, kanaFlag) != -ab) return "comparison not antisymmetric";
  if (QxQS6Cmpcoll(pa, pa, language, caseFlag, kanaFlag) != 0) return "a string unequal to itself";
  const SortKey ka = buildSortKey(pa, a.size(), language, caseFlag, kanaFlag);
  const SortKey kb = buildSortKey(pb, b.size(), language, caseFlag, kanaFlag);
  if (!ka.fault.empty() || !kb.fault.empty()) return "key: " + ka.fault + kb.fault;
  const int32_t keys = QsKeyCompare(ka.bytes.data(), ka.bytes.size(), kb.bytes.data(), kb.bytes.size());
  const std::size_t common = std::min(ka.bytes.size(), kb.bytes.size());
  int32_t bytes = common == 0 ? 0 : signOf(std::memcmp(ka.bytes.data(), kb.bytes.data(), common));
  if (bytes == 0) bytes = signOf(static_cast<int64_t>(ka.bytes.size()) - static_cast<int64_t>(kb.bytes.size()));
  if (keys != bytes) return "key comparison is not memcmp's";
  if (bothExact != nullptr) *bothExact = ka.exact && kb.exact;
  if (ka.exact && kb.exact && keys != ab) {
    return "keys give " + std::to_string(keys) + ", the comparison " + std::to_string(ab);
  }
  return "";
}

}  // namespace qstr::test
