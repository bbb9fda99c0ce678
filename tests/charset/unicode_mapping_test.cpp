// Native characters and strings: stepping, to and from Unicode and host bytes (limits, flags, double-byte
// characters), which are valid, where East Asian double-byte codes place.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "charset/east_asian_placement.h"
#include "charset/native_tables.h"
#include "charset/unicode_mapping.h"
#include "qstr14/charset.h"
#include "qstr14/strings.h"
#include "support/machine.h"
#include "support/native_text.h"
#include "support/stream_builder.h"

namespace {

using namespace std::string_literals;
using Elements = std::vector<uint16_t>;
using qstr::charset::kNoMapping;
using qstr::charset::lDbcsToQX6x;
using qstr::charset::lQX6xToDbcs;
using qstr::test::Machine;
using qstr::test::ScopedProfile;
using qstr::test::StreamBuilder;
using qstr::test::native_text::guarded;
using qstr::test::native_text::kGuard;
using qstr::test::native_text::units;

const qstr::test::Environment kWestern = {{"LANG", "en_US"}}, kJapanese = {{"LANG", "ja_JP"}};
constexpr uint32_t kWhole = 0xFFFFFFFF;  // no limit: the form without N

// Every kind of item, data bytes like other items', walked forward, backward and by characters.
TEST(DocumentStream, EveryItemReachedEachWay) {
  StreamBuilder s;
  s.function(0x80).variableGroup(0xD0, 7).plain('A').character(0x0100);
  const uint16_t fixedLengths[] = {5, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 8, 8};  // 0xF1-0xFE
  for (uint8_t code = 0xF1; code <= 0xFE; ++code) {
    s.fixedGroup(code, fixedLengths[code - 0xF1], code == 0xF4 ? 0 : 0xF0);
  }
  s.variableGroup(0xEF, 300, 0xF0, 0x41).singleFF().function(0xCF).character(0x0B3E);
  s.variableGroup(0xE0, 8).plain(0x7F).character(0xFFFF).plain('z');
  const std::vector<uint8_t> bytes = s.bytes();
  const uint8_t *const begin = bytes.data(), *const terminator = begin + bytes.size() - 1;

  std::vector<std::size_t> forward, backward, characters;
  for (const uint8_t *p = begin; p < terminator; p += ufsize(p)) forward.push_back(p - begin);
  for (const uint8_t *p = terminator; p > begin;) {
    p -= ubsize(p);
    backward.insert(backward.begin(), p - begin);
  }
  for (const uint8_t *p = Q6dstrFirstCh(begin); *p != 0; p = Q6dstrNextCh(p)) characters.push_back(p - begin);
  EXPECT_EQ(forward, s.starts());
  EXPECT_EQ(backward, s.starts());
  EXPECT_EQ(characters, s.characterStarts());
  const uint8_t zero[] = {0x00};
  EXPECT_EQ(ufsize(zero), 1);
  const std::vector<uint8_t> none = StreamBuilder().function(0x90).fixedGroup(0xFB, 6).bytes();
  EXPECT_EQ(Q6dstrFirstCh(none.data()), none.data() + none.size() - 1);
}

// Stepping back passes over function elements (0xF900 on) and stops at the start.
TEST(NativeString, SteppingBackSkipsFunctionElements) {
  const uint16_t text[] = {0x0041, 0xF900, 0x0042, 0};
  EXPECT_EQ(Q6wstrPrevCh(text, text + 2), text);
  EXPECT_EQ(Q6wstrPrevCh(text + 1, text + 1), text + 1);
}

// Set 12 byte 0x81, undefined in 1252, is the C1 control, as the host gives it.
TEST(GetUnicodeValue, BySetAndCode) {
  ScopedProfile profile(kWestern);
  struct Case { uint32_t set, code; uint16_t unicode; };
  const std::vector<Case> cases = {{1, 0x29, 0x00E9}, {15, 0, 0}, {0x24, 0, 0}, {0, 0x41, 0x41}, {0, 0x80, 0x20AC},
                                   {12, 0x81, 0x0081}, {0x101, 0x129, 0x00E9}};  // only the low bytes count
  for (const Case &c : cases) EXPECT_EQ(GetUnicodeValue(c.set, c.code), c.unicode) << c.set << " " << c.code;
}

TEST(CharacterConversion, BothWays) {
  struct Case { uint32_t from; uint16_t to; bool japanese = false; };
  const std::vector<Case> toUnicode = {
      {0x0B3E, 0xFF9F}, {0x0F00, 0xFFFF}, {0x2400, 0xFFFF}, {0x10129, 0x00E9}, {0xF90A, 0xFFFF}, {0x0000, 0x0000},
      {0x2400, 0x3000, true}, {0x2BBC, 0xE000, true}, {0x0100, 0x0300, true},
      {0x5300, 0xFFFF, true},  // a Korean place under a Japanese code page
  };
  const std::vector<Case> toNative = {
      {0x007E, 0x007E}, {0x007F, 0xFFFF}, {0x00A0, 0x0CA0}, {0x20AC, 0x0448}, {0x4E9C, 0xFFFF}, {0x10041, 0x0041},
      {0x3000, 0x2400, true}, {0x4E9C, 0x2B5E, true}, {0xE000, 0x2BBC, true},
      {0x00E9, 0x0129, true},  // the table first, before the code page
      {0x0100, 0x015C, true}, {0xFF01, 0x2409, true},
      {0xAC00, 0xFFFF, true},
  };
  for (const auto &[cases, convert] :
       {std::pair{&toUnicode, &KZcharQX6xToUnicode}, std::pair{&toNative, &KZcharUnicodeToQX6x}}) {
    for (const Case &c : *cases) {
      ScopedProfile profile(c.japanese ? kJapanese : kWestern);
      EXPECT_EQ(convert(c.from), c.to) << std::hex << c.from;
    }
  }
}

TEST(GetQXCCHARValue, AgreesWithAScanOfTheReverseTable) {
  using qstr::charset::kReverseTable;
  std::vector<uint16_t> scanned(0x10000, 0xFFFF);
  for (std::size_t i = 0; i < qstr::charset::kReverseTableSize; ++i) {
    scanned[kReverseTable[i].unicode] = kReverseTable[i].native;
  }
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    ASSERT_EQ(GetQXCCHARValue(u + 0x10000), scanned[u]) << std::hex << u;
    ASSERT_EQ(qstr::charset::reverseTableSearch(static_cast<uint16_t>(u)), scanned[u]) << std::hex << u;
  }
}

