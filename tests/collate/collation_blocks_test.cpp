#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "collate/tables/collation_block.h"
#include "qstr14/collate.h"

namespace {

TEST(CollationBlocks, PackedRecordsOfPointerWidth) {
  EXPECT_EQ(sizeof(QSTR_KEYED_POINTER), 1 + sizeof(void *));
  EXPECT_EQ(offsetof(QSTR_KEYED_POINTER, pointer), 1u);
  EXPECT_EQ(sizeof(QSTR_BYTE_RANGE_POINTER), 2 + sizeof(void *));
  EXPECT_EQ(sizeof(QSTR_WORD_RANGE_POINTER), 4 + sizeof(void *));
}

TEST(CollationBlocks, OneBlockPerSetWithTheStatedRange) {
  struct Block { uint8_t set, first, count; };
  const std::vector<Block> blocks = {{0, 0x20, 95}, {1, 0x17, 219}, {4, 0x0B, 22},
                                     {5, 0x7B, 6},  {8, 0x00, 215}, {10, 0x00, 200}};
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const auto *block = static_cast<const uint8_t *>(coltbl[i].pointer);
    const uint8_t key = coltbl[i].key;
    EXPECT_EQ(key, blocks[i].set);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0], blocks[i].first);
    EXPECT_EQ(block[1], blocks[i].count);
  }
  // Packed records: read members by value, never bind them to references.
  const uint8_t endKey = coltbl[blocks.size()].key;
  const void *endPointer = coltbl[blocks.size()].pointer;
  EXPECT_EQ(endKey, 0xFF);
  EXPECT_EQ(endPointer, nullptr);
}

TEST(CollationBlocks, SetFourHasValuesOnlyForCurrencyAndQuotes) {
  for (uint16_t c = 0x040B; c <= 0x0420; ++c) {
    const bool none = (c >= 0x040F && c <= 0x0412) || (c >= 0x0414 && c <= 0x041A);
    EXPECT_EQ(xch2col(c) == 0xFF, none) << std::hex << c;
  }
  EXPECT_EQ(xch2col(0x041C), xch2col('\''));  // right single quotation mark
  EXPECT_EQ(xch2col(0x0420), xch2col('"'));   // left double quotation mark
  EXPECT_GT(xch2col(0x040B), xch2col('$'));   // pound sign
  EXPECT_LT(xch2col(0x0413), xch2col('+'));   // cent sign
}

// Every letter of the letter ranges that lies in a block has a value, the
// same as its case partner's, inside its script's range: Latin between "A"
// and "[", Greek in a block of its own before the digits, Cyrillic after
// "]".
TEST(CollationBlocks, LettersShareValuesWithTheirPartnersInsideTheirScript) {
  struct Range { uint8_t set, first, last; uint8_t lowest, highest; };
  const std::vector<Range> ranges = {
      {1, 0x17, 0xF1, 109, 191}, {8, 0x00, 0x4E, 73, 96}, {8, 0x6D, 0xD6, 73, 96}, {10, 0x00, 0xC7, 194, 254}};
  for (const Range &r : ranges) {
    for (unsigned code = r.first; code <= r.last; ++code) {
      const uint16_t c = static_cast<uint16_t>(r.set << 8 | code);
      const uint8_t value = xch2col(c);
      EXPECT_GE(value, r.lowest) << std::hex << c;
      EXPECT_LE(value, r.highest) << std::hex << c;
    }
  }
  struct Pairs { uint8_t set, first, last; };
  for (const Pairs &p : std::vector<Pairs>{{1, 0x1A, 0xF1}, {8, 0x00, 0x45}, {10, 0x00, 0xC7}}) {
    for (unsigned code = p.first; code < p.last; code += 2) {
      const uint16_t upper = static_cast<uint16_t>(p.set << 8 | code);
      EXPECT_EQ(xch2col(upper), xch2col(upper + 1)) << std::hex << upper;
    }
  }
}

TEST(CollationBlocks, AccentedLettersTakeTheirBaseLettersValue) {
  struct Case { uint16_t letter, base; };
  const std::vector<Case> cases = {
      {0x0129, 'e'},    {0x0128, 'E'},    {0x0151, 'o'},    {0x0199, 'l'},    {0x01EF, 'i'},    {0x0183, 'i'},
      {0x014F, 'd'},    {0x01E3, 'y'},    {0x0117, 's'},    {0x018B, 'i'},    {0x0835, 0x0801}, {0x0827, 0x0825},
      {0x08C1, 0x0801}, {0x0805, 0x0803}, {0x0A0D, 0x0A0B}, {0x0A51, 0x0A07}, {0x0A99, 0x0A17}, {0x0A63, 0x0A01},
  };
  for (const Case &c : cases) EXPECT_EQ(xch2col(c.letter), xch2col(c.base)) << std::hex << c.letter;
}

TEST(CollationBlocks, OrderOfTheClasses) {
  // punctuation < Greek < digits < Latin < "[" < Cyrillic
  const std::vector<uint16_t> ascending = {'!', '~', 0x0800, 0x0832, '0', '9', 'A', 'Z', '[', ']', 0x0A00, 0x0A40};
  for (std::size_t i = 1; i < ascending.size(); ++i) {
    EXPECT_LT(xch2col(ascending[i - 1]), xch2col(ascending[i])) << std::hex << ascending[i];
  }
  // Short i is a letter of its own between i and ka; the Ukrainian letters
  // follow the letter they come after in that alphabet.
  EXPECT_LT(xch2col(0x0A13), xch2col(0x0A15));
  EXPECT_LT(xch2col(0x0A15), xch2col(0x0A17));
  EXPECT_LT(xch2col(0x0A07), xch2col(0x0A43));
  EXPECT_LT(xch2col(0x0A43), xch2col(0x0A09));
  // The Greek letters are consecutive: alpha first, omega last.
  EXPECT_EQ(xch2col(0x0832) - xch2col(0x0800), 23);
}

// The read-only lookup that other tables built like coltbl use agrees
// with xch2col over every character.
TEST(CollationBlocks, BlockValueAgreesWithXch2col) {
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    ASSERT_EQ(qstr::collate::blockValue(coltbl, static_cast<uint16_t>(c)), xch2col(c)) << std::hex << c;
  }
}

}  // namespace
