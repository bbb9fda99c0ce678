// Native strings from and to host bytes and Unicode: limits, flags, double-
// byte characters, conversion in place, and a zero unit ending the string.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "support/machine.h"

namespace {

using Elements = std::vector<uint16_t>;
using qstr::test::Machine;
constexpr uint16_t kGuard = 0x5555;
constexpr uint32_t kWhole = 0xFFFFFFFF;  // no limit: the form without N

Elements guarded(Elements s, std::size_t size) {
  s.resize(size, kGuard);
  return s;
}

// Limits count characters (a double-byte one is one) and include the
// terminator; a lead byte before the terminator is dropped.
TEST(BytesToNative, LimitsAndDoubleByteCharacters) {
  struct Case { const char *lang, *source; uint32_t n; int32_t result; Elements expected; };
  const std::vector<Case> cases = {
      {"en_US", "A\xE9\x80", kWhole, 1, {'A', 0x0129, 0x0448, 0}}, {"en_US", "ABCDE", 3, 1, {'A', 'B', 0}},
      {"en_US", "ABC", 1, 1, {0}}, {"en_US", "ABC", 0, 0, {}}, {"en_US", "AB", 100, 1, {'A', 'B', 0}},
      {"en_US", "ABC", 0x10003, 1, {'A', 'B', 0}}, {"en_US", nullptr, kWhole, 1, {0}},
      {"ja_JP", "a\x88\x9F\xB1", kWhole, 1, {'a', 0x2B5E, 0x0B10, 0}},
      {"ja_JP", "\x88\x9F\x88\x9F\x88\x9F", 3, 1, {0x2B5E, 0x2B5E, 0}}, {"ja_JP", "a\x88", kWhole, 1, {'a', 0}},
  };
  for (const Case &c : cases) {
    Machine machine({{"LANG", c.lang}});
    Elements dst(8, kGuard);
    EXPECT_EQ(c.n == kWhole ? Q6azTowz(c.source, dst.data()) : Q6azTowzN(c.source, dst.data(), c.n), c.result);
    EXPECT_EQ(dst, guarded(c.expected, 8)) << c.lang << " " << (c.source ? c.source : "null") << " " << c.n;
  }
  // In place, in a buffer sized for the native string; with double-byte support through a copy.
  for (const auto &[lang, source, expected] : {std::tuple{"en_US", "Caf\xE9", Elements{'C', 'a', 'f', 0x0129, 0}},
                                               std::tuple{"ja_JP", "x\x88\x9Fy", Elements{'x', 0x2B5E, 'y', 0}}}) {
    Machine machine({{"LANG", lang}});
    Elements buffer(8, kGuard);
    std::memcpy(buffer.data(), source, std::strlen(source) + 1);
    ASSERT_EQ(Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data()), 1);
    EXPECT_EQ(Elements(buffer.begin(), buffer.begin() + expected.size()), expected) << lang;
  }
}

// Flags: 0x01 writes a replacement for what has no host code, 0x02 a
// paragraph end as a space, 0x04 line ends as CR LF; 0x08 only measures.
TEST(NativeToBytes, FlagsOfTheExtendedConversion) {
  Machine machine({{"LANG", "en_US"}});
  struct Case { Elements source; uint32_t flags; std::string bytes; };
  const std::vector<Case> cases = {
      {{'a', 0xF90A, 'b', 0}, 0x01, "a\nb"}, {{'a', 0xF90A, 'b', 0}, 0x05, "a\r\nb"}, {{0xF90D, 0}, 0x01, "\r"},
      {{0xF90D, 0}, 0x05, "\r\n"}, {{0xF90D, 0}, 0x07, " "}, {{'a', 0x2400, 'b', 0}, 0x00, "ab"},
      {{'a', 0x2400, 'b', 0}, 0x01, "a\x80" "b"}, {{0x0129, 0x0448, 0x0C81, 0x0084, 0}, 0x01, "\xE9\x80\x81\x84"},
  };
  for (const Case &c : cases) {
    std::string dst(16, 'U'), untouched(4, 'U');
    const uint32_t written = Q6wzToazEx(c.source.data(), dst.data(), c.flags);
    EXPECT_EQ(written, c.bytes.size()) << "flags " << c.flags;
    EXPECT_EQ(Q6wzToazEx(c.source.data(), untouched.data(), c.flags | 0x08), written);
    EXPECT_EQ(Q6wzToazEx(c.source.data(), nullptr, c.flags | 0x08), written);
    EXPECT_EQ(dst.substr(0, written + 1), c.bytes + '\0') << "flags " << c.flags;
    EXPECT_EQ(untouched, "UUUU");
  }
  std::string dst(8, 'U');
  EXPECT_EQ(Q6wzToaz(Elements({'x', 'y', 0}).data(), dst.data()), 2u);  // the bytes written
}

