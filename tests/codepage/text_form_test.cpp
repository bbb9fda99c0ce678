#include <gtest/gtest.h>

#include <vector>

#include "qstr14/codepage.h"
#include "support/host_profile.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using qstr::test::StreamBuilder;

// The destination holds `output` and its terminator, and no guard byte at
// `size` or past it was written.
void expectWritten(const Bytes &dst, Bytes output, uint32_t size, uint32_t flags) {
  SCOPED_TRACE(testing::Message() << "size " << size << " flags " << flags);
  output.push_back(0);
  EXPECT_EQ(Bytes(dst.begin(), dst.begin() + static_cast<long>(output.size())), output);
  for (std::size_t i = size; i < dst.size(); ++i) EXPECT_EQ(dst[i], 0x55);
}

struct StreamCase {
  Bytes stream;
  uint32_t size;
  uint32_t flags;
  Bytes output;
};

TEST(TextFormFromStream, Items) {
  const std::vector<StreamCase> cases = {
      {{'A', 0xCC, 'B', 0}, 32, 0x02, {'A', 0x0D, 'B'}}, {{'A', 0xCC, 'B', 0}, 32, 0, {'A', 'B'}},
      {{0x80, 0xCF, 0}, 32, 0x04, {0x20, 0x0D}},
      {StreamBuilder().character(0x0421).bytes(), 32, 0, {0xFD, 0x21, 0x04}},
      {StreamBuilder().fixedGroup(0xF2, 3, 12).bytes(), 32, 0x01, {0x1D}},
      {StreamBuilder().fixedGroup(0xF2, 3, 12).bytes(), 32, 0, {}},
      {StreamBuilder().fixedGroup(0xF3, 3, 12).fixedGroup(0xF2, 3, 14).fixedGroup(0xF3, 3, 14).bytes(), 32, 0x01,
       {0x1C, 0x14, 0x15}},
      {StreamBuilder().fixedGroup(0xF3, 3, 4).bytes(), 32, 0x01, {0x0F, 3}},
      {StreamBuilder().fixedGroup(0xF2, 3, 5).bytes(), 32, 0x01, {0x0E, 3}},
      {{'A', 'B', 0}, 1, 0, {}},
      {StreamBuilder().plain('A').character(0x0421).bytes(), 4, 0, {'A'}},  // the 3-byte item would not fit
      // The stripping runs under the same size: the 4-byte group must fit there first.
      {StreamBuilder().plain('A').character(0x0421).bytes(), 5, 0, {'A'}},
      {StreamBuilder().plain('A').character(0x0421).bytes(), 6, 0, {'A', 0xFD, 0x21, 0x04}},
  };
  for (const StreamCase &c : cases) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(TpiQxToQxsioBuff(dst.data(), c.stream.data(), c.size, c.flags), c.output.size());
    expectWritten(dst, c.output, c.size, c.flags);
  }
  Bytes untouched(4, 0x55);
  EXPECT_EQ(TpiQxToQxsioBuff(untouched.data(), Bytes{'A', 0}.data(), 0, 0), 0);
  EXPECT_EQ(untouched, Bytes(4, 0x55));
}

struct NativeCase {
  std::vector<uint16_t> source;
  uint32_t size;
  uint32_t flags;
  Bytes output;
};

TEST(TextFormFromNativeString, Items) {
  qstr::test::ScopedProfile western(qstr::test::Environment{{"LANG", "en_US"}});
  const std::vector<NativeCase> cases = {
      {{0xFE08, 0}, 32, 0x01, {0x0E, 5}}, {{0xFE19, 0}, 32, 0x01, {0x1C}},
      {{0xFE18, 0xFE1C, 0xFE1D, 0xFE01, 0}, 32, 0x01, {0x1D, 0x14, 0x15, 0x0F, 1}},
      {{0xF909, 0}, 32, 0x20, {0x09}},    {{0xF909, 0}, 32, 0x60, {0xFE}},  {{0xF909, 0}, 32, 0, {}},
      {{0xF90C, 0}, 32, 0x02, {}},        {{0xF90A, 0xF90D, 0}, 32, 0x06, {0x0D, 0x0D}},
      {{0xF90D, 0}, 32, 0x08, {0x20}},
      {{'H', 0x0129, 0xFF41, 0x0BFF, 0}, 32, 0, {'H', 0xFD, 0x29, 0x01, 'A', 0xFD, 0x00, 0x0B}},
      {{'a', 'b', 'c', 0}, 1, 0, {}},     {{'a', 0x0129, 0}, 4, 0, {'a'}},
  };
  for (const NativeCase &c : cases) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(TpiQxwzToQxsioBuff(dst.data(), c.source.data(), c.size, c.flags), c.output.size());
    expectWritten(dst, c.output, c.size, c.flags);
  }
}

TEST(TextFormFromNativeString, EastAsianCharactersOnADoubleByteSystem) {
  qstr::test::ScopedProfile japanese(qstr::test::Environment{{"LANG", "ja_JP"}});
  const std::vector<uint16_t> source = {0x2400, 0xDFFE, 0xE001, 0};
  Bytes dst(16, 0x55);
  // 0xDFFE is in the last East Asian set; 0xE001 lies past them and is dropped.
  EXPECT_EQ(TpiQxwzToQxsioBuff(dst.data(), source.data(), 16, 0), 6);
  EXPECT_EQ(Bytes(dst.begin(), dst.begin() + 7), (Bytes{0xFD, 0x00, 0x24, 0xFD, 0xFE, 0xDF, 0}));
}

}  // namespace
