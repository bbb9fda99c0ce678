// Per-character values of the multi-level comparison at each rule's edges.
#include <gtest/gtest.h>

#include <array>

#include "asian/country_scope.h"
#include "collate/tables/multilevel_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/asian.h"
#include "support/collation_keys.h"

namespace {

using qstr::test::ScopedCountry;
using qstr::test::units;
using namespace qstr::collate;

// Primary: default and tailored groups, right-to-left blocks and ignorables.
TEST(MultilevelValues, PrimaryByLanguage) {
  struct Case { uint16_t ch, language, value; };
  const Case cases[] = {
      {0x0124, 0, 129}, {0x0124, 1, 129}, {0x0124, 2, 129}, {0x0A3A, 31, 236}, {0x0A3A, 19, 0xFF},
      {0x01EE, 33, 139}, {0x0049, 33, 140}, {0x0900, 19, 175}, {0x0900, 0, 0xFF}, {0x091B, 19, 0xFD},
      {0x0D00, 2, 0xFD}, {0x0D26, 2, 0xFD}, {0x0DA5, 2, 199}, {0x0E2A, 11, 199}, {0x0200, 19, 0xFF},
      {0xF909, 19, 0}, {0xF901, 0, 0xFF},
  };
  for (const Case &c : cases) EXPECT_EQ(f_QX60ColVal(c.ch, c.language), c.value) << &c - cases;
  EXPECT_EQ(getColRule(0x0041, 13), 0);  // not in the row
  EXPECT_EQ(getColRule(0x011E, 99), 0);  // past the matrix
}

// Lower case (0 in the low byte) exactly where raising changes the character.
TEST(MultilevelValues, LowerCase) {
  EXPECT_EQ(f_wislower('1'), 1u);
  EXPECT_EQ(f_wislower(0x0846), 0x0801u);
  for (unsigned ch = 0; ch < 0x0F00; ++ch) EXPECT_EQ((f_wislower(ch) & 0xFF) == 0, wtoupper(ch) != ch) << ch;
}

// Secondary: diacritic ranks (late diaeresis in Czech), lower case as the capital, ignorables,
// codes kept from a point on per set, the alef table.
TEST(MultilevelValues, Secondary) {
  struct Case { uint16_t ch, primary, language, value; };
  const Case cases[] = {
      {'a', 128, 0, 0}, {0x011E, 128, 0, 6}, {0x011E, 128, 5, 9}, {0x0124, 129, 0, 0x0124},
      {0x011B, 0xFF, 0, 0x011A}, {0x091B, 0xFD, 19, 0x891B}, {0x0DC2, 0xFD, 2, 0}, {0x0801, 88, 0, 0},
      {0x0835, 88, 0, 0x0834}, {0x0953, 191, 19, 0}, {0x0954, 180, 19, 0x0954}, {0x0A8F, 251, 0, 0},
      {0x0A91, 220, 0, 0x0A90}, {0x0D2E, 0xFD, 2, 0x8D2E}, {0x0D2F, 200, 2, 0}, {0x0D40, 204, 2, 8},
      {0x0DA5, 199, 2, 1}, {0x0DB1, 199, 2, 0}, {0x0DA4, 199, 2, 7}, {0x0DB5, 200, 2, 0x0DB5},
      {0x0E40, 203, 2, 0x0E40}, {0x0E44, 205, 2, 0}, {0x0E86, 203, 2, 0x0E86},
      {0x0440, 0xFE, 0, 0},
  };
  for (const Case &c : cases) EXPECT_EQ(getDiaValue(c.ch, c.primary, c.language), c.value) << c.ch;
}

// The first position (status, primary bytes, secondary, flags, units moved): a pair as {first
// letter, 0xFF}, an expansion as {a, e}; a Japanese primary high byte first; a half-width kana
// taking its mark along but never the terminator.
TEST(GetColValues, OnePositionAtATime) {
  ScopedCountry japan(1);
  struct Case { const char16_t *s; uint16_t language; std::array<int, 6> want; };
  const Case cases[] = {
      {u"", 0, {0, 0xEE, 0xEE, 0xEEEE, 0xEE, 0}}, {u"A", 0, {2, 128, 0xEE, 0, 1, 1}},
      {u"\u0129", 0, {2, 135, 0xEE, 1, 0, 1}}, {u"ch", 29, {2, 131, 0xFF, 0, 1, 2}},
      {u"Ch", 29, {2, 131, 0xFF, 0, 3, 2}}, {u"ch", 0, {2, 131, 0xEE, 0, 0, 1}},
      {u"\u0125", 14, {2, 128, 135, 0, 0, 1}}, {u"\u091B", 19, {0, 0xEE, 0xEE, 0x891B, 1, 1}},
      {u"\u0900\u091B", 19, {2, 175, 0xEE, 0, 1, 1}}, {u"\uF901a", 0, {2, 0xFF, 0xEE, 0xF901, 0x01, 1}},
      {u"\u0B15\u0B3D", 34, {2, 1, 5, 3, 3, 2}}, {u"\u0B15", 34, {2, 1, 5, 1, 3, 1}},
  };
  for (const Case &c : cases) {
    const uint16_t *start = units(c.s), *p = start;
    uint8_t primary[2] = {0xEE, 0xEE};
    uint16_t secondary = 0xEEEE;
    uint8_t flags = 0xEE;
    const uint16_t status = getColValues(&p, primary, &secondary, &flags, 0, 0, c.language);
    const int moved = static_cast<int>(p - start);
    EXPECT_EQ((std::array<int, 6>{status, primary[0], primary[1], secondary, flags, moved}), c.want)
        << &c - cases;
  }
}

// Japanese: kana by syllable, the sound mark as secondary, kind and width as flags; repeat marks.
TEST(AsianValues, Japanese) {
  ScopedCountry japan(1);
  using Values = std::array<int, 4>;  // status, primary, secondary, flags
  struct Case { uint16_t ch; Values want; uint16_t next = 0, previous = 0; bool caseInsensitive = false; };
  const Case cases[] = {
      {0x0B15, {1, 0x0105, 1, 3}, 'A'}, {0x260B, {1, 0x0105, 3, 1}}, {0x255E, {1, 0x0100, 0, 0}},
      {0x2630, {1, 0x0119, 5, 1}}, {0x2653, {1, 0x0102, 3, 1}}, {0x25B6, {0, 0xFFFF, 0x25B6, 0}},
      {0x241B, {1, 0x0102, 1, 0}, 0, 0x0107}, {0x241B, {0, 0xFFFF, 0x241B, 0}, 0, 0x0080},
      {0x2413, {1, 0x0107, 3, 0}, 0, 0x0107}, {0x2418, {1, 0x0721, 0, 0}, 0, 0x0721}, {0x2401, {1, 34, 1, 0}},
      {0x2520, {1, 128, 0, 3}}, {'A', {1, 128, 0, 1}}, {'a', {1, 128, 0, 0}}, {0x0129, {1, 135, 1, 0}},
      {'a', {1, 128, 0, 1}, 0, 0, true}, {0x0200, {0, 0xFFFF, 0x0200, 1}}, {0x3021, {1, 0x0721, 0, 0}},
  };
  for (const Case &c : cases) {
    uint16_t primary = 0, secondary = 0;
    uint8_t flags = 0;
    const int status =
        AsiaGetColValues(c.ch, c.next, c.previous, &primary, &secondary, &flags, c.caseInsensitive);
    EXPECT_EQ((Values{status, primary, secondary, flags}), c.want) << &c - cases;
  }
}

// Asian languages (numbers past the table too): kana kind and width by flags only, ga a ka.
TEST(AsianCompare, KanaAndWidth) {
  ScopedCountry japan(1);
  struct Case { const char16_t *a, *b; int32_t plain, withCase, withKana; };
  const Case cases[] = {
      {u"\u255E", u"\u2600", 0, -1, -1}, {u"\u260B", u"\u0B15\u0B3D", 0, -1, 0},
      {u"\u255F", u"\u2600x", -1, -1, -1}, {u"\u255F\u241B", u"\u255F\u255F", 0, 0, 0},
      {u"\u2561\u2412", u"\u2561\u2561", 0, 0, 0}, {u"A", u"a", 0, 1, 0}, {u"\u3021", u"\u3022", -1, -1, -1},
      {u"\u3021", u"z", 1, 1, 1}, {u"\u2569", u"\u2568z", -1, -1, -1}, {u"\u2569", u"\u2568", 1, 1, 1},
  };
  for (const Case &c : cases) {
    const uint16_t *a = units(c.a), *b = units(c.b);
    for (uint16_t language : {34, 40}) {
      SCOPED_TRACE(testing::Message() << &c - cases << " " << language);
      EXPECT_EQ(QxQS6Cmpcoll(a, b, language, 0, 0), c.plain);
      EXPECT_EQ(QxQS6Cmpcoll(a, b, language, 1, 0), c.withCase);
      EXPECT_EQ(QxQS6Cmpcoll(a, b, language, 0, 1), c.withKana);
    }
  }
}

}  // namespace
