// Collation values of the Asian languages, under the Japanese country ID
// (whose class-mapping table the kana and width rules follow) and others.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "asian/country_scope.h"
#include "collate/multilevel_strings.h"
#include "qstr14/collate.h"

namespace {

using qstr::test::Native;
using qstr::test::ScopedCountry;

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

TEST(AsianValues, Japanese) {
  ScopedCountry japan(1);
  struct Case { uint16_t ch, next, previous; Values want; bool caseInsensitive = false; };
  const Case cases[] = {
      {0x3021, 0, 0, {1, 0x0721, 0, 0}},         // large sets: by code
      {0x0B15, 0x0B3D, 0, {2, 0x0105, 3, 3}},    // half-width ka + voiced mark: ga
      {0x0B15, 'A', 0, {1, 0x0105, 1, 3}},       // ka alone
      {0x0B15, 0, 0, {2, 0x0105, 1, 3}},         // at the end of a string
      {0x260B, 0, 0, {1, 0x0105, 3, 1}},         // full-width ga: same but for the width flag
      {0x255E, 0, 0, {1, 0x0100, 0, 0}},         // small a, hiragana
      {0x2600, 0, 0, {1, 0x0100, 0, 1}},         // small a, katakana
      {0x2630, 0, 0, {1, 0x0119, 5, 1}},         // pa: semi-voiced
      {0x2653, 0, 0, {1, 0x0102, 3, 1}},         // vu: a voiced u, near the table's end
      {0x25B6, 0, 0, {0, 0xFFFF, 0x25B6, 0}},    // hiragana past the syllabary
      {0x241B, 0, 0x0107, {1, 0x0102, 1, 0}},    // prolonged sound mark after ku: u
      {0x241B, 0, 0x0080, {0, 0xFFFF, 0x241B, 0}},  // after a Latin letter: no value
      {0x2412, 0, 0x0107, {1, 0x0107, 1, 0}},    // iteration mark
      {0x2413, 0, 0x0107, {1, 0x0107, 3, 0}},    // voiced iteration mark
      {0x2418, 0, 0x0721, {1, 0x0721, 0, 0}},    // repeat mark: whatever came before
      {0x2401, 0, 0, {1, 34, 1, 0}},             // ideographic comma with the comma
      {0x2520, 0, 0, {1, 128, 0, 3}},            // full-width A: as "A", width flag
      {0x2540, 0, 0, {1, 128, 0, 2}},            // full-width a
      {'A', 0, 0, {1, 128, 0, 1}}, {'a', 0, 0, {1, 128, 0, 0}}, {'a', 0, 0, {1, 128, 0, 1}, true},
      {0x0129, 0, 0, {1, 135, 1, 0}},            // e acute: the acute's rank
      {0x0200, 0, 0, {0, 0xFFFF, 0x0200, 1}},    // no value
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.ch << " next " << c.next << " previous " << c.previous);
    EXPECT_EQ(valuesOf(c.ch, c.next, c.previous, c.caseInsensitive), c.want);
  }
}

TEST(AsianValues, OtherCountriesDoNotWiden) {
  ScopedCountry none(0);
  // Half-width katakana stays as it is and has no value; full-width Latin
  // letters are not narrowed.
  EXPECT_EQ(valuesOf(0x0B15, 'A'), (Values{0, 0xFFFF, 0x0B15, 3}));
  EXPECT_EQ(valuesOf(0x2520), (Values{0, 0xFFFF, 0x2520, 0}));
  EXPECT_EQ(valuesOf(0x3021), (Values{1, 0x0721, 0, 0}));
}

TEST(AsianCompare, KanaAndWidth) {
  ScopedCountry japan(1);
  struct Case { Native a, b; int32_t plain, withCase, withKana; };
  const Case cases[] = {
      {{0x255E}, {0x2600}, 0, -1, -1},             // hiragana before katakana, by flag only
      {{0x2600}, {0x255E}, 0, 1, 1},
      {{0x260B}, {0x0B15, 0x0B3D}, 0, -1, 0},      // full and half width: flags only
      {{0x255F}, {0x2600, "x"}, -1, -1, -1},       // a before a + x
      {{0x255F, 0x241B}, {0x255F, 0x255F}, 0, 0, 0},  // prolonged a = a + a
      {{0x2561, 0x2412}, {0x2561, 0x2561}, 0, 0, 0},  // iteration mark repeats i
      {{"A"}, {"a"}, 0, 1, 0}, {{0x3021}, {0x3022}, -1, -1, -1},
      {{0x3021}, {"z"}, 1, 1, 1},                  // large sets after the Latin letters
      {{0x2569}, {0x2568, "z"}, -1, -1, -1},       // ga is ka at the primary level
      {{0x2569}, {0x2568}, 1, 1, 1},               // and after it at the secondary
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("'" + c.a.describe() + "' vs '" + c.b.describe() + "'");
    for (uint16_t language : {34, 35, 39, 40, 0xFFFF}) {
      EXPECT_EQ(QxQS6Cmpcoll(c.a.get(), c.b.get(), language, 0, 0), c.plain);
      EXPECT_EQ(QxQS6Cmpcoll(c.a.get(), c.b.get(), language, 1, 0), c.withCase);
      EXPECT_EQ(QxQS6Cmpcoll(c.a.get(), c.b.get(), language, 0, 1), c.withKana);
    }
  }
}

TEST(AsianGetColValues, SixteenBitPrimaryHighByteFirst) {
  ScopedCountry japan(1);
  const Native s{0x0B15, 0x0B3D, 0x3021};
  const uint16_t *p = s.get();
  uint8_t primary[2];
  uint16_t secondary;
  uint8_t flags;
  ASSERT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0, 34), 2);
  EXPECT_EQ(p - s.get(), 2) << "the mark was merged";
  EXPECT_EQ(primary[0], 0x01);
  EXPECT_EQ(primary[1], 0x05);
  EXPECT_EQ(flags, 3);
  ASSERT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0x0105, 34), 2);
  EXPECT_EQ(primary[0], 0x07);
  EXPECT_EQ(primary[1], 0x21);
  EXPECT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0x0721, 34), 0);
  const Native last{0x0B15};
  p = last.get();
  ASSERT_EQ(getColValues(&p, primary, &secondary, &flags, 0, 0, 34), 2);
  EXPECT_EQ(p - last.get(), 1) << "never past the terminator";
}

}  // namespace
