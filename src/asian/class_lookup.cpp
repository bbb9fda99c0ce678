#include "asian/class_lookup.h"

#include <algorithm>

#include "qstr14/asian.h"

namespace qstr::asian {
namespace {

constexpr unsigned kFirstDoubleWidthSet = 0x24;

unsigned columnOf(uint16_t ch) { return (ch >> 8) >= kFirstDoubleWidthSet ? kDoubleColumn : kSingleColumn; }

// The pair and column holding the form `mode` asks for, starting from the
// pair where the character was found in `column`.
struct Cell {
  unsigned pair;
  unsigned column;
};

Cell formCell(unsigned group, uint16_t mode, unsigned pair, unsigned column) {
  const unsigned even = pair & ~1u;
  const unsigned odd = pair | 1u;
  switch (mode) {
    case WTO_DOUBLE: return {pair, kDoubleColumn};
    case WTO_SINGLE: return {pair, kSingleColumn};
    case WTO_LOWER: return {group == kCaseGroup ? odd : pair, column};
    case WTO_UPPER: return {group == kCaseGroup ? even : pair, column};
    case WTO_KATAKANA: return {group == kKanaGroup ? odd : pair, column};
    case WTO_HIRAGANA: return {group == kKanaGroup ? even : pair, column};
    default: return {pair, column};
  }
}

}  // namespace

const ClassTable *classTableFor(unsigned countryId) {
  if (countryId < 1 || countryId > kClassTableCount) return nullptr;
  return &kClassTables[countryId - 1];
}

int firstPairHolding(const ClassTable &table, unsigned column, uint16_t ch) {
  const ClassIndex &index = table.columns[column];
  const ClassIndexEntry *end = index.entries + index.size;
  const ClassIndexEntry *found = std::lower_bound(
      index.entries, end, ch, [](const ClassIndexEntry &entry, uint16_t key) { return entry.cell < key; });
  if (found == end || found->cell != ch) return -1;
  return found->pair;
}

unsigned groupOf(const ClassTable &table, unsigned pair) {
  unsigned group = 0;
  while (group < kGroupCount && table.separators[group] < pair) ++group;
  return group;
}

uint16_t lookUpForm(const ClassTable &table, uint16_t mode, uint16_t ch) {
  if (ch == 0) return ch;
  const unsigned column = columnOf(ch);
  const int pair = firstPairHolding(table, column, ch);
  if (pair < 0) return ch;
  const Cell cell = formCell(groupOf(table, static_cast<unsigned>(pair)), mode, static_cast<unsigned>(pair), column);
  const uint16_t form = table.pairs[cell.pair][cell.column];
  return form == 0 ? ch : form;
}

}  // namespace qstr::asian
