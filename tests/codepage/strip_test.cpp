// Stripping streams and native strings under each flag within the size, and the text form built on it.
#include <gtest/gtest.h>

#include <vector>

#include "qstr14/codepage.h"
#include "support/machine.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Elements = std::vector<uint16_t>;
using qstr::test::ScopedProfile;
using S = qstr::test::StreamBuilder;
using qstr::test::writtenInto;

struct StreamCase {
  Bytes stream;  // with its terminator
  uint32_t size;
  uint32_t flags;
  Bytes output;  // without the terminator
};

template <typename Output>
struct NativeCase {
  Elements source;  // with its terminator
  int32_t size;
  uint32_t flags;
  Output output;  // without the terminator
};

TEST(Strip, ItemsByFlags) {
  ScopedProfile western({{"LANG", "en_US"}});
  const Bytes aThenGroup = S().plain('A').character(0x0129).bytes();
  const std::vector<StreamCase> streams = {
      {{'A', 0xCC, 0xCF, 0x84, 'B', 0}, 16, 0, {'A', 'B'}},
      {{'A', 0xCC, 'B', 0}, 16, 0x02, {'A', 0xCC, 'B'}}, {{0xCF, 0}, 16, 0x08, {0x80}},
      {{0xCF, 0}, 16, 0x0C, {0xCF}}, {{0x84, 'x', 0x85, 0}, 16, 0x10, {'-', 'x', '-'}},
      {{0x80, 0x7F, 0x01, 0x1F, 0x81, 0xCB, 0xCD, 0xCE, '~', 0}, 16, 0xFF, {0x80, '~'}},
      {aThenGroup, 5, 0, {'A'}},  // the group needs 4 bytes: 1 + 4 > 5 - 1
      {aThenGroup, 6, 0, {'A', 0xF0, 0x29, 0x01, 0xF0}},
      {{'A', 'B', 'C', 0}, 1, 0, {}},
      {{'A', 'B', 'C', 0}, 0x10003, 0, {'A', 'B'}},  // only the low 16 bits of size count
      {S().variableGroup(0xD4, 12, 0, 'Q').fixedGroup(0xFD, 8, 'Z').singleFF().plain('X').bytes(), 16, 0,
       {'X'}},
      {S().fixedGroup(0xF2, 3, 12).fixedGroup(0xF3, 3, 12).plain('X').bytes(), 16, 0x01,
       {0xF2, 12, 0xF2, 0xF3, 12, 0xF3, 'X'}},
      {S().plain('A').fixedGroup(0xF2, 3, 1).bytes(), 4, 0x01, {'A'}},  // no room for the group
  };
  for (const StreamCase &c : streams) {
    Bytes dst(c.output.size() + 8, 0x55);
    const uint32_t result = TpiQxDocStripBuff(dst.data(), c.stream.data(), c.size, c.flags);
    EXPECT_EQ(result, c.output.size() + 1);
    EXPECT_EQ(dst, writtenInto(c.output, dst.size(), uint8_t{0x55})) << "size " << c.size << ", " << c.flags;
  }
  Bytes untouched(4, 0x55);
  EXPECT_EQ(TpiQxDocStripBuff(untouched.data(), Bytes{'A', 0}.data(), 0x10000, 0), 0u);
  EXPECT_EQ(untouched, Bytes(4, 0x55));
  const Elements letters = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 0};
  const std::vector<NativeCase<Elements>> strings = {
      {letters, 7, 0, {'a', 'b', 'c'}}, {letters, 8, 0, {'a', 'b', 'c', 'd'}}, {letters, 2, 0, {'a'}},
      {{0xF90D, 0}, 16, 0x08, {0x20}},
      {{0xF90D, 0}, 16, 0x0C, {0xF90D}},
      {{0xF909, 0xF90A, 0xF90C, 0}, 16, 0x20, {0xF909}},
      {{0xF909, 0xF90A, 0xF90C, 0}, 16, 0x02, {0xF90A, 0xF90C}},
      {{0x0084, 0x0085, 0xFB05, 'x', 0}, 16, 0x10, {'-', '-', '-', 'x'}},
      {{0xF90D, 0x0084, 0x0085, 0xFB05, 'x', 0}, 16, 0, {'x'}},
      {{0xFE00, 0x0084, 0xFE1F, 0xFE20, 0}, 16, 0x01, {0xFE00, 0xFE1F}},
      {{0x001F, 0x0129, 0x01F2, 0x2400, 0x0CFF, 0}, 16, 0xFF, {0x0129, 0x0CFF}},
  };
  for (const NativeCase<Elements> &c : strings) {
    Elements dst(c.output.size() + 6, 0x5555);
    const int32_t result = TpiQxLongStripBuff(dst.data(), c.source.data(), c.size, c.flags);
    EXPECT_EQ(result, static_cast<int32_t>(2 * c.output.size() + 2));
    EXPECT_EQ(dst, writtenInto(c.output, dst.size(), uint16_t{0x5555})) << "size " << c.size << ", " << c.flags;
  }
  Elements guarded(2, 0x5555);
  for (int32_t size : {0, 1, -4}) {
    EXPECT_EQ(TpiQxLongStripBuff(guarded.data(), letters.data(), size, 0), 0);
    EXPECT_EQ(guarded, Elements(2, 0x5555));
  }
}

