#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "charset/stream_grammar.h"
#include "codepage/buffer_convert.h"
#include "codepage/fast_lookup.h"
#include "codepage/state.h"
#include "codepage/stream_strip.h"
#include "qstr14/codepage.h"
#include "support/machine.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using S = qstr::test::StreamBuilder;
using qstr::test::Machine;

struct ToStreamCase {
  uint32_t(QSTR_CALL *convert)(uint8_t *, const char *, uint32_t);
  std::string source;
  uint32_t size;
  Bytes stream;  // with the terminator
};

TEST(HostBytesToStream, WesternCodePages) {
  Machine machine({{"LANG", "en_US"}});
  const std::vector<ToStreamCase> cases = {
      {str_AnsiToQx, "A\x81", 16, S().plain('A').character(0x0C81).bytes()},
      {str_AnsiToQx, "A\x7F" "B", 16, {'A', 'B', 0}},  // 127 has no mapping in 1252: dropped
      {str_AnsiToQx, "\t\xE9", 16, S().character(0xF909).character(0x0129).bytes()},
      {str_AnsiToQx, "\xA6\xAD", 16, {0x7C, 0x2D, 0}},  // stored as the bytes of their ASCII characters
      {str_AnsiToQx, "AB\xE9", 6, {'A', 'B', 0}},        // the group needs 4 of the limit 5 after "AB"
      {str_AnsiToQx, "AB\xE9", 7, S().plain('A').plain('B').character(0x0129).bytes()},
      {str_AnsiToQx, "ABCDEFGH", 4, {'A', 'B', 'C', 0}},
      {str_OemToQx, "\t\x82", 16, S().character(0x0401).character(0x0129).bytes()},  // DOS glyphs for control codes
      {TpiAnsiToQxBuff, "x\xE9", 16, S().plain('x').character(0x0129).bytes()},
  };
  for (const ToStreamCase &c : cases) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(c.convert(dst.data(), c.source.c_str(), c.size), c.stream.size()) << c.source;
    Bytes expected = c.stream;
    expected.resize(dst.size(), 0x55);
    EXPECT_EQ(dst, expected) << c.source << " size " << c.size;
  }
  Bytes untouched(4, 0x55);
  EXPECT_EQ(str_AnsiToQx(untouched.data(), "A", 0x10000), 0u);
  EXPECT_EQ(untouched, Bytes(4, 0x55));
}

TEST(HostBytesToStream, DoubleByteCodePages) {
  struct Case {
    const char *locale;
    std::string source;
    Bytes stream;  // with the terminator
  };
  const std::vector<Case> cases = {
      {"ja_JP", "a\x88\x9F\xB1", S().plain('a').character(0x2B5E).character(0x0B10).bytes()},
      {"ja_JP", "a\x88", {'a', 0}},  // a lead byte before the terminator never reads past it
      {"ko_KR", "\xB0\xA1", S().character(0x5A5E).bytes()},
      {"zh_CN", "\xB0\xA1", S().character(0x8787).bytes()},
      {"zh_TW", "\xA4\x40", S().character(0xA6D8).bytes()},
  };
  for (const Case &c : cases) {
    Machine machine({{"LANG", c.locale}});
    for (auto convert : {TpiAnsiToQxBuff, TpiOemToQxBuff}) {
      Bytes dst(32, 0x55);
      EXPECT_EQ(convert(dst.data(), c.source.c_str(), 24), c.stream.size()) << c.locale;
      EXPECT_EQ(Bytes(dst.begin(), dst.begin() + static_cast<long>(c.stream.size())), c.stream) << c.locale;
    }
  }
}

struct ToHostCase {
  uint32_t(QSTR_CALL *convert)(char *, const uint8_t *, uint32_t);
  Bytes stream;  // with the terminator
  uint32_t size;
  std::string bytes;
  uint32_t result;
};

TEST(StreamToHostBytes, CountsAndLimits) {
  Machine machine({{"LANG", "en_US"}});
  const std::vector<ToHostCase> cases = {
      {TpiQxToAnsiBuff, S().plain('A').character(0x0129).bytes(), 16, "A\xE9", 3},
      // A character without an ANSI code is dropped but still counts one.
      {TpiQxToAnsiBuff, S().plain('A').character(0x2400).bytes(), 16, "A", 3},
      {TpiQxToAnsiBuff, {'A', 0xCC, 0xCF, 0x80, 0x84, 0}, 16, "A\xCC\xCF\x80", 5},
      {TpiQxToAnsiBuff, S().fixedGroup(0xF2, 3, 1).bytes(), 16, "", 1},
      {TpiQxToOemBuff, S().character(0x0129).character(0x0401).bytes(), 16, "\x82\x09", 3},
      {TpiQxToAnsiBuff, {'A', 'B', 'C', 0}, 3, "AB", 3},
  };
  for (const ToHostCase &c : cases) {
    std::string dst(24, '\x55');
    EXPECT_EQ(c.convert(dst.data(), c.stream.data(), c.size), c.result);
    EXPECT_EQ(dst.substr(0, c.bytes.size() + 1), c.bytes + '\0');
  }
  std::string untouched(4, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(untouched.data(), Bytes{'A', 0}.data(), 0), 0u);
  EXPECT_EQ(untouched, std::string(4, '\x55'));
}

