// The class-mapping tables: layout, the character sets each column uses,
// the code page characters behind the cells, the records as the exported
// functions see them, and the index that wtoall searches, checked against a
// plain linear search of the table for every character, mode and country.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "asian/class_lookup.h"
#include "asian/class_tables.h"
#include "charset/east_asian_placement.h"
#include "country_scope.h"
#include "qstr14/asian.h"
#include "qstr14/charset.h"

namespace {

using qstr::asian::ClassTable;
using qstr::asian::kSeparator;
using qstr::test::ScopedCountry;

struct TableShape {
  unsigned countryId;
  std::vector<unsigned> groupSizes;  // case, unnamed, kana, width
  std::set<unsigned> singleSets, doubleSets;
};

// The Korean table's Greek case records bring set 8 into its single-width
// column, as in the Japanese and Chinese tables.
const std::vector<TableShape> kShapes = {
    {1, {166, 0, 166, 210}, {0, 1, 2, 3, 4, 5, 6, 8, 10, 11}, {0x24, 0x25, 0x26, 0x27, 0x2A, 0x2C, 0x51}},
    {2, {188, 0, 0, 273}, {0, 1, 2, 3, 4, 5, 6, 8, 10, 11}, {0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x66}},
    {3, {166, 0, 166, 216}, {0, 1, 3, 4, 5, 6, 8, 10, 11}, {0xA1, 0xA5, 0xA6, 0xAA, 0xBC, 0xBD, 0xDB}},
    {4, {206, 0, 166, 198}, {0, 1, 3, 4, 5, 6, 8, 10, 11}, {0x81, 0x82, 0x83, 0x84, 0x85}},
};

// Rows that hold no code page character: fixed rows of the tables.
const std::set<uint16_t> kPlaceholderCells = {0x2CEB, 0x66EB, 0xA1EB, 0xAAFF, 0x81EB};

const ClassTable &tableOf(unsigned countryId) { return *qstr::asian::classTableFor(countryId); }

TEST(ClassTables, Layout) {
  for (const TableShape &shape : kShapes) {
    SCOPED_TRACE(shape.countryId);
    const ClassTable &table = tableOf(shape.countryId);
    std::set<unsigned> separators, singleSets, doubleSets;
    unsigned end = 0;
    for (unsigned g = 0; g < 4; ++g) {
      end += shape.groupSizes[g];
      EXPECT_EQ(table.separators[g], end);
      separators.insert(end++);
    }
    ASSERT_EQ(table.pairCount, end);
    // Case and kana records start at even indices.
    EXPECT_EQ(shape.groupSizes[0] % 2 + (table.separators[1] + 1) % 2 + shape.groupSizes[2] % 2, 0u);
    for (unsigned i = 0; i < table.pairCount; ++i) {
      const uint16_t single = table.pairs[i][0], dbl = table.pairs[i][1];
      EXPECT_EQ(single == kSeparator || dbl == kSeparator, separators.count(i) == 1) << "pair " << i;
      if (separators.count(i)) {
        EXPECT_TRUE(single == kSeparator && dbl == kSeparator) << "pair " << i;
        continue;
      }
      EXPECT_TRUE(single != 0 || dbl != 0) << "pair " << i;
      if (single != 0) singleSets.insert(single >> 8);
      if (dbl != 0) doubleSets.insert(dbl >> 8);
      // Flags only on half-width katakana, one at a time.
      if ((single >> 8) == 11) EXPECT_NE(single & 0xC0, 0xC0) << "pair " << i;
    }
    EXPECT_EQ(singleSets, shape.singleSets);
    EXPECT_EQ(doubleSets, shape.doubleSets);
  }
}

TEST(ClassTables, FixedRowsOfTheJapaneseTable) {
  using Cells = std::pair<uint16_t, uint16_t>;
  const ClassTable &jp = tableOf(1);
  auto find = [&jp](Cells cells) {
    for (unsigned i = 0; i < jp.pairCount; ++i) {
      if (jp.pairs[i][0] == cells.first && jp.pairs[i][1] == cells.second) return static_cast<int>(i);
    }
    return -1;
  };
  // Records: two pairs that follow each other from an even index.
  const std::vector<std::pair<Cells, Cells>> records = {
      {{0x0041, 0x2520}, {0x0061, 0x2540}},  // "A"/"a"
      {{0x0800, 0x265E}, {0x0801, 0x267E}},  // the first Greek letters
      {{0x0000, 0x255E}, {0x0B06, 0x2600}},  // hiragana and katakana small a
      {{0x0000, 0x2569}, {0x0B55, 0x260B}},  // voiced: half-width base 0x0B15 with flag 0x40
      {{0x0000, 0x258E}, {0x0BA9, 0x2630}},  // semi-voiced: base 0x0B29 with flag 0x80
  };
  for (const auto &[first, second] : records) {
    const int at = find(first);
    EXPECT_TRUE(at >= 0 && at % 2 == 0 && find(second) == at + 1) << std::hex << first.second;
  }
  EXPECT_EQ(find({0x0041, 0x2520}), 0);
  const int width = static_cast<int>(jp.separators[2]);
  EXPECT_GT(find({0x0020, 0x2400}), width);
  EXPECT_GT(find({0x0022, 0x51BB}), width);
  EXPECT_EQ(find({0x0022, 0x2CEB}), find({0x0022, 0x51BB}) + 1);  // two forms, in this order
}

// Every double-width cell is a character of the country's code page,
// placed as the library places it; the Traditional Chinese extension rows
// are the code page's user-defined area.
TEST(ClassTables, DoubleWidthCellsAreCodePageCharacters) {
  for (const TableShape &shape : kShapes) {
    SCOPED_TRACE(shape.countryId);
    ScopedCountry country(shape.countryId);
    const uint32_t codePage = qstr::test::codePageOfCountry(shape.countryId);
    const ClassTable &table = tableOf(shape.countryId);
    for (unsigned i = 0; i < table.pairCount; ++i) {
      const uint16_t dbl = table.pairs[i][1];
      if (dbl == 0 || dbl == kSeparator || kPlaceholderCells.count(dbl)) continue;
      const uint16_t code = qstr::charset::lQX6xToDbcs(codePage, dbl);
      EXPECT_EQ(qstr::charset::lDbcsToQX6x(codePage, code), dbl) << std::hex << dbl;
      const uint16_t unicode = KZcharQX6xToUnicode(dbl);
      const bool extensionRow = shape.countryId == 3 && code >= 0xC6A1 && code <= 0xC8FE;
      EXPECT_NE(unicode, 0xFFFF) << std::hex << dbl;
      EXPECT_EQ(unicode >= 0xE000 && unicode <= 0xF8FF, extensionRow) << std::hex << dbl;
    }
  }
}

// wtodouble of printable ASCII is its full-width form (the ideographic space
// for the space) and wtosingle brings it back; Big5 lacks "^" and "`".
TEST(ClassTables, AsciiHasItsFullWidthForm) {
  const std::map<unsigned, std::set<uint16_t>> withoutFullWidth = {{3, {'^', '`'}}};
  for (unsigned countryId = 1; countryId <= 4; ++countryId) {
    ScopedCountry country(countryId);
    const auto missing = withoutFullWidth.find(countryId);
    for (uint16_t ch = 0x20; ch <= 0x7E; ++ch) {
      const uint16_t wide = wtodouble(ch, nullptr);
      if (missing != withoutFullWidth.end() && missing->second.count(ch)) {
        EXPECT_EQ(wide, ch);
        continue;
      }
      EXPECT_EQ(wtosingle(wide, nullptr), ch) << countryId << std::hex << " 0x" << ch;
      const uint16_t unicode = KZcharQX6xToUnicode(wide);
      if (countryId == 3 && unicode >= 0xE000 && unicode <= 0xF8FF) continue;  // extension rows
      EXPECT_EQ(unicode, ch == 0x20 ? 0x3000 : 0xFF01 + (ch - 0x21)) << countryId << std::hex << " 0x" << ch;
    }
  }
}

// Case records: the letters read the same in both widths, and the
// double-width ones change case and answer wisupper through their
// single-width forms. Kana records: hiragana and katakana map to each
// other, and a katakana goes to single width and back, its sound mark split
// off and joined again.
TEST(ClassTables, RecordsThroughTheExportedMappings) {
  for (unsigned countryId = 1; countryId <= 4; ++countryId) {
    SCOPED_TRACE(countryId);
    ScopedCountry country(countryId);
    const ClassTable &table = tableOf(countryId);
    for (unsigned i = 0; i < table.separators[0]; i += 2) {
      const uint16_t upper = table.pairs[i][1], lower = table.pairs[i + 1][1];
      EXPECT_EQ(wtolower(table.pairs[i][0]), table.pairs[i + 1][0]) << "pair " << i;
      EXPECT_EQ(wisupper(lower), 0) << "pair " << i;
      if (upper == 0) {  // a small letter without a double-width capital
        EXPECT_EQ(wtoupper(lower), lower) << "pair " << i;
        continue;
      }
      EXPECT_EQ(wtolower(upper), lower) << "pair " << i;
      EXPECT_EQ(wtoupper(lower), upper) << "pair " << i;
      EXPECT_EQ(wisupper(upper), 1) << "pair " << i;
      const bool extensionRow = countryId == 3 && (upper >> 8) >= 0xBC;
      if (table.pairs[i][0] >= 0x80 && !extensionRow) {
        EXPECT_EQ(KZcharQX6xToUnicode(upper), KZcharQX6xToUnicode(table.pairs[i][0])) << "pair " << i;
      }
    }
    for (unsigned i = table.separators[1] + 1; i < table.separators[2]; i += 2) {
      const uint16_t hiragana = table.pairs[i][1], katakana = table.pairs[i + 1][1];
      EXPECT_EQ(table.pairs[i][0], 0) << "pair " << i;
      EXPECT_EQ(wtokatakana(hiragana), katakana) << "pair " << i;
      EXPECT_EQ(wtohiragana(katakana), hiragana) << "pair " << i;
      if (countryId != 3) EXPECT_EQ(KZcharQX6xToUnicode(katakana), KZcharQX6xToUnicode(hiragana) + 0x60);
      uint16_t mark = 0xFFFF;
      const uint16_t half = wtosingle(katakana, &mark);
      if (half == katakana) continue;  // small wa, wi, we have no half-width form
      if (mark == 0) EXPECT_EQ(wtohiragana(half), hiragana) << "pair " << i;
      EXPECT_EQ(wtodouble(half, &mark), katakana) << "pair " << i;
      EXPECT_EQ(mark, 0) << "pair " << i;
    }
  }
}

// The table lookup as a plain walk over the pairs: the first cell of the
// character's own column that equals it, its group counted by the
// separators passed, then the cell the mode asks for.
uint16_t linearLookUp(const ClassTable &table, uint16_t mode, uint16_t ch) {
  if (ch == 0) return ch;
  const unsigned column = (ch >> 8) >= 0x24 ? 1 : 0;
  for (unsigned i = 0, separators = 0; separators < 4; ++i) {
    const uint16_t cell = table.pairs[i][column];
    if (cell != ch) {
      if (cell == kSeparator) ++separators;
      continue;
    }
    unsigned pair = i, resultColumn = column;
    if (mode == WTO_DOUBLE || mode == WTO_SINGLE) resultColumn = mode == WTO_DOUBLE ? 1 : 0;
    const bool caseGroup = separators == 0, kanaGroup = separators == 2;
    if ((mode == WTO_LOWER && caseGroup) || (mode == WTO_KATAKANA && kanaGroup)) pair = i | 1;
    if ((mode == WTO_UPPER && caseGroup) || (mode == WTO_HIRAGANA && kanaGroup)) pair = i & ~1u;
    const uint16_t result = table.pairs[pair][resultColumn];
    return result == 0 ? ch : result;
  }
  return ch;
}

TEST(ClassIndex, AgreesWithTheLinearSearchEverywhere) {
  for (unsigned countryId = 0; countryId <= 6; ++countryId) {
    SCOPED_TRACE(countryId);
    ScopedCountry country(countryId);
    const ClassTable *table = qstr::asian::classTableFor(countryId);
    unsigned mismatches = 0;
    for (uint32_t ch = 0; ch <= 0xFFFF && mismatches < 10; ++ch) {
      for (uint16_t mode = 0; mode <= 7; ++mode) {
        const uint16_t c = static_cast<uint16_t>(ch);
        const uint16_t expected = table ? linearLookUp(*table, mode, c) : c;
        const uint16_t got = wtoall(mode, ch | 0xABCD0000u);  // the high half does not count
        if (got != expected && ++mismatches) {
          ADD_FAILURE() << "mode " << mode << std::hex << " 0x" << ch << ": 0x" << got << ", not 0x" << expected;
        }
      }
    }
  }
}

}  // namespace
