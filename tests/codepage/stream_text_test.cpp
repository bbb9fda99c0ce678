// Streams and native strings stripped under each flag within the size, the text form built on it, and whole
// buffers between host bytes and streams against one-by-one models.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "charset/stream_grammar.h"
#include "codepage/state.h"
#include "codepage/stream_strip.h"
#include "host/host.h"
#include "qstr14/codepage.h"
#include "support/machine.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Elements = std::vector<uint16_t>;
using S = qstr::test::StreamBuilder;
using qstr::codepage::loadedAnsiRecord;
using qstr::codepage::loadedOemRecord;
using qstr::test::Machine;
using qstr::test::ScopedProfile;
using qstr::test::writtenInto;

// Inputs with their terminator, outputs without.
struct StreamCase {
  Bytes stream;
  uint32_t size, flags;
  Bytes output;
};

template <typename Output>
struct NativeCase {
  Elements source;
  int32_t size;
  uint32_t flags;
  Output output;
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
  SCOPED_TRACE(testing::Message() << size << " " << flags);
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
      // The stripping under the same size needs room for the 4-byte group.
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
  Bytes dst(16, 0x55);
  // 0xDFFE is in the last East Asian set; 0xE001 lies past them and is dropped.
  EXPECT_EQ(TpiQxwzToQxsioBuff(dst.data(), Elements{0x2400, 0xDFFE, 0xE001, 0}.data(), 16, 0), 6);
  EXPECT_EQ(Bytes(dst.begin(), dst.begin() + 7), (Bytes{0xFD, 0x00, 0x24, 0xFD, 0xFE, 0xDF, 0}));
}

// Only the low 16 bits of a size count; a character without an ANSI code counts but is not written.
TEST(BufferConversions, CountsAndLimits) {
  Machine machine({{"LANG", "en_US"}});
  std::string dst(8, '\x55');
  EXPECT_EQ(str_AnsiToQx(reinterpret_cast<uint8_t *>(dst.data()), "A", 0x10000), 0u);
  EXPECT_EQ(TpiQxToAnsiBuff(dst.data(), Bytes{'A', 0}.data(), 0x10000), 0u);
  EXPECT_EQ(dst, std::string(8, '\x55'));
  // 0x0F00 lies just past the direct tables.
  EXPECT_EQ(TpiQxToAnsiBuff(dst.data(), S().plain('A').character(0x0F00).bytes().data(), 16), 3u);
  EXPECT_EQ(dst.substr(0, 3), std::string("A\0\x55", 3));
}

template <typename Fast, typename Model>
void expectAgreement(const std::vector<Bytes> &inputs, Fast fast, Model model) {
  for (const char *locale : {"en_US", "cs_CZ", "ru_RU", "el_GR", "ja_JP", "zh_TW"}) {
    Machine machine({{"LANG", locale}});
    for (const CODEPAGETBL *record : {&loadedAnsiRecord(), &loadedOemRecord()}) {
      for (const Bytes &input : inputs) {
        for (uint32_t size = 1; size < input.size() + 300; size += 1 + size / 16) {
          SCOPED_TRACE(testing::Message() << locale << " " << input.size() << " " << size);
          Bytes byFast(size + 8, 0x55), byModel(size + 8, 0x55);
          ASSERT_EQ(fast(byFast.data(), input, size, *record), model(byModel.data(), input, size, *record));
          ASSERT_EQ(byFast, byModel);
        }
      }
    }
  }
}

