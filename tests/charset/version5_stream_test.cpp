// Version-5 document streams: reading them into native strings, writing
// native strings as them, and finding their first incomplete item.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "charset/version5_items.h"
#include "qstr14/version5.h"
#include "support/host_profile.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Elements = std::vector<uint16_t>;
using qstr::charset::version5::firstIncompleteVersion5Item;
using qstr::test::ScopedProfile;

constexpr uint16_t kGuardElement = 0xAAAA;
constexpr uint8_t kGuardByte = 0xAA;

enum class Reader { kSingleByte, kJapanese, kSimplifiedChinese, kTraditionalChinese };

uint16_t *convert(Reader reader, const uint8_t *src, uint16_t *dst, uint32_t size) {
  switch (reader) {
    case Reader::kSingleByte:
    case Reader::kJapanese: {
      ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_DBCS", reader == Reader::kJapanese ? "1" : "0"}});
      return Q5dzTowz(src, dst, size);
    }
    case Reader::kSimplifiedChinese: return lQ5CdzTowz(src, dst, size, 0);
    case Reader::kTraditionalChinese: return lQ5CdzTowz(src, dst, size, 0x83);
  }
  return nullptr;
}

// The elements stored before the terminator; checks the result, that a
// terminator was stored if there was room, and nothing past `size` bytes.
Elements toNative(Reader reader, const Bytes &stream, uint32_t size = 1024) {
  const std::size_t capacity = (size & 0xFFFF) / 2;
  std::vector<uint16_t> dst(capacity + 8, kGuardElement);
  EXPECT_EQ(convert(reader, stream.data(), dst.data(), size), dst.data());
  EXPECT_EQ(std::count(dst.begin() + capacity, dst.end(), kGuardElement), 8) << "written past the size";
  Elements out;
  for (std::size_t i = 0; i < capacity && dst[i] != 0; ++i) out.push_back(dst[i]);
  if (capacity > 0) EXPECT_LT(out.size(), capacity) << "no terminator";
  return out;
}

// The bytes stored, terminator included; checks the size as toNative does.
Bytes toVersion5(const Elements &string, uint32_t size) {
  Elements src = string;
  src.push_back(0);
  const std::size_t capacity = size & 0xFFFF;
  Bytes dst(capacity + 8, kGuardByte);
  EXPECT_EQ(QwzTo5dz(src.data(), dst.data(), size), dst.data());
  EXPECT_EQ(std::count(dst.begin() + capacity, dst.end(), kGuardByte), 8) << "written past the size";
  // Items up to the terminator: single bytes and C0 code C0 groups.
  Bytes out;
  for (std::size_t i = 0; i < capacity;) {
    const std::size_t length = dst[i] == 0xC0 ? 4 : 1;
    out.insert(out.end(), dst.begin() + i, dst.begin() + std::min(i + length, capacity));
    if (dst[i] == 0) break;
    i += length;
  }
  return out;
}