TEST(StringConversion, StopsAfterTheTerminatorOrAtEitherLength) {
  ScopedProfile profile(kWestern);
  const Elements native = units(u"AB\0CD"s);
  struct Case { uint32_t srcLength, dstLength, result; std::u16string written; };
  const std::vector<Case> cases = {
      {10, 10, 3, u"AB\0"s}, {10, 2, 2, u"AB"}, {2, 10, 2, u"AB"}, {0, 10, 0, u""}, {10, 0, 0, u""},
  };
  for (const Case &c : cases) {
    Elements out(12, kGuard), back(12, kGuard);
    EXPECT_EQ(KZstrQX6xToUnicode(native.data(), c.srcLength, out.data(), c.dstLength), c.result);
    EXPECT_EQ(KZstrUnicodeToQX6x(native.data(), c.srcLength, back.data(), c.dstLength), c.result);
    EXPECT_EQ(out, guarded(c.written, 12)) << c.srcLength << " " << c.dstLength;
    EXPECT_EQ(back, out) << c.srcLength << " " << c.dstLength;
  }
  Elements out(4, kGuard);  // no mapping: stored as 0xFFFF and counted
  ASSERT_EQ(KZstrQX6xToUnicode(units(u"\uF90A\u0129").data(), 3, out.data(), 3), 3u);
  EXPECT_EQ(out, guarded(u"\uFFFF\u00E9\0"s, 4));
}

