// The class-mapping tables: layout, the character sets each column uses,
// the code page characters behind the double-width cells, and the index
// that wtoall searches, checked against a plain linear search of the table
// for every character, mode and country ID.
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
using qstr::asian::kClassTables;
using qstr::asian::kDoubleColumn;
using qstr::asian::kSeparator;
using qstr::asian::kSingleColumn;
using qstr::test::codePageOfCountry;
using qstr::test::ScopedCountry;

struct TableShape {
  unsigned countryId;
  std::vector<unsigned> groupSizes;  // pairs in the case, unnamed, kana, width groups
  std::set<unsigned> singleSets;
  std::set<unsigned> doubleSets;
};

std::set<unsigned> range(unsigned first, unsigned last) {
  std::set<unsigned> sets;
  for (unsigned s = first; s <= last; ++s) sets.insert(s);
  return sets;
}

std::set<unsigned> join(std::set<unsigned> a, const std::set<unsigned> &b) {
  a.insert(b.begin(), b.end());
  return a;
}

// The Korean table's Greek case records bring set 8 into its single-width
// column, like every other table's.
const std::vector<TableShape> &shapes() {
  static const std::vector<TableShape> all = {
      {1, {166, 0, 166, 210}, join(range(0, 6), {8, 10, 11}), join(range(0x24, 0x27), {0x2A, 0x2C, 0x51})},
      {2, {188, 0, 0, 273}, join(range(0, 6), {8, 10, 11}), join(range(0x53, 0x58), {0x66})},
      {3, {166, 0, 166, 216}, join({0, 1}, join(range(3, 6), {8, 10, 11})),
       {0xA1, 0xA5, 0xA6, 0xAA, 0xBC, 0xBD, 0xDB}},
      {4, {206, 0, 166, 198}, join({0, 1}, join(range(3, 6), {8, 10, 11})), range(0x81, 0x85)},
  };
  return all;
}

const ClassTable &tableOf(unsigned countryId) { return kClassTables[countryId - 1]; }

// Rows that hold no code page character: the tables keep them as fixed rows.
const std::set<uint16_t> kPlaceholderCells = {0x2CEB, 0x66EB, 0xA1EB, 0xAAFF, 0x81EB};

TEST(ClassTables, GroupsAndSeparators) {
  for (const TableShape &shape : shapes()) {
    SCOPED_TRACE(shape.countryId);
    const ClassTable &table = tableOf(shape.countryId);
    unsigned expectedCount = 0;
    for (unsigned g = 0; g < 4; ++g) {
      expectedCount += shape.groupSizes[g];
      EXPECT_EQ(table.separators[g], expectedCount) << "separator of group " << g;
      ++expectedCount;
    }
    ASSERT_EQ(table.pairCount, expectedCount);
    for (unsigned i = 0; i < table.pairCount; ++i) {
      const bool separator = i == table.separators[0] || i == table.separators[1] ||
                             i == table.separators[2] || i == table.separators[3];
      const uint16_t single = table.pairs[i][kSingleColumn];
      const uint16_t dbl = table.pairs[i][kDoubleColumn];
      if (separator) {
        EXPECT_TRUE(single == kSeparator && dbl == kSeparator) << "pair " << i;
      } else {
        EXPECT_TRUE(single != kSeparator && dbl != kSeparator) << "pair " << i;
        EXPECT_TRUE(single != 0 || dbl != 0) << "pair " << i << " has neither form";
      }
    }
    // The case and kana groups hold records of two pairs from an even index.
    EXPECT_EQ(shape.groupSizes[0] % 2, 0u);
    EXPECT_EQ((table.separators[1] + 1) % 2, 0u);
    EXPECT_EQ(shape.groupSizes[2] % 2, 0u);
  }
}

TEST(ClassTables, EachColumnKeepsToItsWidthAndSets) {
  for (const TableShape &shape : shapes()) {
    SCOPED_TRACE(shape.countryId);
    const ClassTable &table = tableOf(shape.countryId);
    std::set<unsigned> singleSets, doubleSets;
    for (unsigned i = 0; i < table.pairCount; ++i) {
      const uint16_t single = table.pairs[i][kSingleColumn];
      const uint16_t dbl = table.pairs[i][kDoubleColumn];
      if (single == kSeparator) continue;
      if (single != 0) {
        singleSets.insert(single >> 8);
        EXPECT_LE(single >> 8, 11u) << "pair " << i;
        // Flags only on half-width katakana, and one at a time.
        if ((single >> 8) == 11) EXPECT_NE(single & 0xC0, 0xC0u) << "pair " << i;
      }
      if (dbl != 0) {
        doubleSets.insert(dbl >> 8);
        EXPECT_GE(dbl >> 8, 0x24u) << "pair " << i;
      }
    }
    EXPECT_EQ(singleSets, shape.singleSets);
    EXPECT_EQ(doubleSets, shape.doubleSets);
  }
}

