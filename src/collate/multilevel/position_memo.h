// The values one character takes in the multi-level comparison of one
// language, worked out once per language for the characters of sets 0-14
// and read back by index. They depend on nothing but the character and the
// language (constant tables), so the answers are those of the functions
// themselves.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "base/build_once.h"

namespace qstr::collate {

struct MemoizedValues {
  uint8_t primary;         // f_QX60ColVal(ch, language) & 0xFF
  uint8_t caseValue;       // f_wislower(ch) & 0xFF
  uint16_t secondary;      // getDiaValue(ch, primary, language)
  bool mayContract;        // mayStartContraction(ch, language)
  uint8_t followerRow;     // rowAfterFirst(ch, language), where the language contracts
  uint16_t pairSecondary;  // getDiaValue(ch, (primary + 1) & 0xFF, language): as a pair's letter
};

inline constexpr uint16_t kMemoizedEnd = 0x0F00;  // characters of sets 0-14

// Each language's memo, built on its first use and never changed
// afterwards; read here without a call once built.
inline constexpr unsigned kMemoizedLanguages = 40;
using Memo = std::array<MemoizedValues, kMemoizedEnd>;
extern std::array<base::BuiltOnce<std::unique_ptr<Memo>>, kMemoizedLanguages> memos;

// Builds the language's memo on its first use.
const MemoizedValues *buildMemoizedValues(uint16_t language);

// The values of `ch` (below kMemoizedEnd) for `language`, or null when the
// language has no memo (numbers past the language table).
inline const MemoizedValues *memoizedValues(uint16_t language) {
  if (language >= kMemoizedLanguages) return nullptr;
  if (const std::unique_ptr<Memo> *memo = memos[language].ifBuilt()) return (*memo)->data();
  return buildMemoizedValues(language);
}

}  // namespace qstr::collate