// Limits count characters (a double-byte one is one) and the terminator; a lead byte at the end is dropped.
TEST(BytesToNative, LimitsAndDoubleByteCharacters) {
  struct Case { bool japanese; const char *source; uint32_t n; int32_t result; std::u16string expected; };
  const std::vector<Case> cases = {
      {false, "A\xE9\x80", kWhole, 1, u"A\u0129\u0448\0"s}, {false, "ABCDE", 3, 1, u"AB\0"s},
      {false, "ABC", 1, 1, u"\0"s}, {false, "ABC", 0, 0, u""},
      {false, "ABC", 0x10003, 1, u"AB\0"s}, {false, nullptr, kWhole, 1, u"\0"s},
      {true, "a\x88\x9F\xB1", kWhole, 1, u"a\u2B5E\u0B10\0"s},
      {true, "\x88\x9F\x88\x9F\x88\x9F", 3, 1, u"\u2B5E\u2B5E\0"s}, {true, "a\x88", kWhole, 1, u"a\0"s},
  };
  for (const Case &c : cases) {
    Machine machine(c.japanese ? kJapanese : kWestern);
    Elements dst(8, kGuard);
    EXPECT_EQ(c.n == kWhole ? Q6azTowz(c.source, dst.data()) : Q6azTowzN(c.source, dst.data(), c.n), c.result);
    EXPECT_EQ(dst, guarded(c.expected, 8)) << c.japanese << " " << c.n;
  }
  Machine machine(kJapanese);  // in place, in a buffer sized for the native string
  Elements buffer(6, kGuard);
  std::memcpy(buffer.data(), "x\x88\x9F\xB1", 5);
  ASSERT_EQ(Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data()), 1);
  EXPECT_EQ(buffer, guarded(u"x\u2B5E\u0B10"));
}

// Flags: 0x01 a replacement for no host code, 0x02 paragraph end as space, 0x04 CR LF, 0x08 only measures.
TEST(NativeToBytes, FlagsOfTheExtendedConversion) {
  Machine machine(kWestern);
  struct Case { std::u16string source; uint32_t flags; std::string bytes; };
  const std::vector<Case> cases = {
      {u"a\uF90Ab", 0x01, "a\nb"}, {u"a\uF90Ab", 0x05, "a\r\nb"}, {u"\uF90D", 0x01, "\r"}, {u"\uF90D", 0x05, "\r\n"},
      {u"\uF90D", 0x07, " "}, {u"a\u2400b", 0x00, "ab"}, {u"a\u2400b", 0x01, "a\x80" "b"},
      {u"\u0129\u0448\u0C81\x84", 0x01, "\xE9\x80\x81\x84"},
  };
  for (const Case &c : cases) {
    const Elements source = units(c.source);
    std::string dst(16, 'U'), untouched(4, 'U');
    const uint32_t written = Q6wzToazEx(source.data(), dst.data(), c.flags);
    EXPECT_EQ(written, c.bytes.size()) << c.flags;
    EXPECT_EQ(Q6wzToazEx(source.data(), untouched.data(), c.flags | 0x08), written);
    EXPECT_EQ(Q6wzToazEx(source.data(), nullptr, c.flags | 0x08), written);
    EXPECT_EQ(dst.substr(0, written + 1), c.bytes + '\0') << c.flags;
    EXPECT_EQ(untouched, "UUUU");
  }
  std::string dst(8, 'U');
  EXPECT_EQ(Q6wzToaz(units(u"xy").data(), dst.data()), 2u);  // the bytes written
}

// Neither a byte limit (NB, 16 bits) nor a character limit (N, with the terminator) splits a character.
TEST(NativeToBytes, LimitsNeverSplitADoubleByteCharacter) {
  Machine machine(kJapanese);
  const Elements twoKanji = units(u"\u2B5E\u2B5E");
  const std::string kanji = "\x88\x9F";
  struct Case { decltype(&Q6wzToazN) convert; uint32_t limit; std::string bytes; };
  const std::vector<Case> cases = {{Q6wzToazNB, 1, ""}, {Q6wzToazNB, 2, ""}, {Q6wzToazNB, 3, kanji},
                                   {Q6wzToazNB, 5, kanji + kanji}, {Q6wzToazNB, 0x10003, kanji},
                                   {Q6wzToazN, 1, ""}, {Q6wzToazN, 2, kanji}, {Q6wzToazN, 3, kanji + kanji}};
  for (const Case &c : cases) {
    std::string dst(8, 'U');
    ASSERT_EQ(c.convert(twoKanji.data(), dst.data(), c.limit), 1);
    EXPECT_EQ(dst, (c.bytes + '\0' + std::string(8, 'U')).substr(0, 8)) << c.limit;
  }
  std::string dst(8, 'U');
  EXPECT_EQ(Q6wzToazNB(nullptr, dst.data(), 8), 0);
  EXPECT_EQ(Q6wzToazNB(twoKanji.data(), nullptr, 8), 0);
  EXPECT_EQ(Q6wzToazNB(twoKanji.data(), dst.data(), 0), 0);
  EXPECT_EQ(dst, std::string(8, 'U'));
}