// Attributes, line feeds, kept controls, wrapping attribute numbers,
// extended characters (not renumbered), skipped variable-length functions;
// pairs of the double-byte rows (space, set 0, set 11, the last rows, 0x7F
// pairs dropped) and the Chinese readers.
TEST(Version5Stream, ItemsBecomeElements) {
  struct Case { Reader reader; Bytes stream; Elements native; };
  const Reader single = Reader::kSingleByte, japanese = Reader::kJapanese;
  const std::vector<Case> cases = {
      {single, {0x41, 0xC3, 0x05, 0xC3, 0x42, 0x0A, 0x00}, {0x0041, 0xFE0A, 0x0042, 0xF90A}},
      {single, {0x01, 0x09, 0x0C, 0x0B, 0x0D, 0x1F, 0x80, 0xBF, 0x20, 0x7F, 0x00}, {0xF90C, 0xF90D, 0x20, 0x7F}},
      {single, {0xC3, 0x80, 0xC3, 0xC4, 0xFF, 0xC4, 0xC4, 0x00, 0xC4, 0x00}, {0xFE00, 0xFEFF, 0xFE01}},
      {single, {0xC0, 0x18, 0x01, 0xC0, 0xC0, 0x00, 0x01, 0xC0, 0xC0, 0x41, 0x00, 0xC0, 0x00},
       {0x0118, 0x0100, 0x41}},
      {single, {0xD0, 0x00, 0x00, 0x00, 0x41, 0xFF, 0xC0, 0x03, 0x00, 0x00, 0xC0, 0x41, 0x42, 0x00}, {0x41, 0x42}},
      {japanese, {0x23, 0x21, 0x24, 0x21, 0x00}, {0x2400, 0x245E}},
      {japanese, {0x20, 0x21, 0x41, 0x22, 0x21, 0x22, 0x5F, 0x7D, 0x21, 0x7E, 0x7E, 0x00},
       {0x0020, 0x0041, 0x0B00, 0x0B3E, 0x5100, 0x51BB}},
      {japanese, {0x7F, 0x21, 0x0A, 0xC3, 0x01, 0xC3, 0x80, 0xC0, 0x29, 0x01, 0xC0, 0x00},
       {0xF90A, 0xFE02, 0x0129}},
      {Reader::kSimplifiedChinese, {0x22, 0x21, 0x24, 0x64, 0x7F, 0x7E, 0x21, 0x41, 0x20, 0x00},
       {0x8200, 0x8300, 0xA4A5, 0x0041, 0x0020}},
      {Reader::kTraditionalChinese, {0x22, 0x21, 0x24, 0x64, 0x00}, {0xA500, 0xA600}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(toNative(cases[i].reader, cases[i].stream), cases[i].native) << "case " << i;
  }
}

// Fixed-length functions: code, one or two data bytes (which may look like
// a terminator, a character or a code), code again.
TEST(Version5Stream, FixedLengthFunctionsSkipped) {
  std::vector<uint8_t> codes = {0xC1, 0xC2};
  for (uint8_t code = 0xC5; code <= 0xCF; ++code) codes.push_back(code);
  for (uint8_t code : codes) {
    for (const Bytes &data : std::vector<Bytes>{{0x00}, {0x41}, {0x00, 0x00}, {0x41, 0xC0}, {code}}) {
      Bytes stream = {0x41, code};
      stream.insert(stream.end(), data.begin(), data.end());
      stream.insert(stream.end(), {code, 0x42, 0x00});
      EXPECT_EQ(toNative(Reader::kSingleByte, stream), (Elements{0x0041, 0x0042}))
          << std::hex << int(code) << " data " << data.size();
      EXPECT_EQ(firstIncompleteVersion5Item(stream.data(), stream.size(), false), std::nullopt);
    }
  }
}

// Every size gives a terminated prefix of the whole result within the
// size (its low 16 bits); below 2 bytes nothing is written.
TEST(Version5Stream, RoomCountedInElements) {
  const Bytes stream = {0x41, 0xC3, 0x05, 0xC3, 0x0A, 0x85, 0xC0, 0x29, 0x01, 0xC0, 0xC6, 0x07, 0xC6,
                        0x42, 0xE0, 0x00, 0x02, 0x00, 0x41, 0x41, 0x0D, 0x43, 0x00};
  const Elements whole = toNative(Reader::kSingleByte, stream);
  ASSERT_EQ(whole, (Elements{0x0041, 0xFE0A, 0xF90A, 0x0129, 0x0042, 0xF90D, 0x0043}));
  for (uint32_t size = 0; size <= 2 * whole.size() + 6; ++size) {
    const std::size_t room = size / 2 == 0 ? 0 : size / 2 - 1;
    const Elements expected(whole.begin(), whole.begin() + std::min(room, whole.size()));
    EXPECT_EQ(toNative(Reader::kSingleByte, stream, size), expected) << "size " << size;
    EXPECT_EQ(toNative(Reader::kSingleByte, stream, 0x10000 + size), expected) << "size " << size;
  }
  // Functions that store nothing take no room; a dropped 0x7F pair takes one element's.
  const Bytes functions = {0x80, 0x41, 0xD5, 0x00, 0x00, 0x00, 0xC5, 0x01, 0xC5, 0x42, 0x00};
  EXPECT_EQ(toNative(Reader::kSingleByte, functions, 6), (Elements{0x0041, 0x0042}));
  const Bytes dropped = {0x7F, 0x21, 0x23, 0x21, 0x24, 0x21, 0x00};
  EXPECT_EQ(toNative(Reader::kJapanese, dropped, 6), (Elements{0x2400}));
}

TEST(Version5Stream, FromNativeStrings) {
  struct Case { Elements string; uint32_t size; Bytes stream; };
  const Elements mixed = {0x0041, 0x0129, 0x0042, 0x0B3E, 0x0043};
  const std::vector<Case> cases = {
      {mixed, 0, {}}, {mixed, 1, {0x00}}, {mixed, 3, {0x41, 0x42, 0x00}}, {mixed, 6, {0x41, 0x42, 0x43, 0x00}},
      // An extended character needs more than its 4 bytes of room.
      {{0x0129}, 5, {0x00}}, {{0x0129}, 6, {0xC0, 0x29, 0x01, 0xC0, 0x00}},
      {mixed, 0x10007, {0x41, 0xC0, 0x29, 0x01, 0xC0, 0x42, 0x00}},  // low 16 bits
      {mixed, 100, {0x41, 0xC0, 0x29, 0x01, 0xC0, 0x42, 0xC0, 0x3E, 0x0B, 0xC0, 0x43, 0x00}},
      // Functions and attributes dropped; set-0 codes written as they stand.
      {{0xF90A, 0x0041, 0xFE01, 0xFFFF, 0x000A, 0x0100}, 100, {0x41, 0x0A, 0xC0, 0x00, 0x01, 0xC0, 0x00}},
  };
  for (const Case &c : cases) EXPECT_EQ(toVersion5(c.string, c.size), c.stream) << "size " << c.size;
  // Characters of every kind come back through the reader.
  const Elements string = {0x0041, 0x0129, 0x0B3E, 0x0020, 0x007E, 0x2400, 0x0100, 0x0C80, 0xDEFE};
  const Bytes stream = toVersion5(string, 1024);
  EXPECT_EQ(toNative(Reader::kSingleByte, stream), string);
  EXPECT_EQ(firstIncompleteVersion5Item(stream.data(), stream.size(), false), std::nullopt);
}


// ---- Validation ----

// One item of every kind, with the offset where each starts.
struct Version5Stream {
  Bytes bytes;
  std::vector<std::size_t> starts;
};

Version5Stream everyKind(bool doubleByte) {
  const Bytes letter = doubleByte ? Bytes{0x21, 0x41} : Bytes{0x41};
  Bytes longFunction = {0xFF, 0x00, 0x2C, 0x01};  // 300 data bytes
  longFunction.resize(304, 0x00);
  std::vector<Bytes> items = {letter, {0x0A}, {0x85}, {0xC0, 0x00, 0x01, 0xC0}, {0xC3, 0x00, 0xC3},
                              {0xC4, 0xC4, 0xC4}, {0xC1, 0x00, 0xC1}, {0xCF, 0x00, 0x00, 0xCF},
                              {0xD0, 0x00, 0x00, 0x00}, longFunction, {0xE7, 0x00, 0x02, 0x00, 0xC0, 0xC0}};
  if (doubleByte) items.insert(items.end(), {{0x20}, {0x23, 0x21}, {0x7F, 0x7E}});
  items.push_back(letter);
  Version5Stream s;
  for (const Bytes &item : items) {
    s.starts.push_back(s.bytes.size());
    s.bytes.insert(s.bytes.end(), item.begin(), item.end());
  }
  return s;
}

// A stream of every kind of item is accepted with its terminator (what
// follows is not read); cut anywhere, it is reported at the cut.
TEST(Version5Validator, TruncatedAtEveryLength) {
  for (bool doubleByte : {false, true}) {
    const Version5Stream s = everyKind(doubleByte);
    Bytes whole = s.bytes;
    whole.insert(whole.end(), {0x00, 0xC0, 0xD0});
    EXPECT_EQ(firstIncompleteVersion5Item(whole.data(), whole.size(), doubleByte), std::nullopt);
    for (std::size_t cut = 0; cut <= s.bytes.size(); ++cut) {
      // At the cut between items, else at the start of the item it falls in.
      const std::size_t expected =
          cut == s.bytes.size() ? cut : *(std::upper_bound(s.starts.begin(), s.starts.end(), cut) - 1);
      const Bytes bytes(s.bytes.begin(), s.bytes.begin() + cut);  // exactly `cut` bytes on the heap
      EXPECT_EQ(firstIncompleteVersion5Item(bytes.data(), bytes.size(), doubleByte), expected)
          << "cut " << cut << (doubleByte ? " double-byte" : "");
    }
  }
}

// The conversions stop where the validator points (but for a variable-length
// function, which they cannot see runs past the stream).
TEST(Version5Validator, MalformedStreams) {
  struct Case { bool doubleByte; Bytes stream; std::size_t offset; };  // terminated streams
  const std::vector<Case> cases = {
      {false, {0x41, 0xC0, 0x29, 0x01, 0x41, 0x00}, 1},        // extended character not closed
      {false, {0x41, 0x42, 0xC3, 0x05, 0xC4, 0x00, 0x00}, 2},  // attribute not closed
      {false, {0x41, 0xC5, 0x01, 0x02, 0x03, 0x00}, 1},  // fixed-length function not closed within 2 bytes
      {true, {0x20, 0x21, 0x41, 0x23, 0x00}, 3},         // pair cut by the terminator
      {false, {0x41, 0xD0, 0x00, 0x05, 0x00, 0x01, 0x00}, 1},  // variable-length function past the stream
  };
  for (const Case &c : cases) {
    EXPECT_EQ(firstIncompleteVersion5Item(c.stream.data(), c.stream.size(), c.doubleByte), c.offset) << c.offset;
    if (c.stream[c.offset] == 0xD0) continue;
    Bytes prefix(c.stream.begin(), c.stream.begin() + c.offset);
    prefix.push_back(0);
    const Reader reader = c.doubleByte ? Reader::kJapanese : Reader::kSingleByte;
    EXPECT_EQ(toNative(reader, c.stream), toNative(reader, prefix)) << c.offset;
  }
  EXPECT_EQ(firstIncompleteVersion5Item(nullptr, 0, false), 0u);
}

}  // namespace