TEST(StreamToHostBytes, DoubleByteResults) {
  Machine machine({{"LANG", "ja_JP"}});
  const Bytes stream = S().plain('a').character(0x2400).character(0x2400).bytes();
  std::string dst(16, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(dst.data(), stream.data(), 16), 6u);
  EXPECT_EQ(dst.substr(0, 6), std::string("a\x81\x40\x81\x40\0", 6));
  // The stripping under the same size keeps only what fits as groups: with
  // size 9, "a" and one group (5 of the limit 8).
  std::string tight(16, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(tight.data(), stream.data(), 9), 4u);
  EXPECT_EQ(tight.substr(0, 5), std::string("a\x81\x40\0", 4) + tight[4]);
}

// Random host bytes and random streams: always terminated, results as
// counted, nothing written past the size.
TEST(BufferConversions, RandomInputsStayWithinTheSize) {
  for (const char *locale : {"en_US", "ja_JP", "zh_TW"}) {
    Machine machine({{"LANG", locale}});
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
      std::string source(random() % 60, '\0');
      for (char &c : source) c = static_cast<char>(1 + random() % 255);
      const uint32_t size = 1 + random() % 64;
      Bytes stream(size + 16, 0x55);
      const uint32_t stored = TpiAnsiToQxBuff(stream.data(), source.c_str(), size);
      ASSERT_GE(stored, 1u);
      ASSERT_LE(stored, size);
      EXPECT_EQ(stream[stored - 1], 0);
      for (std::size_t i = size; i < stream.size(); ++i) ASSERT_EQ(stream[i], 0x55) << locale;
      // Back to host bytes, in place of nothing but the caller's buffer.
      std::string back(size + 16, '\x55');
      const uint32_t written = TpiQxToAnsiBuff(back.data(), stream.data(), size);
      ASSERT_GE(written, 1u);
      ASSERT_LE(written, size);
      for (std::size_t i = size; i < back.size(); ++i) ASSERT_EQ(back[i], '\x55') << locale;
    }
  }
}

// Single bytes to a stream one byte at a time, without the item table: a
// printable ASCII byte as itself, any other byte's native character as its
// stream item, dropped when it has none; stops where an item does not fit.
uint32_t hostToStreamByteByByte(uint8_t *dst, const uint8_t *src, uint32_t size, const CODEPAGETBL &record) {
  const qstr::codepage::HostToNative convert(record);
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  for (; count < limit && *src != 0; ++src) {
    const uint16_t native = qstr::charset::isPrintableAscii(*src) ? *src : convert(*src);
    if (native == 0xFFFF) continue;
    const qstr::charset::StreamItem item = qstr::charset::nativeStreamItem(native);
    if (count + item.length > limit) break;
    std::copy(item.bytes, item.bytes + item.length, dst + count);
    count += item.length;
  }
  dst[count] = 0;
  return count + 1;
}

// A stream to host bytes in two passes: stripped into `dst` by the export,
// then its character groups converted there (a character without a host
// code counts one byte and writes none).
uint32_t streamToHostInTwoPasses(uint8_t *dst, const uint8_t *src, uint32_t size, const CODEPAGETBL &record) {
  using namespace qstr::codepage;
  TpiQxDocStripBuff(dst, src, size, kKeepLineBreaks | kKeepParagraph | kParagraphToSpace);
  const NativeToHost convert(record);
  const uint32_t limit = size - 1;
  const uint8_t *read = dst;
  uint8_t *write = dst;
  uint32_t count = 0;
  while (count < limit && *read != 0) {
    if (*read != qstr::charset::kCharacterGroup) {
      *write++ = *read++;
      ++count;
      continue;
    }
    const uint16_t code = convert(qstr::charset::readLittleEndian16(read + 1));
    read += qstr::charset::kCharacterGroupLength;
    if (code > 0xFF && code != 0xFFFF) {
      if (count + 2 > limit) break;
      *write++ = static_cast<uint8_t>(code >> 8);
      ++count;
    }
    if (code != 0xFFFF) *write++ = static_cast<uint8_t>(code);
    ++count;
  }
  *write = 0;
  return count + 1;
}