// Limits count elements with the terminator, also past the 8192-unit pieces.
TEST(UnicodeForms, WholeAndLimited) {
  Machine machine(kWestern);
  const std::u16string unicode = u"A\u00E9\u20AC", native = u"A\u0129\u0448";
  const Elements u = units(unicode), w = units(native);
  for (const auto &[n, length] : {std::pair{kWhole, 3}, std::pair{10u, 3}, std::pair{3u, 2}, std::pair{1u, 0}}) {
    Elements toNative(6, kGuard), toUnicode(6, kGuard);
    ASSERT_EQ(n == kWhole ? Q6WStrTowz(u.data(), toNative.data()) : Q6WStrTowzN(u.data(), toNative.data(), n), 1);
    ASSERT_EQ(n == kWhole ? Q6wzToWStr(w.data(), toUnicode.data()) : Q6wzToWStrN(w.data(), toUnicode.data(), n), 1);
    EXPECT_EQ(toNative, guarded(native.substr(0, length) + u'\0', 6)) << n;
    EXPECT_EQ(toUnicode, guarded(unicode.substr(0, length) + u'\0', 6)) << n;
  }
  Elements out(4, kGuard);
  EXPECT_EQ(Q6wzToWStrN(w.data(), out.data(), 0), 0);  // no room for the terminator
  EXPECT_EQ(Q6WStrTowzN(u.data(), out.data(), 0), 0);
  Elements converted(10002, kGuard);
  ASSERT_EQ(Q6wzToWStrN(units(std::u16string(10000, u'B')).data(), converted.data(), 9001), 1);
  EXPECT_EQ(converted, guarded(std::u16string(9000, u'B') + u'\0', 10002));
}

// 0x0C00 converts to a zero unit, which ends the string wherever it falls in the loops' blocks.
TEST(UnicodeForms, ZeroUnitEndsTheString) {
  Machine machine(kWestern);
  for (std::size_t before : {0, 1, 7, 8, 15, 16, 17, 40}) {
    const Elements src = units(std::u16string(before, u'A') + u'\u0C00' + std::u16string(40, u'B'));
    for (uint32_t n : {kWhole, 200u}) {
      Elements dst(src.size() + 4, kGuard);
      ASSERT_EQ(n == kWhole ? Q6wzToWStr(src.data(), dst.data()) : Q6wzToWStrN(src.data(), dst.data(), n), 1);
      EXPECT_EQ(dst, guarded(std::u16string(before, u'A') + u'\0', dst.size())) << n << " " << before;
    }
  }
}

// Sets 1-14 hold the codes of their tables, 0 and 12 a range; East Asian sets need double-byte support.
TEST(ValidQxCharacter, RangesAndDoubleByteSupport) {
  struct Case { uint32_t native; int32_t western, japanese; };
  const std::vector<Case> cases = {
      {0x0041, 1, 1}, {0x001F, 0, 0}, {0x007F, 0, 0}, {0x2400, 0, 1}, {0xDF00, 0, 1}, {0xE000, 0, 0},
      {0xFFFF, 0, 0}, {0xFF41, 1, 1}, {0x0CFE, 1, 1}, {0x0CFF, 1, 1}, {0x0F00, 0, 0},
  };
  for (bool japanese : {false, true}) {
    ScopedProfile profile(japanese ? kJapanese : kWestern);
    for (const Case &c : cases) {
      EXPECT_EQ(ValidQxCharacter(c.native), japanese ? c.japanese : c.western) << std::hex << c.native;
    }
  }
  ScopedProfile profile(kWestern);
  for (unsigned set = 1; set <= 14; ++set) {
    const unsigned length = qstr::charset::kForwardTables[set].length;
    for (unsigned code = 0; code < 255 && set != 12; ++code) {
      SCOPED_TRACE(set << 8 | code);
      EXPECT_EQ(ValidQxCharacter(set << 8 | code), code < length ? 1 : 0);
      EXPECT_EQ(GetUnicodeValue(set, code) != 0, code < length);
      EXPECT_EQ(KZcharQX6xToUnicode(set << 8 | code) != 0xFFFF, code < length);
    }
  }
}

