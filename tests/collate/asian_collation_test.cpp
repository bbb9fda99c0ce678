// Collation values and order of the Asian languages, which follow the
// Japanese country ID's class-mapping table for kana and width.
#include <gtest/gtest.h>

#include <ostream>

#include "asian/country_scope.h"
#include "support/collation_keys.h"

namespace {

using qstr::test::ScopedCountry;
using qstr::test::units;

struct Values {
  uint16_t status, primary, secondary;
  uint8_t flags;
  bool operator==(const Values &) const = default;
};

void PrintTo(const Values &v, std::ostream *os) {
  *os << std::hex << "{status " << v.status << ", primary " << v.primary << ", secondary " << v.secondary
      << ", flags " << +v.flags << "}";
}

Values valuesOf(uint16_t ch, uint16_t next = 0, uint16_t previous = 0, bool caseInsensitive = false) {
  Values v{};
  v.status = AsiaGetColValues(ch, next, previous, &v.primary, &v.secondary, &v.flags, caseInsensitive);
  return v;
}

// Kana by syllable, the sound mark in the secondary, kind and width in the
// flags; marks that repeat what came before; the large sets by code.
TEST(AsianValues, Japanese) {
  ScopedCountry japan(1);
  struct Case { uint16_t ch, next, previous; Values want; bool caseInsensitive = false; };
  const Case cases[] = {
      {0x3021, 0, 0, {1, 0x0721, 0, 0}},
      {0x0B15, 0x0B3D, 0, {2, 0x0105, 3, 3}},    // half-width ka + voiced mark: ga
      {0x0B15, 'A', 0, {1, 0x0105, 1, 3}},       // ka alone
      {0x0B15, 0, 0, {2, 0x0105, 1, 3}},         // at the end of a string
      {0x260B, 0, 0, {1, 0x0105, 3, 1}},         // full-width ga: same but for the width flag
      {0x255E, 0, 0, {1, 0x0100, 0, 0}},         // small a, hiragana
      {0x2630, 0, 0, {1, 0x0119, 5, 1}},         // pa: semi-voiced
      {0x2653, 0, 0, {1, 0x0102, 3, 1}},         // vu: a voiced u, near the table's end
      {0x25B6, 0, 0, {0, 0xFFFF, 0x25B6, 0}},    // hiragana past the syllabary
      {0x241B, 0, 0x0107, {1, 0x0102, 1, 0}},    // prolonged sound mark after ku: u
      {0x241B, 0, 0x0080, {0, 0xFFFF, 0x241B, 0}},  // after a Latin letter: no value
      {0x2413, 0, 0x0107, {1, 0x0107, 3, 0}},    // voiced iteration mark
      {0x2418, 0, 0x0721, {1, 0x0721, 0, 0}},    // repeat mark: whatever came before
      {0x2401, 0, 0, {1, 34, 1, 0}},             // ideographic comma with the comma
      {0x2520, 0, 0, {1, 128, 0, 3}},            // full-width A: as "A", width flag
      {'A', 0, 0, {1, 128, 0, 1}}, {'a', 0, 0, {1, 128, 0, 0}}, {'a', 0, 0, {1, 128, 0, 1}, true},
      {0x0129, 0, 0, {1, 135, 1, 0}}, {0x0200, 0, 0, {0, 0xFFFF, 0x0200, 1}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(valuesOf(c.ch, c.next, c.previous, c.caseInsensitive), c.want)
        << std::hex << c.ch << " next " << c.next << " previous " << c.previous;
  }
  // Other countries neither widen half-width katakana nor narrow full-width letters.
  ScopedCountry none(0);
  EXPECT_EQ(valuesOf(0x0B15, 'A'), (Values{0, 0xFFFF, 0x0B15, 3}));
  EXPECT_EQ(valuesOf(0x2520), (Values{0, 0xFFFF, 0x2520, 0}));
  EXPECT_EQ(valuesOf(0x3021), (Values{1, 0x0721, 0, 0}));
}

// Under every Asian language number, those past the table too.
TEST(AsianCompare, KanaAndWidth) {
  ScopedCountry japan(1);
  struct Case { const char16_t *a, *b; int32_t plain, withCase, withKana; };
  const Case cases[] = {
      {u"\u255E", u"\u2600", 0, -1, -1},             // hiragana before katakana, by flag only
      {u"\u260B", u"\u0B15\u0B3D", 0, -1, 0},        // full and half width: flags only
      {u"\u255F", u"\u2600x", -1, -1, -1},           // a before a + x
      {u"\u255F\u241B", u"\u255F\u255F", 0, 0, 0},   // prolonged a = a + a
      {u"\u2561\u2412", u"\u2561\u2561", 0, 0, 0},   // iteration mark repeats i
      {u"A", u"a", 0, 1, 0}, {u"\u3021", u"\u3022", -1, -1, -1},
      {u"\u3021", u"z", 1, 1, 1},                    // large sets after the Latin letters
      {u"\u2569", u"\u2568z", -1, -1, -1},           // ga is ka at the primary level
      {u"\u2569", u"\u2568", 1, 1, 1},               // and after it at the secondary
  };
  for (const Case &c : cases) {
    const uint16_t *a = units(c.a), *b = units(c.b);
    for (uint16_t language : {34, 35, 39, 40, 0xFFFF}) {
      SCOPED_TRACE(testing::Message() << testing::PrintToString(c.a) << " vs " << testing::PrintToString(c.b)
                                      << " in " << language);
      EXPECT_EQ(QxQS6Cmpcoll(a, b, language, 0, 0), c.plain);
      EXPECT_EQ(QxQS6Cmpcoll(a, b, language, 1, 0), c.withCase);
      EXPECT_EQ(QxQS6Cmpcoll(a, b, language, 0, 1), c.withKana);
      EXPECT_EQ(QxQS6Cmpcoll(b, a, language, 0, 1), -c.withKana);
    }
  }
}

// A half-width kana takes its mark along, never the terminator; the
// 16-bit primary goes out high byte first.
TEST(AsianGetColValues, SixteenBitPrimaryHighByteFirst) {
  ScopedCountry japan(1);
  const uint16_t *start = units(u"\u0B15\u0B3D\u3021"), *p = start;
  uint8_t primary[2];
  uint16_t secondary;
  uint8_t flags;
  ASSERT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0, 34), 2);
  EXPECT_EQ(p - start, 2);
  EXPECT_EQ(primary[0] << 8 | primary[1], 0x0105);
  EXPECT_EQ(flags, 3);
  ASSERT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0x0105, 34), 2);
  EXPECT_EQ(primary[0] << 8 | primary[1], 0x0721);
  EXPECT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0x0721, 34), 0);
  start = p = units(u"\u0B15");
  ASSERT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0, 34), 2);
  EXPECT_EQ(p - start, 1);
}

}  // namespace