// Every byte and random bytes, ending in and past the item table's batches or in a lead byte. A group that
// does not fit within size - 1 ends the stream.
TEST(HostBytesToStream, AgreesWithConvertingOneByOne) {
  std::mt19937 random(5);
  Bytes all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<uint8_t>(b));
  for (int i = 0; i < 1500; ++i) all.push_back(static_cast<uint8_t>(1 + random() % 255));
  std::vector<Bytes> texts = {all, Bytes(all.begin() + 150, all.begin() + 220), {1, 2, 0x80}, {'a', 0x88}};
  for (Bytes &text : texts) text.push_back(0);
  for (const int kind : {0, 1, 2}) {
    expectAgreement(
        texts,
        [kind](uint8_t *dst, const Bytes &text, uint32_t size, const auto &record) {
          const auto *src = reinterpret_cast<const char *>(text.data());
          const bool ansi = &record == &loadedAnsiRecord();
          if (kind == 2) return str_DBCS_OEMorANSItoQX(dst, src, size, ansi ? 0 : 1);
          if (kind == 1) return ansi ? str_AnsiToQx(dst, src, size) : str_OemToQx(dst, src, size);
          return ansi ? TpiAnsiToQxBuff(dst, src, size) : TpiOemToQxBuff(dst, src, size);
        },
        [kind](uint8_t *dst, const Bytes &text, uint32_t size, const CODEPAGETBL &record) {
          const bool doubleByte = kind == 2 || (kind == 0 && qstr::host::dbcsEnabled() != 0);
          // A double-byte machine's DOS record is its ANSI one.
          const CODEPAGETBL *through = kind == 2 ? &loadedAnsiRecord() : &record;
          const uint8_t *start = dst;
          const std::size_t limit = size - 1;
          for (std::size_t i = 0; i + 1 < text.size() && std::size_t(dst - start) < limit;) {
            uint32_t code = text[i++];
            if (doubleByte && qstr::host::isDbcsLeadByte(static_cast<uint8_t>(code)) && i + 1 < text.size()) {
              code = code << 8 | text[i++];
            }
            const bool printable = code >= 0x20 && code <= 0x7E;
            const auto native = static_cast<uint16_t>(printable ? code : QcvtNtvToQx(through, code));
            if (native < 0x100) {
              *dst++ = static_cast<uint8_t>(native);
            } else if (native != 0xFFFF) {
              if (std::size_t(dst - start) + 4 > limit) break;
              dst = std::copy_n(Bytes{0xF0, uint8_t(native), uint8_t(native >> 8), 0xF0}.begin(), 4, dst);
            }
          }
          *dst = 0;
          return static_cast<uint32_t>(dst - start + 1);
        });
  }
}

// Stripped first, then converted; a character without a host code counts but is not written.
uint32_t streamToHostInTwoPasses(uint8_t *dst, const Bytes &stream, uint32_t size, const CODEPAGETBL &record) {
  using namespace qstr::codepage;
  Bytes stripped(size + 8, 0x55);
  TpiQxDocStripBuff(stripped.data(), stream.data(), size, kKeepLineBreaks | kKeepParagraph | kParagraphToSpace);
  EXPECT_EQ(Bytes(stripped.begin() + size, stripped.end()), Bytes(8, 0x55));
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  for (const uint8_t *read = stripped.data(); count < limit && *read != 0;) {
    uint16_t code = *read++;
    if (code == 0xF0) {
      code = QcvtQxToNtv(&record, static_cast<uint16_t>(read[0] | read[1] << 8));
      read += 3;
    }
    const bool twoBytes = code > 0xFF && code != 0xFFFF;
    if (twoBytes && count + 2 > limit) break;
    if (twoBytes) *dst++ = static_cast<uint8_t>(code >> 8);
    if (code != 0xFFFF) *dst++ = static_cast<uint8_t>(code);
    count += twoBytes ? 2 : 1;
  }
  *dst = 0;
  return count + 1;
}

// Random streams of every item kind, characters with one, two or no host bytes, also converted in place.
TEST(StreamToHostBytes, OneWalkAgreesWithStrippingFirst) {
  std::mt19937 random(9);
  std::vector<Bytes> streams;
  for (int round = 0; round < 40; ++round) {
    S stream;
    for (int i = 0; i < 1 + round * 3; ++i) {
      switch (random() % 7) {
        case 0: case 1: stream.plain(static_cast<uint8_t>(1 + random() % 0x7F)); break;
        case 2: stream.function(static_cast<uint8_t>(0x80 + random() % 0x50)); break;
        case 3: stream.character(static_cast<uint16_t>(random() % 0x1000 + random() % 2 * 0x2400)); break;
        case 4: stream.variableGroup(static_cast<uint8_t>(0xD0 + random() % 0x20), 7 + random() % 5); break;
        case 5: stream.singleFF(); break;
        default:
          const auto code = static_cast<uint8_t>(0xF1 + random() % 14);
          stream.fixedGroup(code, qstr::charset::fixedGroupLength(code));
      }
    }
    streams.push_back(stream.bytes());
  }
  expectAgreement(
      streams,
      [](uint8_t *dst, const Bytes &stream, uint32_t size, const auto &record) {
        const auto convert = &record == &loadedAnsiRecord() ? TpiQxToAnsiBuff : TpiQxToOemBuff;
        const uint32_t count = convert(reinterpret_cast<char *>(dst), stream.data(), size);
        Bytes inPlace = stream;
        inPlace.resize(std::max<std::size_t>(inPlace.size(), size), 0x55);
        convert(reinterpret_cast<char *>(inPlace.data()), inPlace.data(), size);
        EXPECT_TRUE(std::equal(dst, std::find(dst, dst + size, 0) + 1, inPlace.begin()));
        return count;
      },
      streamToHostInTwoPasses);
}

}  // namespace
