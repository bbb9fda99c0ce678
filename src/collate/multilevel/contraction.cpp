// The contraction machine of the multi-level comparison.
#include "collate/multilevel/contraction.h"

#include "collate/values/multilevel_values.h"
#include "qstr14/asian.h"

namespace qstr::collate {
namespace {

constexpr uint16_t kLanguageRow = 0;
constexpr uint16_t kFirstExpansionState = 15, kLastExpansionState = kLastActionState;
constexpr uint16_t kUpperBit = 0x20;  // ASCII case bit

// Letters that the action states put in place of the current character and,
// for the expansions, hold back.
constexpr char kPairLetter[] = {'c', 'h', 'l'};                       // states 12-14
constexpr char kExpansion[][2] = {{'a', 'e'}, {'o', 'e'}, {'s', 's'}, {'i', 'j'}};  // states 15-18

}  // namespace

uint16_t getContraction(uint16_t &ch, const uint16_t *&pos, uint16_t language) {
  uint16_t state = getColRule(language, kLanguageRow);
  uint16_t cur = ch, last = 0;
  const uint16_t *look = pos;
  while (state >= 1 && state <= kLastRowState) {
    state = getColRule(qstr::asian::lowerQuickly(cur), state);
    last = cur;
    cur = *look;
    look = colNextCh(look);
  }
  // A character that lowering changes was upper case: the letters follow it.
  const bool upper = qstr::asian::lowerQuickly(ch) != ch;
  if (state >= kFirstPairState && state <= kLastPairState) {
    const uint16_t letter = static_cast<uint16_t>(kPairLetter[state - kFirstPairState]);
    ch = upper ? letter & ~kUpperBit : letter;
    pos = colNextCh(pos);
    return last | kPairMark;
  }
  if (state >= kFirstExpansionState && state <= kLastExpansionState) {
    const char *letters = kExpansion[state - kFirstExpansionState];
    ch = static_cast<uint16_t>(upper ? letters[0] & ~kUpperBit : letters[0]);
    return static_cast<uint16_t>(upper ? letters[1] & ~kUpperBit : letters[1]);
  }
  return 0;
}

namespace {

uint16_t stateAfterFirst(uint16_t ch, uint16_t language) {
  const uint16_t firstRow = getColRule(language, kLanguageRow);
  return firstRow >= 1 && firstRow <= kLastRowState ? getColRule(qstr::asian::lowerQuickly(ch), firstRow) : firstRow;
}

}  // namespace

bool mayStartContraction(uint16_t ch, uint16_t language) {
  const uint16_t state = stateAfterFirst(ch, language);
  return state >= 1 && state <= kLastActionState;
}

uint8_t rowAfterFirst(uint16_t ch, uint16_t language) {
  const uint16_t state = stateAfterFirst(ch, language);
  return state >= 1 && state <= kLastRowState ? static_cast<uint8_t>(state) : 0;
}

namespace {

bool rowHasKey(uint16_t row, uint16_t key) {
  for (unsigned i = kRuleRowStarts[row]; i < kRuleRowStarts[row + 1]; ++i) {
    if (kRuleKeys[i] == key) return true;
  }
  return false;
}

}  // namespace

bool pairLetterMayStartPair(uint16_t language) {
  const uint16_t firstRow = getColRule(language, kLanguageRow);
  if (firstRow < 1 || firstRow > kLastRowState) return false;
  // Walk the rows the language reaches; the keys that lead to a pair state
  // are the letters a pair holds back.
  bool reached[kRuleRows] = {};
  uint16_t pending[kRuleRows];
  unsigned count = 0;
  reached[firstRow] = true;
  pending[count++] = firstRow;
  while (count > 0) {
    const uint16_t row = pending[--count];
    for (unsigned i = kRuleRowStarts[row]; i < kRuleRowStarts[row + 1]; ++i) {
      const uint16_t next = kRuleResults[i];
      if (next >= kFirstPairState && next <= kLastPairState && rowHasKey(firstRow, kRuleKeys[i])) return true;
      if (next >= 1 && next <= kLastRowState && !reached[next]) {
        reached[next] = true;
        pending[count++] = next;
      }
    }
  }
  return false;
}

}  // namespace qstr::collate