// The byte table of the single-byte conversion against byte-by-byte
// conversion: every byte value, in ANSI and DOS code pages of several
// machines, at sizes from a few bytes to past the batch limits, with texts
// that end before and after the size; the same stream and nothing written
// past it.
TEST(HostBytesToStream, ItemTableAgreesWithByteByByteConversion) {
  for (const char *locale : {"en_US", "cs_CZ", "ru_RU", "el_GR", "de_DE"}) {
    Machine machine({{"LANG", locale}});
    std::mt19937 random(5);
    std::string source;
    for (int b = 1; b < 256; ++b) source += static_cast<char>(b);
    for (int i = 0; i < 1500; ++i) source += static_cast<char>(1 + random() % 255);
    for (const CODEPAGETBL *record : {&qstr::codepage::loadedAnsiRecord(), &qstr::codepage::loadedOemRecord()}) {
      for (uint32_t size = 1; size < 1200; size += 1 + size / 8) {
        // The text ends before the size, inside a batch, or runs past it.
        const std::string text = source.substr(0, size % 3 == 0 ? size / 3 : size % 3 == 1 ? 70 : source.size());
        Bytes byTable(size + 8, 0x55), byByte(size + 8, 0x55);
        const auto *src = reinterpret_cast<const uint8_t *>(text.c_str());
        const uint32_t stored = qstr::codepage::hostToStream(byTable.data(), src, size, *record, false);
        ASSERT_EQ(stored, hostToStreamByteByByte(byByte.data(), src, size, *record))
            << locale << " size " << size;
        ASSERT_EQ(byTable, byByte) << locale << " size " << size;
      }
    }
  }
}

// A random stream of every kind of item: one-byte items of every value
// below the groups, characters of every set (some without a host code),
// fixed and variable groups, 0xFF.
Bytes randomStream(std::mt19937 &random, int items) {
  S stream;
  for (int i = 0; i < items; ++i) {
    switch (random() % 6) {
      case 0: case 1: stream.plain(static_cast<uint8_t>(1 + random() % 0x7F)); break;
      case 2: stream.function(static_cast<uint8_t>(0x80 + random() % 0x50)); break;
      case 3: stream.character(static_cast<uint16_t>(random() % 0x1000)); break;
      case 4: {
        const auto code = static_cast<uint8_t>(0xF1 + random() % 14);
        stream.fixedGroup(code, qstr::charset::fixedGroupLength(code));
        break;
      }
      default:
        if (random() % 2 == 0) {
          stream.variableGroup(static_cast<uint8_t>(0xD0 + random() % 0x20), static_cast<uint16_t>(7 + random() % 5));
        } else {
          stream.singleFF();
        }
    }
  }
  return stream.bytes();
}

// Stripping and converting in one walk against stripping into the
// destination and converting there, on single- and double-byte machines,
// for random streams at every size up to past their length, apart and in
// place: the same output and count.
TEST(StreamToHostBytes, OneWalkAgreesWithStrippingFirst) {
  for (const char *locale : {"en_US", "ru_RU", "ja_JP", "zh_TW"}) {
    Machine machine({{"LANG", locale}});
    std::mt19937 random(9);
    for (int round = 0; round < 40; ++round) {
      const Bytes stream = randomStream(random, 1 + round * 3);
      for (const CODEPAGETBL *record : {&qstr::codepage::loadedAnsiRecord(), &qstr::codepage::loadedOemRecord()}) {
        for (uint32_t size = 1; size < stream.size() + 4; ++size) {
          Bytes oneWalk(size + 8, 0x55), twoPasses(size + 8, 0x55);
          const uint32_t counted = qstr::codepage::streamToHost(oneWalk.data(), stream.data(), size, *record);
          const std::string where = std::string(locale) + " round " + std::to_string(round) + " size " +
                                    std::to_string(size);
          ASSERT_EQ(counted, streamToHostInTwoPasses(twoPasses.data(), stream.data(), size, *record))
              << where;
          // The same bytes up to the terminator (a dropped character counts
          // without a byte written); past it the two passes leave what the
          // stripping stored there, the one walk nothing.
          const auto written = std::find(twoPasses.begin(), twoPasses.end(), 0) - twoPasses.begin() + 1;
          ASSERT_TRUE(std::equal(twoPasses.begin(), twoPasses.begin() + written, oneWalk.begin())) << where;
          ASSERT_TRUE(std::all_of(oneWalk.begin() + written, oneWalk.end(), [](uint8_t b) { return b == 0x55; }))
              << where;

          Bytes inPlace = stream;
          inPlace.resize(std::max<std::size_t>(inPlace.size(), size + 8), 0x55);
          qstr::codepage::streamToHost(inPlace.data(), inPlace.data(), size, *record);
          ASSERT_TRUE(std::equal(twoPasses.begin(), twoPasses.begin() + written, inPlace.begin())) << where << " in place";
        }
      }
    }
  }
}

}  // namespace