// Each double-byte code places on its own East Asian native and back; codes and natives outside, none.
TEST(EastAsianPlacement, EveryDoubleByteCodeRoundTrips) {
  // Code page, then the first and last byte of each range of lead bytes and of trail bytes.
  const std::vector<std::tuple<uint32_t, std::string, std::string>> areas = {
      {932, "\x81\x9F\xE0\xFC", "\x40\x7E\x80\xFC"}, {949, "\xA1\xFE", "\xA1\xFE"}, {934, "\xA1\xFE", "\xA1\xFE"},
      {936, "\x81\xFE", "\xA1\xFE"}, {950, "\x81\xFE", "\x40\x7E\xA1\xFE"}, {938, "\x81\xFE", "\x40\x7E\xA1\xFE"},
  };
  auto in = [](const std::string &ranges, unsigned b) {
    for (std::size_t i = 0; i < ranges.size(); i += 2) {
      if (b >= uint8_t(ranges[i]) && b <= uint8_t(ranges[i + 1])) return true;
    }
    return false;
  };
  for (const auto &[codePage, leads, trails] : areas) {
    std::vector<bool> used(0x10000, false);
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
      const uint16_t native = lDbcsToQX6x(codePage, static_cast<uint16_t>(code));
      if (!in(leads, code >> 8) || !in(trails, code & 0xFF)) {
        ASSERT_EQ(native, kNoMapping) << codePage << " " << std::hex << code;
        continue;
      }
      const bool placed = qstr::charset::isEastAsianSet(native >> 8) && !used[native];
      ASSERT_TRUE(placed && lQX6xToDbcs(codePage, native) == code) << codePage << " " << std::hex << code;
      used[native] = true;
    }
    for (unsigned native = 0; native <= 0xFFFF; native = native == 0x23FF ? 0xDF00 : native + 1) {
      ASSERT_EQ(lQX6xToDbcs(codePage, static_cast<uint16_t>(native)), kNoMapping) << std::hex << native;
    }
  }
}

// Where the user-defined slots start, and natives no code gives (slots past 0xFB: next set's).
TEST(EastAsianPlacement, KnownPlaces) {
  struct Case { uint32_t codePage; uint16_t code, native; };
  const std::vector<Case> places = {
      {932, 0x8140, 0x2400}, {932, 0xF140, 0x2DF8}, {936, 0x81A1, 0x2BBC}, {950, 0x8140, 0x2BBC},
  };
  const std::vector<Case> onlyBack = {
      {932, 0xF081, 0x2BFC}, {932, kNoMapping, 0x2AFC}, {932, kNoMapping, 0x5300}, {949, kNoMapping, 0x53BC},
      {949, kNoMapping, 0x8200}, {936, 0x81E3, 0x2BFE}, {936, kNoMapping, 0x81FC}, {936, kNoMapping, 0x82FF},
      {950, kNoMapping, 0xDEDF}, {950, kNoMapping, 0xA5FF}, {950, kNoMapping, 0x2BBB},
  };
  for (const Case &c : places) EXPECT_EQ(lDbcsToQX6x(c.codePage, c.code), c.native) << std::hex << c.code;
  for (const std::vector<Case> &cases : {places, onlyBack}) {
    for (const Case &c : cases) {
      EXPECT_EQ(lQX6xToDbcs(c.codePage, c.native), c.code) << c.codePage << " " << std::hex << c.native;
    }
  }
}

}  // namespace