TEST(ClassTables, FixedRowsOfTheJapaneseTable) {
  struct Cells {
    uint16_t single, dbl;
  };
  const ClassTable &jp = tableOf(1);
  auto find = [&jp](Cells cells) {
    for (unsigned i = 0; i < jp.pairCount; ++i) {
      if (jp.pairs[i][0] == cells.single && jp.pairs[i][1] == cells.dbl) return static_cast<int>(i);
    }
    return -1;
  };
  // Pairs that follow each other, the first at an even index.
  const std::vector<std::pair<Cells, Cells>> rows = {
      {{0x0041, 0x2520}, {0x0061, 0x2540}},  // "A"/"a" and their full-width forms
      {{0x0800, 0x265E}, {0x0801, 0x267E}},  // the first Greek letters
      {{0x0000, 0x255E}, {0x0B06, 0x2600}},  // hiragana and katakana small a
      {{0x0000, 0x2569}, {0x0B55, 0x260B}},  // voiced: half-width base 0x0B15 with flag 0x40
      {{0x0000, 0x258E}, {0x0BA9, 0x2630}},  // semi-voiced: base 0x0B29 with flag 0x80
  };
  for (const auto &[first, second] : rows) {
    const int at = find(first);
    ASSERT_GE(at, 0) << std::hex << first.single << " " << first.dbl;
    EXPECT_EQ(at % 2, 0);
    EXPECT_EQ(find(second), at + 1) << std::hex << second.single << " " << second.dbl;
  }
  EXPECT_EQ(find({0x0041, 0x2520}), 0);
  // Width group: the space, and a character with two double-width forms.
  EXPECT_GT(find({0x0020, 0x2400}), static_cast<int>(jp.separators[2]));
  const int quote = find({0x0022, 0x51BB});
  EXPECT_GT(quote, static_cast<int>(jp.separators[2]));
  EXPECT_EQ(find({0x0022, 0x2CEB}), quote + 1);
}

// Case records: the single-width cells are an upper/lower pair of the fixed
// rule, and the double-width cells read as the same letters under the
// country's code page. Kana records: a hiragana and its katakana.
TEST(ClassTables, RecordsPairLettersAndKana) {
  for (const TableShape &shape : shapes()) {
    SCOPED_TRACE(shape.countryId);
    ScopedCountry country(shape.countryId);
    const ClassTable &table = tableOf(shape.countryId);
    for (unsigned i = 0; i < table.separators[0]; i += 2) {
      const uint16_t upper = table.pairs[i][0], lower = table.pairs[i + 1][0];
      EXPECT_EQ(wtolower(upper), lower) << "record at " << i;
      EXPECT_EQ(wtoupper(lower), upper) << "record at " << i;
      EXPECT_NE(table.pairs[i + 1][1], 0) << "record at " << i;
      if (table.pairs[i][1] == 0) continue;  // letters only the small one of which has a double width
      const uint16_t upperWide = KZcharQX6xToUnicode(table.pairs[i][1]);
      const uint16_t lowerWide = KZcharQX6xToUnicode(table.pairs[i + 1][1]);
      const bool ascii = upper < 0x80;
      if (ascii) {
        EXPECT_EQ(upperWide, 0xFF21 + (upper - 'A')) << "record at " << i;
        EXPECT_EQ(lowerWide, 0xFF41 + (lower - 'a')) << "record at " << i;
      } else if (!(shape.countryId == 3 && (table.pairs[i][1] >> 8) >= 0xBC)) {
        EXPECT_EQ(upperWide, KZcharQX6xToUnicode(upper)) << "record at " << i;
        EXPECT_EQ(lowerWide, KZcharQX6xToUnicode(lower)) << "record at " << i;
      }
    }
    for (unsigned i = table.separators[1] + 1; i < table.separators[2]; i += 2) {
      EXPECT_EQ(table.pairs[i][0], 0) << "hiragana have no single width, pair " << i;
      if (shape.countryId == 3) continue;  // the extension rows read as user-defined characters under 950
      const uint16_t hiragana = KZcharQX6xToUnicode(table.pairs[i][1]);
      const uint16_t katakana = KZcharQX6xToUnicode(table.pairs[i + 1][1]);
      EXPECT_TRUE(hiragana >= 0x3041 && hiragana <= 0x3093) << "pair " << i;
      EXPECT_EQ(katakana, hiragana + 0x60) << "pair " << i;
    }
  }
}

