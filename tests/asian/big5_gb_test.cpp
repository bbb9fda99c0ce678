// Big5-GB mapping: the bounds and the table entries, checked against the
// code pages: every counterpart is a character of the other page, and a
// character that is not a Han ideograph keeps its Unicode value.
#include <gtest/gtest.h>

#include <vector>

#include "charset/east_asian_placement.h"
#include "country_scope.h"
#include "qstr14/asian.h"
#include "qstr14/charset.h"

namespace {

using qstr::test::ScopedCountry;

struct Case {
  uint16_t (*map)(uint32_t);
  const char *name;
  uint32_t ch;
  uint16_t expected;
};

TEST(Big5Gb, BoundsAndEntries) {
  const std::vector<Case> cases = {
      {big5togb, "big5togb", 0x0041, 0x0041},
      {big5togb, "big5togb", 0xA4FF, 0xA4FF},  // below the first Big5 set
      {big5togb, "big5togb", 0xDBA9, 0xDBA9},  // past the last character
      {big5togb, "big5togb", 0xDEDE, 0xDEDE},
      {big5togb, "big5togb", 0xA500, 0x8200},  // ideographic space
      {big5togb, "big5togb", 0xA501, 0x82C7},  // full-width comma
      {big5togb, "big5togb", 0xA502, 0x8201},  // ideographic comma
      {big5togb, "big5togb", 0xDBA4, 0x8DBB},  // a Traditional form becomes the Simplified one
      {big5togb, "big5togb", 0x1234A500, 0x8200},  // the high half does not count
      {gbtobig5, "gbtobig5", 0x8200, 0xA500},
      {gbtobig5, "gbtobig5", 0x8201, 0xA502},
      {gbtobig5, "gbtobig5", 0x8203, 0xA510},
      {gbtobig5, "gbtobig5", 0xA20F, 0xD383},
      {gbtobig5, "gbtobig5", 0x81FF, 0x81FF},
      {gbtobig5, "gbtobig5", 0xA211, 0xA211},
      {gbtobig5, "gbtobig5", 0xA500, 0xA500},  // a Big5 character is not GB
  };
  for (unsigned countryId : {0u, 3u, 4u}) {  // the country ID plays no part
    ScopedCountry country(countryId);
    for (const Case &c : cases) {
      EXPECT_EQ(c.map(c.ch), c.expected) << c.name << "(0x" << std::hex << c.ch << ")";
    }
  }
}

// Code 0xFF is no character in these sets: its index is that of code 0 of
// the next set.
TEST(Big5Gb, CodeFFReadsTheNextSetsFirstEntry) {
  for (uint16_t set = 0xA5; set < 0xDB; ++set) {
    const uint16_t ff = static_cast<uint16_t>(set << 8 | 0xFF), next = static_cast<uint16_t>((set + 1) << 8);
    const uint16_t expected = big5togb(next) == next ? ff : big5togb(next);
    EXPECT_EQ(big5togb(ff), expected) << std::hex << ff;
  }
  for (uint16_t set = 0x82; set < 0xA2; ++set) {
    const uint16_t ff = static_cast<uint16_t>(set << 8 | 0xFF), next = static_cast<uint16_t>((set + 1) << 8);
    const uint16_t expected = gbtobig5(next) == next ? ff : gbtobig5(next);
    EXPECT_EQ(gbtobig5(ff), expected) << std::hex << ff;
  }
}

bool isHan(char16_t u) {
  return (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF);
}

bool isUserDefined(char16_t u) { return u >= 0xE000 && u <= 0xF8FF; }

// Characters outside the Han ideographs that change their value: the
// transliteration writes Traditional text's corner brackets as Simplified
// text's quotation marks, and back.
const std::vector<std::pair<char16_t, char16_t>> kRespelled = {
    {0x300C, 0x201C}, {0x300D, 0x201D}, {0x201C, 0x300C}, {0x201D, 0x300D}};

bool respelled(char16_t from, char16_t to) {
  for (const auto &[a, b] : kRespelled) {
    if (a == from && b == to) return true;
  }
  return false;
}

struct Direction {
  const char *name;
  uint16_t (*map)(uint32_t);
  unsigned sourceCountry, targetCountry;
  uint16_t first, last;
  uint32_t targetPage;
  unsigned firstResultSet, lastResultSet;
};

TEST(Big5Gb, CounterpartsAreCharactersOfTheOtherPage) {
  using qstr::charset::lQX6xToDbcs;
  const std::vector<Direction> directions = {
      {"big5togb", big5togb, 3, 4, 0xA500, 0xDBA8, 936, 0x82, 0xA2},
      {"gbtobig5", gbtobig5, 4, 3, 0x8200, 0xA210, 950, 0xA5, 0xDB},
  };
  for (const Direction &d : directions) {
    SCOPED_TRACE(d.name);
    std::vector<std::pair<uint16_t, uint16_t>> mapped;  // source, counterpart
    {
      ScopedCountry source(d.sourceCountry);
      for (uint32_t n = d.first; n <= d.last; ++n) {
        if ((n & 0xFF) == 0xFF) continue;
        const uint16_t result = d.map(n);
        if (result != n) mapped.push_back({static_cast<uint16_t>(n), result});
      }
    }
    std::vector<char16_t> sourceValues, targetValues;
    {
      ScopedCountry source(d.sourceCountry);
      for (const auto &[n, result] : mapped) sourceValues.push_back(KZcharQX6xToUnicode(n));
    }
    {
      ScopedCountry target(d.targetCountry);
      for (const auto &[n, result] : mapped) targetValues.push_back(KZcharQX6xToUnicode(result));
    }
    unsigned failures = 0;
    for (std::size_t i = 0; i < mapped.size() && failures < 20; ++i) {
      const auto [n, result] = mapped[i];
      const char16_t from = sourceValues[i], to = targetValues[i];
      const unsigned set = result >> 8;
      bool ok = set >= d.firstResultSet && set <= d.lastResultSet;
      ok = ok && to != 0xFFFF && from != 0xFFFF;
      if (d.targetPage == 936) {
        const uint16_t code = lQX6xToDbcs(936, result);
        ok = ok && (code >> 8) >= 0xA1 && (code & 0xFF) >= 0xA1;  // the GB 2312 area
      }
      // Outside the Han ideographs a character keeps its value; the Big5
      // extension rows read as user-defined characters under 950.
      if (!isHan(from) && !isHan(to) && !isUserDefined(from) && !isUserDefined(to)) {
        ok = ok && (from == to || respelled(from, to));
      }
      if (!ok) {
        ++failures;
        ADD_FAILURE() << std::hex << "0x" << n << " (U+" << static_cast<unsigned>(from) << ") -> 0x" << result
                      << " (U+" << static_cast<unsigned>(to) << ")";
      }
    }
    EXPECT_GT(mapped.size(), 6500u);
  }
}

}  // namespace
