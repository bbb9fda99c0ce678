// Per-character values of the multi-level comparison, one per rule and at
// the edges of each branch, and what getColValues hands out for key building.
#include <gtest/gtest.h>

#include <ostream>

#include "collate/tables/multilevel_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/asian.h"
#include "support/collation_keys.h"

namespace {

// Primary: the default group (for languages without one too), a tailored
// group, the right-to-left blocks with their ignorables, markers.
TEST(MultilevelValues, PrimaryByLanguage) {
  struct Case { uint16_t ch, language, value; };
  const Case cases[] = {
      {0x0124, 0, 129}, {0x0124, 6, 170}, {0x0124, 1, 129}, {0x0124, 2, 129}, {0x0A3A, 31, 236},
      {0x0A3A, 19, 0xFF}, {0x01EE, 33, 139}, {0x0049, 33, 140}, {0x0900, 19, 175}, {0x0900, 0, 0xFF},
      {0x091B, 19, 0xFD}, {0x0D00, 2, 0xFD}, {0x0D26, 2, 0xFD}, {0x0DA5, 2, 199}, {0x0E2A, 11, 199},
      {0x0200, 19, 0xFF}, {0xF909, 19, 0}, {0xF901, 0, 0xFF},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(f_QX60ColVal(c.ch, c.language), c.value) << std::hex << c.ch << " language " << std::dec << c.language;
  }
  EXPECT_EQ(qstr::collate::getColRule(0x0041, 13), 0) << "a key not in the row";
  EXPECT_EQ(qstr::collate::getColRule(0x011E, 99), 0) << "rows past the matrix read nothing";
}

// Lower case (0 in the low byte) exactly where raising changes the
// character; otherwise the set with 1.
TEST(MultilevelValues, LowerCase) {
  EXPECT_EQ(f_wislower('1'), 1u);
  EXPECT_EQ(f_wislower(0x0846), 0x0801u);
  for (unsigned ch = 0; ch < 0x0F00; ++ch) {
    EXPECT_EQ((f_wislower(ch) & 0xFF) == 0, wtoupper(ch) != ch) << std::hex << ch;
  }
}

// Secondary: diacritic ranks (a diaeresis late in Czech), a lower-case
// letter as its capital, ignorables, the codes each set keeps from a point
// on, the alef table with the value below it, the fixed value of 0x0D40.
TEST(MultilevelValues, Secondary) {
  struct Case { uint16_t ch, primary, language, value; };
  const Case cases[] = {
      {'a', 128, 0, 0}, {0x011E, 128, 0, 6}, {0x011E, 128, 5, 9}, {0x0124, 129, 0, 0x0124},
      {0x0125, 129, 0, 0x0124}, {0x011B, 0xFF, 0, 0x011A}, {0x091B, 0xFD, 19, 0x891B}, {0x0DC2, 0xFD, 2, 0},
      {0x0801, 88, 0, 0}, {0x0835, 88, 0, 0x0834}, {0x0953, 191, 19, 0}, {0x0954, 180, 19, 0x0954},
      {0x0A8F, 251, 0, 0}, {0x0A91, 220, 0, 0x0A90}, {0x0D2E, 0xFD, 2, 0x8D2E}, {0x0D2F, 200, 2, 0},
      {0x0D40, 204, 2, 8}, {0x0DA5, 199, 2, 1}, {0x0DB1, 199, 2, 0}, {0x0DA4, 199, 2, 7},
      {0x0DB5, 200, 2, 0x0DB5}, {0x0E40, 203, 2, 0x0E40}, {0x0E44, 205, 2, 0}, {0x0440, 0xFE, 0, 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(qstr::collate::getDiaValue(c.ch, c.primary, c.language), c.value) << std::hex << c.ch;
  }
}

struct Position {
  uint16_t status;
  uint8_t primary0, primary1;
  uint16_t secondary;
  uint8_t flags;
  ptrdiff_t advance;  // units the pointer moved
  bool operator==(const Position &) const = default;
};

void PrintTo(const Position &p, std::ostream *os) {
  *os << std::hex << "{status " << p.status << ", primary " << +p.primary0 << " " << +p.primary1 << ", secondary "
      << p.secondary << ", flags " << +p.flags << ", advance " << p.advance << "}";
}

// The first position of a string: nothing written at the terminator, a
// pair as {first letter, 0xFF} (Czech: {h, 0xFF}), an expansion as {a, e},
// an ignorable with status 0; markers are not passed over here.
TEST(GetColValues, OnePositionAtATime) {
  struct Case { const char16_t *s; uint16_t language; Position want; };
  const Case cases[] = {
      {u"", 0, {0, 0xEE, 0xEE, 0xEEEE, 0xEE, 0}}, {u"A", 0, {2, 128, 0xEE, 0, 1, 1}},
      {u"\u0129", 0, {2, 135, 0xEE, 1, 0, 1}}, {u"ch", 29, {2, 131, 0xFF, 0, 1, 2}},
      {u"Ch", 29, {2, 131, 0xFF, 0, 3, 2}}, {u"ch", 5, {2, 138, 0xFF, 0, 1, 2}}, {u"ch", 0, {2, 131, 0xEE, 0, 0, 1}},
      {u"\u0125", 14, {2, 128, 135, 0, 0, 1}}, {u"\u0124", 14, {2, 128, 135, 0, 3, 1}},
      {u"\u091B", 19, {0, 0xEE, 0xEE, 0x891B, 1, 1}}, {u"\u0900\u091B", 19, {2, 175, 0xEE, 0, 1, 1}},
      {u"\uF901a", 0, {2, 0xFF, 0xEE, 0xF901, 0x01, 1}},
  };
  for (const Case &c : cases) {
    const uint16_t *start = qstr::test::units(c.s), *p = start;
    uint8_t primary[2] = {0xEE, 0xEE};
    uint16_t secondary = 0xEEEE;
    uint8_t flags = 0xEE;
    const uint16_t status = getColValues(&p, primary, &secondary, &flags, 0, 0, c.language);
    EXPECT_EQ((Position{status, primary[0], primary[1], secondary, flags, p - start}), c.want)
        << testing::PrintToString(c.s) << " " << c.language;
  }
  // A whole string, case flag set: "Ch", "a", then the terminator.
  const uint16_t *p = qstr::test::units(u"Cha");
  uint8_t primary[2];
  uint16_t secondary;
  uint8_t flags;
  unsigned positions = 0;
  while (getColValues(&p, primary, &secondary, &flags, 1, 0, 29) != 0) ++positions;
  EXPECT_EQ(positions, 2u);
  EXPECT_EQ(*p, 0);
}

}  // namespace
