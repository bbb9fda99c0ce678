#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "qstr14/codepage.h"
#include "support/machine.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Elements = std::vector<uint16_t>;
using qstr::test::StreamBuilder;
using qstr::test::writtenInto;

struct DocCase {
  Bytes stream;  // with its terminator
  uint32_t size;
  uint32_t flags;
  Bytes output;  // without the terminator
};

TEST(DocStrip, ItemsByFlags) {
  const Bytes aThenGroup = StreamBuilder().plain('A').character(0x0129).bytes();
  const std::vector<DocCase> cases = {
      {{'A', 0xCC, 'B', 0}, 16, 0, {'A', 'B'}},  {{'A', 0xCC, 'B', 0}, 16, 0x02, {'A', 0xCC, 'B'}},
      {{0xCF, 0}, 16, 0x08, {0x80}},             {{0xCF, 0}, 16, 0x0C, {0xCF}},
      {{0xCF, 0}, 16, 0, {}},                    {{0x84, 'x', 0x85, 0}, 16, 0x10, {'-', 'x', '-'}},
      {{0x84, 'x', 0x85, 0}, 16, 0, {'x'}},
      {{0x80, 0x7F, 0x01, 0x1F, 0x81, 0xCB, 0xCD, 0xCE, '~', 0}, 16, 0xFF, {0x80, '~'}},
      {aThenGroup, 5, 0, {'A'}},  // the group needs 4 of the limit 4 after "A"
      {aThenGroup, 6, 0, {'A', 0xF0, 0x29, 0x01, 0xF0}},
      {{'A', 'B', 'C', 0}, 1, 0, {}},            {{'A', 'B', 'C', 0}, 3, 0, {'A', 'B'}},
      {{'A', 'B', 'C', 0}, 0x10003, 0, {'A', 'B'}},  // only the low 16 bits of size count
      {StreamBuilder().variableGroup(0xD4, 12, 0, 'Q').plain('X').bytes(), 16, 0, {'X'}},
      {StreamBuilder().fixedGroup(0xF2, 3, 12).fixedGroup(0xF3, 3, 12).plain('X').bytes(), 16, 0x01,
       {0xF2, 12, 0xF2, 0xF3, 12, 0xF3, 'X'}},
      {StreamBuilder().fixedGroup(0xF2, 3, 12).fixedGroup(0xFD, 8, 'Z').singleFF().plain('X').bytes(), 16, 0, {'X'}},
      {StreamBuilder().plain('A').fixedGroup(0xF2, 3, 1).bytes(), 4, 0x01, {'A'}},  // no room for the group
  };
  for (const DocCase &c : cases) {
    Bytes dst(c.output.size() + 8, 0x55);
    const uint32_t result = TpiQxDocStripBuff(dst.data(), c.stream.data(), c.size, c.flags);
    EXPECT_EQ(result, c.output.size() + 1);
    EXPECT_EQ(dst, writtenInto(c.output, dst.size(), uint8_t{0x55})) << "size " << c.size << " flags " << c.flags;
  }
  Bytes untouched(4, 0x55);
  EXPECT_EQ(TpiQxDocStripBuff(untouched.data(), Bytes{'A', 0}.data(), 0x10000, 0), 0u);
  EXPECT_EQ(untouched, Bytes(4, 0x55));
}

struct LongCase {
  Elements source;  // with its terminator
  int32_t size;
  uint32_t flags;
  Elements output;  // without the terminator
};

TEST(LongStrip, ElementsByFlags) {
  qstr::test::ScopedProfile western(qstr::test::Environment{{"LANG", "en_US"}});
  const Elements letters = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 0};
  const std::vector<LongCase> cases = {
      {letters, 7, 0, {'a', 'b', 'c'}},                   {letters, 8, 0, {'a', 'b', 'c', 'd'}},
      {letters, 2, 0, {'a'}},                             {{0xF90D, 0}, 16, 0x08, {0x20}},
      {{0xF90D, 0}, 16, 0x0C, {0xF90D}},                  {{0xF90D, 0}, 16, 0, {}},
      {{0xF909, 0xF90A, 0xF90C, 0}, 16, 0x20, {0xF909}},  {{0xF909, 0xF90A, 0xF90C, 0}, 16, 0x02, {0xF90A, 0xF90C}},
      {{0x0084, 0x0085, 0xFB05, 'x', 0}, 16, 0x10, {'-', '-', '-', 'x'}},
      {{0x0084, 0x0085, 0xFB05, 'x', 0}, 16, 0, {'x'}},
      {{0xFE00, 0xFE1F, 0xFE20, 0}, 16, 0x01, {0xFE00, 0xFE1F}},
      {{0x001F, 0x0129, 0x01F2, 0x2400, 0x0CFF, 0}, 16, 0xFF, {0x0129, 0x0CFF}},
  };
  for (const LongCase &c : cases) {
    Elements dst(c.output.size() + 6, 0x5555);
    const int32_t result = TpiQxLongStripBuff(dst.data(), c.source.data(), c.size, c.flags);
    EXPECT_EQ(result, static_cast<int32_t>(2 * c.output.size() + 2)) << "size " << c.size;
    EXPECT_EQ(dst, writtenInto(c.output, dst.size(), uint16_t{0x5555})) << "size " << c.size << " flags " << c.flags;
  }
  Elements untouched(2, 0x5555);
  for (int32_t size : {0, 1, -4}) {
    EXPECT_EQ(TpiQxLongStripBuff(untouched.data(), letters.data(), size, 0), 0);
    EXPECT_EQ(untouched, Elements(2, 0x5555));
  }
}

// Random streams: the output is terminated, counted as the result says,
// holds only the kinds of item stripping keeps, and no byte past the size
// is written.
TEST(DocStrip, RandomStreamsStayWithinTheSize) {
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    StreamBuilder builder;
    const int items = static_cast<int>(random() % 40);
    for (int i = 0; i < items; ++i) {
      switch (random() % 6) {
        case 0: builder.plain(static_cast<uint8_t>(1 + random() % 0x7F)); break;
        case 1: builder.function(static_cast<uint8_t>(0x80 + random() % 0x50)); break;
        case 2: builder.character(static_cast<uint16_t>(random())); break;
        case 3: builder.fixedGroup(static_cast<uint8_t>(0xF2 + random() % 2), 3, static_cast<uint8_t>(random())); break;
        case 4: builder.variableGroup(static_cast<uint8_t>(0xD0 + random() % 0x20), static_cast<uint16_t>(7 + random() % 20)); break;
        default: builder.singleFF(); break;
      }
    }
    const Bytes stream = builder.bytes();
    const uint32_t size = 1 + random() % 48;
    const uint32_t flags = random() % 0x40;
    Bytes dst(size + 16, 0x55);
    const uint32_t result = TpiQxDocStripBuff(dst.data(), stream.data(), size, flags);
    ASSERT_GE(result, 1u);
    ASSERT_LE(result, size);
    EXPECT_EQ(dst[result - 1], 0);
    for (std::size_t i = size; i < dst.size(); ++i) ASSERT_EQ(dst[i], 0x55) << "byte " << i << " written";
  }
}

}  // namespace
