// Version-6 character services at their edges, and the generic list and range look-ups.
#include <gtest/gtest.h>

#include <set>

#include "qstr14/collate.h"

namespace {

// Sets counted from 0x20, counted all but 0x1F, counted from 0, none.
TEST(Col6Characters, RepertoireAndValues) {
  const std::pair<uint32_t, int32_t> inside[] = {
      {0x0020, 1}, {0x007E, 1}, {0x007F, 0}, {0x001F, 0}, {0x0C1F, 0}, {0x0C00, 1}, {0x01F1, 1},
      {0x01F2, 0}, {0x0F00, 0}, {0x2300, 0}, {0x2400, 1}, {0xDFFE, 1}, {0xE000, 0}, {0x12340041, 1},
  };
  for (const auto &[ch, expected] : inside) EXPECT_EQ(QxCh6Isqxc(ch), expected) << ch;
  EXPECT_EQ(QxCh6Getcoll(0x0129), QxCh6Getcoll('e'));  // e acute falls in its base letter
  EXPECT_EQ(QxCh6Getcoll(0x0A3A), 231);                // soft sign
  for (uint16_t none : {0x007F, 0x0200}) EXPECT_EQ(QxCh6Getcoll(none), 0xFF) << none;
  // Results 8 (less), 4 (equal), 2 (greater); no value: after all, by code.
  struct Case { uint16_t a, b; uint8_t result; };
  const Case compared[] = {
      {'A', 'a', 4}, {'A', 'B', 8}, {0x0200, 0x0201, 8}, {0x0201, 0x0200, 2}, {0x0200, 0x0200, 4},
      {'Z', 0x0200, 8}, {0x0200, '0', 2},
  };
  for (const Case &c : compared) EXPECT_EQ(QxCh6Cmpcoll(c.a, c.b), c.result) << c.a << " " << c.b;
}

// A acute, i acute (base in set 1 by the mask), gje; the rest are not composed and write nothing.
TEST(Col6Composition, Decomposes) {
  struct Case { uint16_t ch, base, diacritic; };
  const Case cases[] = {
      {0x011A, 0x0041, 0x0106}, {0x0131, 0x01EF, 0x0106}, {0x0A50, 0x0A06, 0x0ACA},
      {0x0124}, {0x0200}, {0x01F2}, {0x0119}, {0x0A0C}, {0x0ADE},
  };
  for (const Case &c : cases) {
    const bool composed = c.base != 0;
    uint16_t base = 0xEEEE, diacritic = 0xEEEE;
    SCOPED_TRACE(c.ch);
    EXPECT_EQ(QxCh6Brkcar(c.ch, &base, &diacritic), composed ? 0 : 1);
    EXPECT_EQ(base, composed ? c.base : 0xEEEE);
    EXPECT_EQ(diacritic, composed ? c.diacritic : 0xEEEE);
  }
  EXPECT_EQ(QxCh6Getdia(0x011A), 0);  // a rank only for bit 15, which no record has
}

// Each letter comes back from its parts (the first of equal parts); the mark's flag bit is ignored.
TEST(Col6Composition, ComposesBackEveryPairOfTheFirstOccurrence) {
  for (unsigned set : {1u, 8u, 10u}) {
    std::set<std::pair<uint16_t, uint16_t>> seen;
    for (unsigned code = 0; code < 256; ++code) {
      const uint16_t ch = static_cast<uint16_t>(set << 8 | code);
      uint16_t base = 0, diacritic = 0, composed = 0;
      if (QxCh6Brkcar(ch, &base, &diacritic) != 0) continue;
      EXPECT_EQ(diacritic >> 8, set);
      ASSERT_EQ(QxCh6Cmbcar(&composed, base, diacritic & 0xFF), 0) << ch;
      if (seen.insert({static_cast<uint16_t>(base & 0xFF), diacritic}).second) {
        EXPECT_EQ(composed, ch) << ch;
      } else {
        EXPECT_LT(composed, ch) << ch;
      }
    }
  }
  uint16_t composed = 0;
  ASSERT_EQ(QxCh6Cmbcar(&composed, 0x0141, 0x86), 0);
  EXPECT_EQ(composed, 0x011A);
  EXPECT_EQ(QxCh6Cmbcar(&composed, 0x0041, 0x01), 1);  // no A with middle dot
  EXPECT_EQ(QxCh6Cmbcar(&composed, 0x0241, 0x06), 1);
  EXPECT_EQ(QxCh6Cmbcar(&composed, 0x01FF, 0x7F), 1);
}

TEST(ListLookups, ValueListsAndKeyedRecords) {
  const uint8_t bytes[] = {3, 5, 3, 0xFF}, byteRecords[] = {7, 70, 9, 90, 7, 71, 0xFF, 0xEE};
  const uint16_t words[] = {0x1234, 0x0005, 0xFFFF}, wordRecords[] = {7, 70, 9, 90, 7, 71, 0xFFFF, 0xABCD};
  struct Case { uint32_t key; uint8_t b; uint16_t w; uint8_t bb; uint16_t ww; };
  const Case cases[] = {
      {3, 3, 0xFFFF, 0xFF, 0xABCD}, {0x105, 5, 0xFFFF, 0xFF, 0xABCD}, {0x1234, 0xFF, 0x1234, 0xFF, 0xABCD},
      {0x10005, 5, 5, 0xFF, 0xABCD}, {7, 0xFF, 0xFFFF, 70, 70}, {0x0109, 0xFF, 0xFFFF, 90, 0xABCD},
      {0xFF, 0xFF, 0xFFFF, 0xEE, 0xABCD},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(b_table(bytes, c.key), c.b);
    EXPECT_EQ(w_table(words, c.key), c.w);
    EXPECT_EQ(b_b_table(byteRecords, c.key), c.bb);
    EXPECT_EQ(uw_uw_table(wordRecords, c.key), c.ww);
  }
}

// Callers lay the pointer records out themselves: packed.
TEST(ListLookups, PointerRecordsUnderBothNames) {
  EXPECT_EQ(sizeof(QSTR_KEYED_POINTER), 1 + sizeof(void *));
  int a = 0, b = 0, end = 0;
  const QSTR_KEYED_POINTER table[] = {{2, &a}, {4, &b}, {2, &b}, {0xFF, &end}};
  const std::pair<uint32_t, void *> cases[] = {{2, &a}, {3, &end}, {0x302, &a}};
  for (const auto &[key, pointer] : cases) {
    EXPECT_EQ(ub_fp_table(table, key), pointer) << key;
    EXPECT_EQ(ub_vfp_table(table, key), pointer) << key;
  }
}

TEST(RangeLookups, BothEndsInside) {
  const uint8_t byteBlock[] = {0x10, 0x12, 'a', 'b', 'c'};
  const uint16_t wordBlock[] = {0x3310, 0x4412, 0x0A0A, 0x0B0B, 0x0C0C};
  const uint32_t values[] = {100, 200, 300};
  const QSTR_BYTE_RANGE_POINTER bytePointer = {0x10, 0x12, values};
  const QSTR_WORD_RANGE_POINTER wordPointer = {0x1210, 0x1212, values};
  struct Case { uint32_t code; uint8_t ub; uint16_t uw; uint32_t ubp, uwfp; };
  const Case cases[] = {
      {0x120F, 0xFF, 0xFFFF, 0, 0xFFFFFFFF}, {0x1210, 'a', 0x0A0A, 100, 100}, {0x1212, 'c', 0x0C0C, 300, 300},
      {0x1213, 0xFF, 0xFFFF, 0, 0xFFFFFFFF},
      {0x211, 'b', 0x0B0B, 200, 0xFFFFFFFF},  // only a word range compares all 16 bits
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ub_lukup(byteBlock, c.code), c.ub);
    EXPECT_EQ(uw_lukup(wordBlock, c.code), c.uw);
    EXPECT_EQ(ubp_lukup(&bytePointer, c.code), c.ubp);
    EXPECT_EQ(uw_fp_lukup(&wordPointer, c.code), c.uwfp);
  }
  const uint8_t pairs[] = {0x10, 0x11, 1, 2, 3, 4};
  uint8_t first = 0xEE, second = 0xEE;
  EXPECT_EQ(ub_ub_lukup(pairs, 0x11, &first, &second), 0);
  EXPECT_EQ(ub_ub_lukup(pairs, 0x12, &first, &second), 1);  // leaves the pair alone
  EXPECT_EQ(first, 3);
  EXPECT_EQ(second, 4);
}

}  // namespace