// Every double-width cell is a character of the country's code page, placed
// as the library places it; the Traditional Chinese extension rows are the
// code page's user-defined area.
TEST(ClassTables, DoubleWidthCellsAreCodePageCharacters) {
  using qstr::charset::lDbcsToQX6x;
  using qstr::charset::lQX6xToDbcs;
  for (const TableShape &shape : shapes()) {
    SCOPED_TRACE(shape.countryId);
    ScopedCountry country(shape.countryId);
    const uint32_t codePage = codePageOfCountry(shape.countryId);
    const ClassTable &table = tableOf(shape.countryId);
    for (unsigned i = 0; i < table.pairCount; ++i) {
      const uint16_t dbl = table.pairs[i][kDoubleColumn];
      if (dbl == 0 || dbl == kSeparator || kPlaceholderCells.count(dbl)) continue;
      const uint16_t code = lQX6xToDbcs(codePage, dbl);
      ASSERT_NE(code, 0xFFFF) << std::hex << dbl;
      EXPECT_EQ(lDbcsToQX6x(codePage, code), dbl) << std::hex << dbl;
      const uint16_t unicode = KZcharQX6xToUnicode(dbl);
      const bool userDefined = unicode >= 0xE000 && unicode <= 0xF8FF;
      const bool extensionRow = shape.countryId == 3 && code >= 0xC6A1 && code <= 0xC8FE;
      EXPECT_NE(unicode, 0xFFFF) << std::hex << dbl;
      EXPECT_EQ(userDefined, extensionRow) << std::hex << dbl << " code " << code << " U+" << unicode;
    }
  }
}

// wtodouble of every printable ASCII character is its full-width form (the
// ideographic space for the space), and wtosingle brings it back. Big5 has
// no full-width circumflex and grave accent.
TEST(ClassTables, AsciiHasItsFullWidthForm) {
  const std::map<unsigned, std::set<uint16_t>> withoutFullWidth = {{3, {'^', '`'}}};
  for (unsigned countryId = 1; countryId <= 4; ++countryId) {
    SCOPED_TRACE(countryId);
    ScopedCountry country(countryId);
    const auto missing = withoutFullWidth.find(countryId);
    for (uint16_t ch = 0x20; ch <= 0x7E; ++ch) {
      const uint16_t wide = wtodouble(ch, nullptr);
      if (missing != withoutFullWidth.end() && missing->second.count(ch)) {
        EXPECT_EQ(wide, ch);
        continue;
      }
      ASSERT_NE(wide, ch) << "0x" << std::hex << ch;
      EXPECT_EQ(wtosingle(wide, nullptr), ch) << "0x" << std::hex << ch;
      const uint16_t unicode = KZcharQX6xToUnicode(wide);
      if (countryId == 3 && unicode >= 0xE000 && unicode <= 0xF8FF) continue;  // extension rows
      EXPECT_EQ(unicode, ch == 0x20 ? 0x3000 : 0xFF01 + (ch - 0x21)) << "0x" << std::hex << ch;
    }
  }
}

// ---- the index against the linear search ----

// The table lookup as a plain walk over the pairs: the first cell of the
// character's own column that equals it, the group counted by the
// separators passed, then the cell the mode asks for.
uint16_t linearLookUp(const ClassTable &table, uint16_t mode, uint16_t ch) {
  if (ch == 0) return ch;
  const unsigned column = (ch >> 8) >= 0x24 ? 1 : 0;
  unsigned separators = 0;
  for (unsigned i = 0; separators < 4; ++i) {
    const uint16_t cell = table.pairs[i][column];
    if (cell == ch) {
      unsigned pair = i, resultColumn = column;
      const bool caseGroup = separators == 0, kanaGroup = separators == 2;
      if (mode == WTO_DOUBLE) resultColumn = 1;
      if (mode == WTO_SINGLE) resultColumn = 0;
      if ((mode == WTO_LOWER && caseGroup) || (mode == WTO_KATAKANA && kanaGroup)) pair = i | 1;
      if ((mode == WTO_UPPER && caseGroup) || (mode == WTO_HIRAGANA && kanaGroup)) pair = i & ~1u;
      const uint16_t result = table.pairs[pair][resultColumn];
      return result == 0 ? ch : result;
    }
    if (cell == kSeparator) ++separators;
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
        const uint16_t expected = table ? linearLookUp(*table, mode, static_cast<uint16_t>(ch))
                                        : static_cast<uint16_t>(ch);
        const uint16_t got = wtoall(mode, ch | 0xABCD0000u);  // the high half does not count
        if (got != expected) {
          ++mismatches;
          ADD_FAILURE() << "mode " << mode << " char 0x" << std::hex << ch << ": 0x" << got
                        << ", the table gives 0x" << expected;
        }
      }
    }
  }
}

}  // namespace