// A byte limit (NB, 16 bits of it) never splits a double-byte character; a
// character limit (N) counts one as one and the terminator too.
TEST(NativeToBytes, LimitsNeverSplitADoubleByteCharacter) {
  Machine machine({{"LANG", "ja_JP"}});
  const Elements twoKanji = {0x2B5E, 0x2B5E, 0};
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

// Both ways, whole and limited to n elements with the terminator, also
// past the 8192 units converted at a time.
TEST(UnicodeForms, WholeAndLimited) {
  Machine machine({{"LANG", "en_US"}});
  const Elements unicode = {'A', 0xE9, 0x20AC, 0}, native = {'A', 0x0129, 0x0448, 0};
  for (const auto &[n, length] : {std::pair{kWhole, 3}, std::pair{10u, 3}, std::pair{3u, 2}, std::pair{1u, 0}}) {
    Elements toNative(6, kGuard), toUnicode(6, kGuard);
    const uint16_t *u = unicode.data(), *w = native.data();
    ASSERT_EQ(n == kWhole ? Q6WStrTowz(u, toNative.data()) : Q6WStrTowzN(u, toNative.data(), n), 1);
    ASSERT_EQ(n == kWhole ? Q6wzToWStr(w, toUnicode.data()) : Q6wzToWStrN(w, toUnicode.data(), n), 1);
    Elements expected(native.begin(), native.begin() + length), back(unicode.begin(), unicode.begin() + length);
    expected.push_back(0);
    back.push_back(0);
    EXPECT_EQ(toNative, guarded(expected, 6)) << n;
    EXPECT_EQ(toUnicode, guarded(back, 6)) << n;
  }
  Elements out(4, kGuard);
  ASSERT_EQ(Q6wzToWStr(Elements({0x0129, 0xF90A, 0}).data(), out.data()), 1);
  EXPECT_EQ(out, Elements({0xE9, 0xFFFF, 0, kGuard}));
  ASSERT_EQ(Q6wzToWStrEx(Elements({'Z', 0}).data(), out.data(), 12345), 1);
  EXPECT_EQ(out, Elements({'Z', 0, 0, kGuard}));
  EXPECT_EQ(Q6wzToWStrN(native.data(), out.data(), 0), 0);
  Elements along(10000, 'B'), converted(10002, kGuard), expected(9000, 'B');
  along.push_back(0);
  expected.push_back(0);
  ASSERT_EQ(Q6wzToWStrN(along.data(), converted.data(), 9001), 1);
  EXPECT_EQ(converted, guarded(expected, 10002));
}

// 0x0C00 converts to a zero unit, which ends the string: nothing after it
// is written, wherever it falls in the blocks the loops convert at once.
TEST(UnicodeForms, ZeroUnitEndsTheString) {
  Machine machine({{"LANG", "en_US"}});
  for (std::size_t before : {0, 1, 7, 8, 15, 16, 17, 40}) {
    Elements src(before, 'A');
    src.push_back(0x0C00);
    src.insert(src.end(), 40, 'B');
    src.push_back(0);
    Elements expected(before, 'A');
    expected.push_back(0);
    for (uint32_t n : {kWhole, 0u, 200u}) {  // 0: the Ex form
      Elements dst(src.size() + 4, kGuard);
      if (n == kWhole) ASSERT_EQ(Q6wzToWStr(src.data(), dst.data()), 1);
      if (n == 0) ASSERT_EQ(Q6wzToWStrEx(src.data(), dst.data(), 0), 1);
      if (n == 200) ASSERT_EQ(Q6wzToWStrN(src.data(), dst.data(), n), 1);
      EXPECT_EQ(dst, guarded(expected, src.size() + 4)) << n << ", " << before << " before";
    }
  }
}

}  // namespace
