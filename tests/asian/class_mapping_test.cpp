// The class mappings: the fixed case rule of sets 0-15, each country's table against a linear
// walk, sound marks, upper-casing, Big5-GB.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "asian/class_lookup.h"
#include "country_scope.h"
#include "qstr14/asian.h"

namespace {

using namespace qstr::asian;
using qstr::test::ScopedCountry;

// Sets 0-15 change case only for ASCII letters and the even/odd pairs of the rngchr ranges.
TEST(FixedCase, ChangesExactlyTheCasePairs) {
  for (unsigned countryId : {0u, 1u}) {
    ScopedCountry country(countryId);
    for (uint16_t ch = 0; ch < 0x1000; ++ch) {
      const unsigned set = ch >> 8, code = ch & 0xFF;
      const uint8_t *range = set >= 1 ? rngchr[set - 1] : nullptr;
      const bool inRange = range != nullptr && range[1] != 0 && code >= range[0] && code <= range[1];
      const bool upper = (ch >= 'A' && ch <= 'Z') || (inRange && code % 2 == 0);
      const bool lower = (ch >= 'a' && ch <= 'z') || (inRange && code % 2 == 1);
      const int step = set == 0 ? 0x20 : 1;
      EXPECT_EQ(wtolower(ch), upper ? ch + step : ch) << ch;
      EXPECT_EQ(wtoupper(ch), lower ? ch - step : ch) << ch;
      EXPECT_EQ(wisupper(ch), upper ? 1 : 0) << ch;
    }
  }
}

uint16_t QSTR_CALL isUpper(uint32_t ch) { return static_cast<uint16_t>(wisupper(ch)); }

TEST(ClassMapping, ByCountry) {
  struct Case { unsigned countryId; uint16_t(QSTR_CALL *mapping)(uint32_t); uint32_t ch; uint16_t expected; };
  const Case cases[] = {
      // Without a table only the fixed rule applies; with one the table answers from set 16.
      {0, isUpper, 0x2520, 0}, {6, isUpper, 0x2520, 0},
      {1, wtolower, 0xABCD2520, 0x2540}, {1, wtoupper, 0x2540, 0x2520}, {1, isUpper, 0x2520, 1},
      {1, isUpper, 0x2540, 0}, {1, isUpper, 0x3000, 0},
      {1, wtohiragana, 0x0B06, 0x255E},
      // Big5-GB: table bounds, an entry of 0, the index skipping code 0xFF.
      {0, big5togb, 0xA4FF, 0xA4FF}, {0, big5togb, 0xA500, 0x8200}, {0, big5togb, 0xA505, 0xA505},
      {0, big5togb, 0xDBA9, 0xDBA9}, {0, gbtobig5, 0x81FF, 0x81FF}, {0, gbtobig5, 0x82FF, 0xA628},
      {0, gbtobig5, 0xA210, 0xB95E}, {0, gbtobig5, 0xA211, 0xA211},
  };
  for (const Case &c : cases) {
    ScopedCountry country(c.countryId);
    EXPECT_EQ(c.mapping(c.ch), c.expected) << &c - cases;
  }
}

// The lookup as a plain walk: the first cell of the character's own column that equals it,
// its group by the separators passed, the cell the mode asks for.
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
    ScopedCountry country(countryId);
    const ClassTable *table = classTableFor(countryId);
    for (uint32_t ch = 0; ch <= 0xFFFF; ++ch) {
      for (uint16_t mode = 0; mode <= 7; ++mode) {
        const uint16_t c = static_cast<uint16_t>(ch), expected = table ? linearLookUp(*table, mode, c) : c;
        ASSERT_EQ(wtoall(mode, ch | 0xABCD0000u), expected) << countryId << "/" << mode << "/" << ch;
      }
    }
  }
}

// wtodouble takes a half-width kana's sound mark from the slot; wtosingle puts it back.
TEST(ClassMapping, HalfWidthSoundMarks) {
  struct Case { bool toDouble; uint16_t ch, slotBefore, result, slotAfter; };
  const Case cases[] = {
      {true, 0x0B29, 0x0B3E, 0x2630, 0}, {true, 0x0B10, 0x0B3D, 0x2601, 0x0B3D},
      {true, 0x0B15, 0x0B3E, 0x260A, 0x0B3E}, {true, 0x260A, 0x0B3D, 0x260A, 0x0B3D},
      {false, 0x260B, 0xFFFF, 0x0B15, 0x0B3D}, {false, 0x2630, 0xFFFF, 0x0B29, 0x0B3E},
      {false, 0x260A, 0xFFFF, 0x0B15, 0},
      {false, 0x2569, 0xFFFF, 0x2569, 0},  // no half-width hiragana
  };
  ScopedCountry country(1);
  for (const Case &c : cases) {
    uint16_t slot = c.slotBefore;
    EXPECT_EQ(c.toDouble ? wtodouble(c.ch, &slot) : wtosingle(c.ch, &slot), c.result) << &c - cases;
    EXPECT_EQ(slot, c.slotAfter) << &c - cases;
  }
  EXPECT_EQ(wtodouble(0x0B15, nullptr), 0x260A);  // no slot: the kana alone
}

// s2upper keeps a document stream's groups, zero bytes inside them too.
TEST(UpperStrings, DocumentStream) {
  using Bytes = std::vector<uint8_t>;
  const Bytes source = {'a', 0xF0, 0x1B, 1, 0xF0, 0xF0, 0, 1, 0xF0, 0xF0, 0x61, 0, 0xF0, 'z', 0};
  const Bytes upper = {'A', 0xF0, 0x1A, 1, 0xF0, 0xF0, 0, 1, 0xF0, 0xF0, 0x41, 0, 0xF0, 'Z', 0};
  Bytes out(source.size(), 0xEE);
  s2upper(out.data(), source.data());
  EXPECT_EQ(out, upper);
}

// ws2upper up to the terminator; ws2uppern within a size in bytes, maybe without it.
TEST(UpperStrings, NativeStrings) {
  ScopedCountry country(1);
  using Units = std::vector<uint16_t>;
  const uint16_t x = 0xEEEE;
  const Units source = {'a', 0x011B, 0x2540, 0xF90A, 'Z', 0}, upper = {'A', 0x011A, 0x2520, 0xF90A, 'Z', 0};
  Units out(source.size(), x), untouched(2, x);
  ws2upper(out.data(), source.data());
  ws2upper(untouched.data(), nullptr);
  ws2upper(nullptr, source.data());
  EXPECT_EQ(out, upper);
  EXPECT_EQ(untouched, Units(2, x));
  const std::pair<int32_t, long> limited[] = {{1, 0}, {4, 2}, {5, 2}, {100, 6}};
  for (const auto &[size, written] : limited) {
    Units dst(7, x), expected(7, x);
    std::copy(upper.begin(), upper.begin() + written, expected.begin());
    ws2uppern(dst.data(), source.data(), size);
    EXPECT_EQ(dst, expected) << size;
  }
}

}  // namespace