// `dst` holds `output`, its terminator and, from `size` on, the guard bytes.
void expectWritten(const Bytes &dst, Bytes output, uint32_t size, uint32_t flags) {
  SCOPED_TRACE(testing::Message() << "size " << size << " flags " << flags);
  output.push_back(0);
  EXPECT_EQ(Bytes(dst.begin(), dst.begin() + static_cast<long>(output.size())), output);
  for (std::size_t i = size; i < dst.size(); ++i) EXPECT_EQ(dst[i], 0x55);
}

TEST(TextForm, Items) {
  ScopedProfile western({{"LANG", "en_US"}});
  const std::vector<StreamCase> streams = {
      {{'A', 0xCC, 'B', 0}, 32, 0x02, {'A', 0x0D, 'B'}}, {{0x80, 0xCF, 0}, 32, 0x04, {0x20, 0x0D}},
      {S().character(0x0421).bytes(), 32, 0, {0xFD, 0x21, 0x04}},
      // Attributes 12 and 14 have bytes of their own; the others carry a number.
      {S().fixedGroup(0xF2, 3, 12).fixedGroup(0xF3, 3, 14).fixedGroup(0xF3, 3, 4).bytes(), 32, 1,
       {0x1D, 0x15, 0x0F, 3}},
      {{'A', 'B', 0}, 1, 0, {}},
      // The stripping, under the same size, needs room for the 4-byte group.
      {S().plain('A').character(0x0421).bytes(), 5, 0, {'A'}},
      {S().plain('A').character(0x0421).bytes(), 6, 0, {'A', 0xFD, 0x21, 0x04}},
  };
  for (const StreamCase &c : streams) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(TpiQxToQxsioBuff(dst.data(), c.stream.data(), c.size, c.flags), c.output.size());
    expectWritten(dst, c.output, c.size, c.flags);
  }
  Bytes untouched(4, 0x55);
  EXPECT_EQ(TpiQxToQxsioBuff(untouched.data(), Bytes{'A', 0}.data(), 0, 0), 0);
  EXPECT_EQ(untouched, Bytes(4, 0x55));
  const std::vector<NativeCase<Bytes>> strings = {
      {{0xFE00, 0xFE08, 0xFE19, 0}, 32, 0x01, {0x0E, 1, 0x0E, 5, 0x1C}},  // the first attribute is 0xFE00
      {{0xFE18, 0xFE1C, 0xFE1D, 0xFE01, 0}, 32, 0x01, {0x1D, 0x14, 0x15, 0x0F, 1}},
      {{0xF909, 0}, 32, 0x20, {0x09}}, {{0xF909, 0}, 32, 0x60, {0xFE}}, {{0xF90C, 0}, 32, 0x02, {}},
      {{0xF90A, 0xF90D, 0}, 32, 0x06, {0x0D, 0x0D}}, {{0xF90D, 0}, 32, 0x08, {0x20}},
      {{'H', 0x0129, 0xFF41, 0x0BFF, 0}, 32, 0, {'H', 0xFD, 0x29, 0x01, 'A', 0xFD, 0x00, 0x0B}},
      {{'a', 'b', 'c', 0}, 1, 0, {}}, {{'a', 0x0129, 0}, 4, 0, {'a'}},
  };
  for (const NativeCase<Bytes> &c : strings) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(TpiQxwzToQxsioBuff(dst.data(), c.source.data(), c.size, c.flags), c.output.size());
    expectWritten(dst, c.output, c.size, c.flags);
  }
}

TEST(TextFormFromNativeString, EastAsianCharactersOnADoubleByteSystem) {
  ScopedProfile japanese({{"LANG", "ja_JP"}});
  const std::vector<uint16_t> source = {0x2400, 0xDFFE, 0xE001, 0};
  Bytes dst(16, 0x55);
  // 0xDFFE is in the last East Asian set; 0xE001 lies past them and is dropped.
  EXPECT_EQ(TpiQxwzToQxsioBuff(dst.data(), source.data(), 16, 0), 6);
  EXPECT_EQ(Bytes(dst.begin(), dst.begin() + 7), (Bytes{0xFD, 0x00, 0x24, 0xFD, 0xFE, 0xDF, 0}));
}

}  // namespace
