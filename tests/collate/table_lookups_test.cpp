// The generic look-ups that the collation and conversion tables are read
// with: lists closed by an end mark (the first match wins, only the key's
// low byte or word counts), keyed records, and ranges with both ends inside.
#include <gtest/gtest.h>

#include "qstr14/collate.h"

namespace {

TEST(ListLookups, ValueListsAndKeyedRecords) {
  const uint8_t bytes[] = {3, 5, 3, 0xFF};
  const uint16_t words[] = {0x1234, 0x0005, 0xFFFF};
  struct Case { uint32_t key; uint8_t b; uint16_t w; };
  const Case cases[] = {
      {5, 5, 5}, {4, 0xFF, 0xFFFF}, {3, 3, 0xFFFF}, {0x105, 5, 0xFFFF}, {0x1234, 0xFF, 0x1234},
      {0xFF, 0xFF, 0xFFFF}, {0x10005, 5, 5},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(b_table(bytes, c.key), c.b) << c.key;
    EXPECT_EQ(w_table(words, c.key), c.w) << c.key;
  }
  const uint16_t wordRecords[] = {7, 70, 9, 90, 7, 71, 0xFFFF, 0xABCD};
  const uint8_t byteRecords[] = {7, 70, 9, 90, 7, 71, 0xFF, 0xEE};
  const Case records[] = {
      {7, 70, 70}, {9, 90, 90}, {8, 0xFF, 0xABCD}, {0xFFFF, 0xEE, 0xABCD}, {0xFF, 0xEE, 0xABCD}, {0x0109, 90, 0xABCD},
  };
  for (const Case &c : records) {
    EXPECT_EQ(b_b_table(byteRecords, c.key), c.b) << c.key;
    EXPECT_EQ(uw_uw_table(wordRecords, c.key), c.w) << c.key;
  }
}

// Callers outside the library lay the pointer records out themselves: packed.
TEST(ListLookups, PointerRecordsUnderBothNames) {
  EXPECT_EQ(sizeof(QSTR_KEYED_POINTER), 1 + sizeof(void *));
  EXPECT_EQ(sizeof(QSTR_BYTE_RANGE_POINTER), 2 + sizeof(void *));
  EXPECT_EQ(sizeof(QSTR_WORD_RANGE_POINTER), 4 + sizeof(void *));
  int a = 0, b = 0, end = 0;
  const QSTR_KEYED_POINTER table[] = {{2, &a}, {4, &b}, {2, &b}, {0xFF, &end}};
  const std::pair<uint32_t, void *> cases[] = {{2, &a}, {4, &b}, {3, &end}, {0xFF, &end}, {0x302, &a}};
  for (const auto &[key, pointer] : cases) {
    EXPECT_EQ(ub_fp_table(table, key), pointer) << key;
    EXPECT_EQ(ub_vfp_table(table, key), pointer) << key;
  }
  EXPECT_EQ(ub_fp_table(coltbl, 3), nullptr);
  void *setTen = coltbl[5].pointer;  // by value: the record is packed
  EXPECT_EQ(ub_fp_table(coltbl, 10), setTen);
}

TEST(RangeLookups, BothEndsInside) {
  const uint8_t byteBlock[] = {0x10, 0x12, 'a', 'b', 'c'};
  const uint16_t wordBlock[] = {0x3310, 0x4412, 0x0A0A, 0x0B0B, 0x0C0C};
  const uint32_t values[] = {100, 200, 300};
  const QSTR_BYTE_RANGE_POINTER bytePointer = {0x10, 0x12, values};
  const QSTR_WORD_RANGE_POINTER wordPointer = {0x1210, 0x1212, values};
  struct Case { uint32_t code; uint8_t ub; uint16_t uw; uint32_t ubp, uwfp; };
  const Case cases[] = {
      {0x0F, 0xFF, 0xFFFF, 0, 0xFFFFFFFF}, {0x10, 'a', 0x0A0A, 100, 0xFFFFFFFF},
      {0x12, 'c', 0x0C0C, 300, 0xFFFFFFFF}, {0x13, 0xFF, 0xFFFF, 0, 0xFFFFFFFF},
      {0x211, 'b', 0x0B0B, 200, 0xFFFFFFFF},  // a word range compares all 16 bits
      {0x1210, 'a', 0x0A0A, 100, 100}, {0x1212, 'c', 0x0C0C, 300, 300}, {0x1213, 0xFF, 0xFFFF, 0, 0xFFFFFFFF},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(ub_lukup(byteBlock, c.code), c.ub) << c.code;
    EXPECT_EQ(uw_lukup(wordBlock, c.code), c.uw) << c.code;
    EXPECT_EQ(ubp_lukup(&bytePointer, c.code), c.ubp) << c.code;
    EXPECT_EQ(uw_fp_lukup(&wordPointer, c.code), c.uwfp) << c.code;
  }
  const uint8_t pairs[] = {0x10, 0x11, 1, 2, 3, 4};
  uint8_t first = 0xEE, second = 0xEE;
  EXPECT_EQ(ub_ub_lukup(pairs, 0x11, &first, &second), 0);
  EXPECT_EQ(ub_ub_lukup(pairs, 0x12, &first, &second), 1);  // leaves the pair alone
  EXPECT_EQ(first, 3);
  EXPECT_EQ(second, 4);
}

}  // namespace
