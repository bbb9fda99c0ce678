// Whole buffers between host bytes (ANSI or OEM) and document streams:
// counts and limits by table, then the conversions, with their fast paths,
// against plain one-by-one models on many machines, sizes and inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "charset/stream_grammar.h"
#include "codepage/state.h"
#include "codepage/stream_strip.h"
#include "host/host.h"
#include "qstr14/codepage.h"
#include "support/machine.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using S = qstr::test::StreamBuilder;
using qstr::codepage::loadedAnsiRecord;
using qstr::codepage::loadedOemRecord;
using qstr::test::Machine;

struct ToStreamCase {
  uint32_t(QSTR_CALL *convert)(uint8_t *, const char *, uint32_t);
  const char *source;
  uint32_t size;
  Bytes stream;  // with the terminator
};

struct ToHostCase {
  uint32_t(QSTR_CALL *convert)(char *, const uint8_t *, uint32_t);
  Bytes stream;
  std::string bytes;
  uint32_t result;
};

TEST(BufferConversions, CountsAndLimits) {
  Machine machine({{"LANG", "en_US"}});
  const std::vector<ToStreamCase> toStream = {
      {str_AnsiToQx, "A\x7F" "B", 16, {'A', 'B', 0}},  // 127 has no mapping in 1252: dropped
      {str_AnsiToQx, "AB\xE9", 6, {'A', 'B', 0}},  // the group needs 4 of the limit 5 after "AB"
      {str_AnsiToQx, "AB\xE9", 7, S().plain('A').plain('B').character(0x0129).bytes()},
      {str_OemToQx, "\t\x82", 16, S().character(0x0401).character(0x0129).bytes()},  // DOS glyph of tab
      {str_AnsiToQx, "A", 0x10000, {}},  // only the low 16 bits of the size count
  };
  for (const ToStreamCase &c : toStream) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(c.convert(dst.data(), c.source, c.size), c.stream.size()) << c.source;
    Bytes expected = c.stream;
    expected.resize(dst.size(), 0x55);
    EXPECT_EQ(dst, expected) << c.source << " size " << c.size;
  }
  const std::vector<ToHostCase> toHost = {
      // A character without an ANSI code counts but is not written.
      {TpiQxToAnsiBuff, S().plain('A').character(0x0F00).bytes(), "A", 3},  // past the direct tables
      {TpiQxToAnsiBuff, {'A', 0xCC, 0xCF, 0x80, 0x84, 0}, "A\xCC\xCF\x80", 5},
      {TpiQxToOemBuff, S().character(0x0129).character(0x0401).bytes(), "\x82\x09", 3},
  };
  for (const ToHostCase &c : toHost) {
    std::string dst(24, '\x55'), expected = c.bytes + '\0';
    expected.resize(24, '\x55');
    EXPECT_EQ(c.convert(dst.data(), c.stream.data(), 16), c.result);
    EXPECT_EQ(dst, expected);
  }
  std::string untouched(4, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(untouched.data(), Bytes{'A', 0}.data(), 0), 0u);
  EXPECT_EQ(untouched, std::string(4, '\x55'));
}

// A conversion against its plain model on several machines, through their
// ANSI and DOS records, for each input at sizes from 1 to well past its
// length: the same count and bytes, nothing written past the size. Each
// converts (dst, terminated input, size, record) and gives the count.
template <typename Fast, typename Model>
void expectAgreement(const std::vector<Bytes> &inputs, Fast fast, Model model) {
  for (const char *locale : {"en_US", "cs_CZ", "ru_RU", "el_GR", "ja_JP", "zh_TW"}) {
    Machine machine({{"LANG", locale}});
    for (const CODEPAGETBL *record : {&loadedAnsiRecord(), &loadedOemRecord()}) {
      for (const Bytes &input : inputs) {
        for (uint32_t size = 1; size < input.size() + 300; size += 1 + size / 16) {
          SCOPED_TRACE(testing::Message() << locale << " input " << input.size() << " size " << size);
          Bytes byFast(size + 8, 0x55), byModel(size + 8, 0x55);
          ASSERT_EQ(fast(byFast.data(), input, size, *record), model(byModel.data(), input, size, *record));
          ASSERT_EQ(byFast, byModel);
        }
      }
    }
  }
}

// Host bytes to a stream one code at a time (a lead byte with the next, on
// a double-byte system): printable ASCII as itself, else the item of its
// native character, or nothing; stops where an item does not fit.
uint32_t hostToStreamOneByOne(uint8_t *dst, const Bytes &input, uint32_t size, const CODEPAGETBL &record) {
  const bool doubleByte = qstr::host::dbcsEnabled() != 0;
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  for (const uint8_t *src = input.data(); count < limit && *src != 0; ++src) {
    uint32_t code = *src;
    if (doubleByte && qstr::host::isDbcsLeadByte(*src) && src[1] != 0) code = code << 8 | *++src;
    const bool ascii = code < 0x80 && qstr::charset::isPrintableAscii(static_cast<uint8_t>(code));
    const uint16_t native = ascii ? static_cast<uint16_t>(code) : QcvtNtvToQx(&record, code);
    if (native == 0xFFFF) continue;
    const qstr::charset::StreamItem item = qstr::charset::nativeStreamItem(native);
    if (count + item.length > limit) break;
    std::copy(item.bytes, item.bytes + item.length, dst + count);
    count += item.length;
  }
  dst[count] = 0;
  return count + 1;
}

// Texts of every byte value and random bytes, ending before, inside and
// past the item table's batches. (A double-byte machine's DOS record is its
// ANSI one.)
TEST(HostBytesToStream, AgreesWithConvertingOneByOne) {
  std::mt19937 random(5);
  Bytes all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<uint8_t>(b));
  for (int i = 0; i < 1500; ++i) all.push_back(static_cast<uint8_t>(1 + random() % 255));
  std::vector<Bytes> texts = {all, Bytes(all.begin() + 150, all.begin() + 220), {1, 2, 0x80}};
  for (Bytes &text : texts) text.push_back(0);
  expectAgreement(
      texts,
      [](uint8_t *dst, const Bytes &text, uint32_t size, const auto &record) {
        const auto *src = reinterpret_cast<const char *>(text.data());
        const bool ansi = &record == &loadedAnsiRecord();
        return ansi ? TpiAnsiToQxBuff(dst, src, size) : TpiOemToQxBuff(dst, src, size);
      },
      hostToStreamOneByOne);
}

// A stream to host bytes in two passes: stripped (nothing past the size),
// then converted; a character without a host code counts but is not written.
uint32_t streamToHostInTwoPasses(uint8_t *dst, const Bytes &stream, uint32_t size, const CODEPAGETBL &record) {
  using namespace qstr::codepage;
  Bytes stripped(size + 8, 0x55);
  TpiQxDocStripBuff(stripped.data(), stream.data(), size, kKeepLineBreaks | kKeepParagraph | kParagraphToSpace);
  EXPECT_EQ(Bytes(stripped.begin() + size, stripped.end()), Bytes(8, 0x55));
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  for (const uint8_t *read = stripped.data(); count < limit && *read != 0;) {
    uint16_t code = *read++;
    if (code == qstr::charset::kCharacterGroup) {
      code = QcvtQxToNtv(&record, qstr::charset::readLittleEndian16(read));
      read += qstr::charset::kCharacterGroupLength - 1;
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

// Random streams of every kind of item: bytes below the groups, characters
// of sets 0-15 and the first East Asian sets (some without a host code, some
// of two bytes), fixed and variable groups, 0xFF; also converted in place.
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
