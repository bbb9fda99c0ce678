// Version-6 character services: repertoire, primary values, composition.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "qstr14/collate.h"

namespace {

// The counts themselves are the generator's to check; here the edges of
// the sets counted from 0x20, counted all but 0x1F, counted from 0, none.
TEST(Col6Characters, RepertoireAndValues) {
  struct Case { uint16_t ch; int32_t inside; };
  const Case cases[] = {
      {0x0020, 1}, {0x007E, 1}, {0x007F, 0}, {0x001F, 0}, {0x0C1F, 0}, {0x0C00, 1}, {0x0CFF, 1},
      {0x01F1, 1}, {0x01F2, 0}, {0x0F00, 0}, {0x2300, 0}, {0x2400, 1}, {0xDFFE, 1}, {0xE000, 0},
  };
  for (const Case &c : cases) EXPECT_EQ(QxCh6Isqxc(c.ch), c.inside) << std::hex << c.ch;
  EXPECT_EQ(QxCh6Isqxc(0x12340041), 1) << "only the low 16 bits count";
  EXPECT_EQ(QxCh6Getcoll(0x0129), QxCh6Getcoll('e'));  // e acute falls in its base letter
  EXPECT_EQ(QxCh6Getcoll(0x0A3A), 231);                // soft sign
  for (uint16_t none : {0x007F, 0x0100, 0x0200, 0x0900, 0xFF41}) EXPECT_EQ(QxCh6Getcoll(none), 0xFF) << none;
}

TEST(Col6Cmpcoll, ResultCodes) {
  struct Case { uint16_t a, b; uint8_t result; };
  const Case cases[] = {
      {0x0041, 0x0061, 4}, {0x0041, 0x0042, 8}, {0x0042, 0x0041, 2},
      {0x0200, 0x0201, 8}, {0x0201, 0x0200, 2}, {0x0200, 0x0200, 4},  // no value: by code
      {0x005A, 0x0200, 8}, {0x0200, 0x0030, 2},  // valued before unvalued
      {0x0129, 0x0065, 4},                       // same primary
  };
  for (const Case &c : cases) EXPECT_EQ(QxCh6Cmpcoll(c.a, c.b), c.result) << std::hex << c.a << " " << c.b;
}

TEST(Col6Composition, Decomposes) {
  struct Case { uint16_t ch, base, diacritic; };
  const Case cases[] = {
      {0x011A, 0x0041, 0x0106},  // A acute
      {0x0131, 0x01EF, 0x0106},  // i acute: the mask puts its base in set 1
      {0x0835, 0x0801, 0x084F},  // alpha with tonos
      {0x0A50, 0x0A06, 0x0ACA},  // gje: ghe with acute
  };
  for (const Case &c : cases) {
    uint16_t base = 0, diacritic = 0;
    ASSERT_EQ(QxCh6Brkcar(c.ch, &base, &diacritic), 0) << std::hex << c.ch;
    EXPECT_EQ(base, c.base) << std::hex << c.ch;
    EXPECT_EQ(diacritic, c.diacritic) << std::hex << c.ch;
  }
  // A rank only for bit 15, which no record has.
  EXPECT_EQ(QxCh6Getdia(0x011A), 0);
  EXPECT_EQ(QxCh6Getdia(0x811A), 0);
  // Not composed: nothing written.
  const uint16_t notComposed[] = {
      0x0124,  // ae: pair {0xFF, 0xFF}
      0x0200,  // no record
      0x01F2,  // one past the 216 pairs
      0x0119,  // before the first composed code
      0x0A0C,  // io keeps its place in the Russian block, before the composed codes
      0x0ADE,  // Georgian: past the set 10 pairs
  };
  for (uint16_t ch : notComposed) {
    uint16_t base = 0x1234, diacritic = 0x5678;
    EXPECT_EQ(QxCh6Brkcar(ch, &base, &diacritic), 1) << std::hex << ch;
    EXPECT_EQ(base, 0x1234);
    EXPECT_EQ(diacritic, 0x5678);
  }
}

TEST(Col6Composition, ComposesBackEveryPairOfTheFirstOccurrence) {
  // Every composed letter comes back from its parts, unless an earlier code
  // has the same parts (then that one comes back).
  for (unsigned set : {1u, 8u, 10u}) {
    std::set<std::pair<uint16_t, uint16_t>> seen;
    for (unsigned code = 0; code < 256; ++code) {
      const uint16_t ch = static_cast<uint16_t>(set << 8 | code);
      uint16_t base = 0, diacritic = 0;
      if (QxCh6Brkcar(ch, &base, &diacritic) != 0) continue;
      EXPECT_EQ(diacritic >> 8, set);
      uint16_t composed = 0;
      ASSERT_EQ(QxCh6Cmbcar(&composed, base, diacritic & 0xFF), 0) << std::hex << ch;
      if (seen.insert({static_cast<uint16_t>(base & 0xFF), diacritic}).second) {
        EXPECT_EQ(composed, ch) << std::hex << ch;
      } else {
        EXPECT_LT(composed, ch) << std::hex << ch;
      }
    }
  }
}

TEST(Col6Composition, ComposeMatchesTheBaseCodeOnly) {
  uint16_t composed = 0;
  ASSERT_EQ(QxCh6Cmbcar(&composed, 0x0041, 0x06), 0);
  EXPECT_EQ(composed, 0x011A);
  composed = 0;
  ASSERT_EQ(QxCh6Cmbcar(&composed, 0x0141, 0x86), 0) << "set ignored, bit 7 ignored";
  EXPECT_EQ(composed, 0x011A);
  EXPECT_EQ(QxCh6Cmbcar(&composed, 0x0041, 0x01), 1) << "no A with middle dot";
  EXPECT_EQ(QxCh6Cmbcar(&composed, 0x0241, 0x06), 1) << "set 2 has no pairs";
  EXPECT_EQ(QxCh6Cmbcar(&composed, 0x01FF, 0x7F), 1) << "the not-composed mark is no pair";
}

}  // namespace
