// Big5-GB mapping: the bounds and the table entries, and every counterpart
// checked against the code pages: a character of the other page (of its
// GB 2312 area), keeping its Unicode value unless it is a Han ideograph.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "charset/east_asian_placement.h"
#include "country_scope.h"
#include "qstr14/asian.h"
#include "qstr14/charset.h"

namespace {

using qstr::test::ScopedCountry;

TEST(Big5Gb, BoundsAndEntries) {
  struct Case {
    uint16_t(QSTR_CALL *map)(uint32_t);
    uint32_t ch;
    uint16_t expected;
  };
  const std::vector<Case> cases = {
      {big5togb, 0x0041, 0x0041},      {big5togb, 0xA4FF, 0xA4FF},  // below the first Big5 set
      {big5togb, 0xDBA9, 0xDBA9},      {big5togb, 0xDEDE, 0xDEDE},  // past the last character
      {big5togb, 0xA500, 0x8200},      {big5togb, 0xA501, 0x82C7},  // ideographic space, full-width comma
      {big5togb, 0xA502, 0x8201},      {big5togb, 0xDBA4, 0x8DBB},  // ideographic comma, a Traditional form
      {big5togb, 0x1234A500, 0x8200},  // the high half does not count
      {gbtobig5, 0x8200, 0xA500},      {gbtobig5, 0x8201, 0xA502},
      {gbtobig5, 0x8203, 0xA510},      {gbtobig5, 0xA20F, 0xD383},
      {gbtobig5, 0x81FF, 0x81FF},      {gbtobig5, 0xA211, 0xA211}, {gbtobig5, 0xA500, 0xA500},
  };
  for (unsigned countryId : {0u, 3u, 4u}) {  // the country ID plays no part
    ScopedCountry country(countryId);
    for (const Case &c : cases) EXPECT_EQ(c.map(c.ch), c.expected) << std::hex << c.ch;
  }
  // Code 0xFF is no character in these sets: it reads code 0 of the next set.
  for (uint16_t set = 0xA5; set < 0xDB; ++set) {
    const uint16_t next = static_cast<uint16_t>((set + 1) << 8), mapped = big5togb(next);
    EXPECT_EQ(big5togb(set << 8 | 0xFF), mapped == next ? (set << 8 | 0xFF) : mapped) << std::hex << set;
  }
  EXPECT_EQ(gbtobig5(0x82FF), gbtobig5(0x8300));
}

// Outside the Han ideographs only the corner brackets change: the
// transliteration writes Traditional text's corner brackets as Simplified
// text's quotation marks, and back.
const std::set<std::pair<char16_t, char16_t>> kRespelled = {
    {0x300C, 0x201C}, {0x300D, 0x201D}, {0x201C, 0x300C}, {0x201D, 0x300D}};

bool isHanOrUserDefined(char16_t u) {
  return (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xE000 && u <= 0xFAFF);
}

struct Direction {
  uint16_t(QSTR_CALL *map)(uint32_t);
  unsigned sourceCountry, targetCountry;  // whose code page reads each side
  uint16_t first, last;
  unsigned firstResultSet, lastResultSet;
};

std::vector<char16_t> unicodeUnder(unsigned countryId, const std::vector<uint16_t> &natives) {
  ScopedCountry country(countryId);
  std::vector<char16_t> values;
  for (uint16_t n : natives) values.push_back(KZcharQX6xToUnicode(n));
  return values;
}

TEST(Big5Gb, CounterpartsAreCharactersOfTheOtherPage) {
  const std::vector<Direction> directions = {
      {big5togb, 3, 4, 0xA500, 0xDBA8, 0x82, 0xA2},
      {gbtobig5, 4, 3, 0x8200, 0xA210, 0xA5, 0xDB},
  };
  for (const Direction &d : directions) {
    std::vector<uint16_t> sources, results;
    for (uint32_t n = d.first; n <= d.last; ++n) {
      if ((n & 0xFF) != 0xFF && d.map(n) != n) {
        sources.push_back(static_cast<uint16_t>(n));
        results.push_back(d.map(n));
      }
    }
    EXPECT_GT(sources.size(), 6500u);
    const std::vector<char16_t> from = unicodeUnder(d.sourceCountry, sources);
    const std::vector<char16_t> to = unicodeUnder(d.targetCountry, results);
    unsigned failures = 0;
    for (std::size_t i = 0; i < sources.size() && failures < 20; ++i) {
      bool ok = (results[i] >> 8) >= d.firstResultSet && (results[i] >> 8) <= d.lastResultSet &&
                from[i] != 0xFFFF && to[i] != 0xFFFF;
      if (d.targetCountry == 4) {
        const uint16_t code = qstr::charset::lQX6xToDbcs(936, results[i]);
        ok = ok && (code >> 8) >= 0xA1 && (code & 0xFF) >= 0xA1;  // the GB 2312 area
      }
      if (!isHanOrUserDefined(from[i]) && !isHanOrUserDefined(to[i])) {
        ok = ok && (from[i] == to[i] || kRespelled.count({from[i], to[i]}));
      }
      if (!ok && ++failures) {
        ADD_FAILURE() << std::hex << sources[i] << " (U+" << +from[i] << ") -> " << results[i] << " (U+" << +to[i]
                      << ")";
      }
    }
  }
}

}  // namespace
