// Primitives over byte, 16-bit and stream strings: copies, equality, order, case, search, character
// classes, byte-safe form, special codes, menu text. Guards 'U' (0x55) show every write.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "asian/country_scope.h"
#include "qstr14/strings.h"
#include "support/host_profile.h"
#include "support/native_text.h"
#include "support/stream_builder.h"

namespace {

using namespace std::string_literals;
using Native = std::vector<uint16_t>;
using Bytes = std::vector<uint8_t>;
using qstr::test::ScopedProfile;
using S = qstr::test::StreamBuilder;
using qstr::test::native_text::guarded;
using qstr::test::native_text::kGuard;
using qstr::test::native_text::units;
const qstr::test::Environment kJapanese = {{"LANG", "ja_JP"}}, kEnglish = {{"LANG", "en_US"}};

const uint8_t *bytes(const std::string &stream) { return reinterpret_cast<const uint8_t *>(stream.c_str()); }

template <typename T> int64_t at(const T *base, const T *found) { return found ? found - base : -1; }

// Rows of (what a call gives, what it should give).
void expectRows(const std::vector<std::pair<int64_t, int64_t>> &rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

const std::string kAbHiragana = "ab\x82\xA0";  // a double-byte character in 932 after "ab"

// Bounded copies do not split a double-byte character.
TEST(ByteStrings, BoundedCopies) {
  struct Case { std::string source; int32_t n; std::string ncpy, upTo; bool japanese; };
  const std::vector<Case> cases = {
      {"ab", 5, "ab\0\0\0UUU"s, "ab\0\0UUUU"s, true},  // one more zero after a copied terminator
      {"abcdef", 3, "abcUUUUU", "ab\0UUUUU"s, true}, {"abcdef", 0, "UUUUUUUU", "UUUUUUUU", true},
      {"abcdef", 1, "aUUUUUUU", "\0UUUUUUU"s, false},  // room for the terminator alone
      {kAbHiragana, 3, "abUUUUUU", "ab\0UUUUU"s, true}, {kAbHiragana, 4, "ab\x82\xA0UUUU", "ab\0\xA0UUUU"s, true},
      {kAbHiragana, 3, "ab\x82UUUUU", "ab\0UUUUU"s, false},  // 1252: no lead bytes
      {"\x82", 8, "\x82\0\0\0\0\0\0\0"s, "\0\0UUUUUU"s, true},  // a lone lead byte is dropped
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.japanese ? kJapanese : kEnglish);
    std::string dst = "UUUUUUUU", upTo = dst;
    EXPECT_EQ(wstrncpy(dst.data(), c.source.c_str(), static_cast<uint32_t>(c.n)), dst.data());
    CopyUpToAndNullTerminate(upTo.data(), c.source.c_str(), c.n);
    EXPECT_EQ(dst + "/" + upTo, c.ncpy + "/" + c.upTo) << c.source << " " << c.n;
  }
  for (const auto &[n, expected] : std::vector<std::pair<uint32_t, std::string>>{
           {2, "xab\0UUUU"s}, {9, "xabc\0UUU"s}, {0, "x\0UUUUUU"s}}) {
    std::string dst = "x\0UUUUUU"s;
    EXPECT_EQ(wstrncat(dst.data(), "abc", n), dst.data());
    EXPECT_EQ(dst, expected) << n;
  }
}

TEST(ByteStrings, CompareSearchAndCopy) {
  const char text[] = "abcabc";
  char dst[8] = "x";
  expectRows({{wstrlen(nullptr), 0}, {wstrcmp("abc", "abc"), 0}, {wstrcmp("ab", "abc"), -'c'},
              {wstrcmp("\xE9", "e"), 0xE9 - 'e'}, {wstrcmp(nullptr, "x"), 0}, {wstrncmp("abcx", "abcy", 3), 0},
              {wstrncmp("abcx", "abcy", 4), 'x' - 'y'}, {wstrncmp("a", "b", 0), 0}, {wstrncmp("a", "b", -1), 0},
              {wstrncmp("ab", "ab", 10), 0}, {at(text, wstrchr(text, 'b')), 1}, {at(text, wstrrchr(text, 'b')), 4},
              {at(text, wstrchr(text, 0)), -1}, {at(text, wstrrchr(text, 0)), -1}, {at(text, wstrchr(text, 'z')), -1},
              {at(text, wstrrchr(nullptr, 'a')), -1}, {at(text, wstrchr(text, 0x162)), 1},
              {at(dst, wstrcpy(nullptr, "a")), -1}, {at(dst, wstrcpy(dst, nullptr)), -1},
              {at(dst, wstrcat(wstrcpy(dst, "ab"), "cd")), 0}});
  EXPECT_STREQ(dst, "abcd");
}

// Lengths and bounded compares count bytes, bounded copies elements.
TEST(WideStrings, LengthsCompareSearch) {
  const uint16_t a[] = {1, 2, 3, 0}, b[] = {1, 2, 9, 0}, prefix[] = {1, 2, 0}, high[] = {0xFFFF, 0};
  const uint16_t text[] = {1, 2, 1, 2, 3, 0};
  const uint16_t needle[] = {1, 2, 3, 0}, empty[] = {0}, longer[] = {1, 2, 1, 2, 3, 1, 0};
  expectRows({{wwstrlen(a), 6}, {wwstrlen(nullptr), 0}, {wwstrncmp(a, b, 5), 0}, {wwstrncmp(a, b, 6), 3 - 9},
              {wwstrncmp(a, b, -2), 0}, {wwstrcmp(high, a), 0xFFFF - 1}, {wwstrcmp(a, a), 0},
              {wwstrcmp(prefix, a), -3}, {at(text, wwstrstr(text, needle)), 2},
              {at(text, wwstrstr(text, empty)), -1}, {at(text, wwstrstr(text, longer)), -1},
              {at(text, wwstrstr(nullptr, text)), -1}, {at(text, wwstrstr(text, nullptr)), -1},
              {at(text, wwstrchr(text, 2)), 1}, {at(text, wwstrrchr(text, 2)), 3}, {at(text, wwstrchr(text, 0)), -1},
              {at(text, wwstrrchr(text, 0)), -1}, {at(text, wwstrrchr(nullptr, 1)), -1},
              {at(text, wwstrchr(text, 0x10001)), 0}});
  const uint16_t src[] = {7, 8, 0};
  for (uint32_t n : {0u, 1u, 2u, 4u}) {
    Native copied(6, kGuard), appended = {1, 0, kGuard, kGuard, kGuard, kGuard};
    EXPECT_EQ(wwstrncpy(copied.data(), src, n), copied.data());
    EXPECT_EQ(wwstrncat(appended.data(), src, n), appended.data());
    EXPECT_EQ(copied, guarded(u"\7\b\0\0"s.substr(0, n), 6)) << n;
    EXPECT_EQ(appended, guarded(u"\1"s + std::u16string(u"\7\b", std::min(n, 2u)) + u'\0', 6)) << n;
  }
  Native dst(6, kGuard);
  EXPECT_EQ(wwstrcpy(nullptr, src), nullptr);
  EXPECT_EQ(wwstrcat(dst.data(), nullptr), nullptr);
  wwstrcat(wwstrcpy(dst.data(), src), src);
  EXPECT_EQ(dst, (Native{7, 8, 7, 8, 0, kGuard}));
}

TEST(MemoryBlocks, NullToleranceAndOverlap) {
  uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8}, copy[8];
  QXwmemcpy(bytes + 2, bytes, 5);  // overlapping: memmove semantics
  QXwhmemcpy(bytes, bytes + 1, 3);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8), (std::vector<uint8_t>{2, 1, 2, 2, 3, 4, 5, 8}));
  QXwmemcpy(nullptr, bytes, 3);
  QXwhmemmove(bytes, nullptr, 3);
  QXwhmemset(nullptr, 0, 3);
  QXwmemset(bytes, 0x1FF, 2);
  QXwmemmove(copy, bytes, 8);
  copy[7] = 0;
  const uint16_t elements[] = {5, 6, 7, 0, 9};
  expectRows({{bytes[0], 0xFF}, {bytes[2], 2}, {QXwmemcmp(copy, bytes, 7), 0}, {QXwmemcmp(nullptr, bytes, 8), 0},
              {QXwmemcmp(bytes, copy, 8) > 0, 1}, {at(elements, QXwmemwchr(elements, 7, 3)), 2},
              {at(elements, QXwmemwchr(elements, 7, 2)), -1}, {at(elements, QXwmemwchr(elements, 9, 5)), 4},
              {at(elements, QXwmemwchr(elements, 5, 0)), -1}, {at(elements, QXwmemwchr(elements, 5, 0x10000)), -1},
              {at(elements, QXwmemwchr(elements, 5, 1)), 0}, {at(elements, QXwmemwchr(nullptr, 5, 3)), -1}});
}

// Streams are copied and measured item by item: zero bytes inside a group do not end them.
TEST(DocumentStreamStrings, CopyWholeItems) {
  const Bytes stream = S().plain('a').fixedGroup(0xFD, 8).character(0x0100).bytes();
  Bytes joined(32, 0x55);
  EXPECT_EQ(wdstrcpy(joined.data(), stream.data()), joined.data());
  wdstrcat(joined.data(), stream.data());
  Bytes expected = S().plain('a').fixedGroup(0xFD, 8).character(0x0100).plain('a').fixedGroup(0xFD, 8)
                       .character(0x0100).bytes();
  expected.resize(32, 0x55);
  EXPECT_EQ(joined, expected);
  EXPECT_EQ(wdstrlen(joined.data()), 26u);
}

// The n forms compare within n elements; functions (0xF900 on) are no characters.
TEST(NativeEquality, ExactIgnoringCaseAndWithinN) {
  struct Case { std::u16string a, b; uint32_t n; int32_t equ, iequ, nequ, niequ; };
  const std::vector<Case> cases = {
      {u"ab", u"aB", 2, 0, 1, 0, 1},  {u"ab", u"abc", 2, 0, 0, 1, 1},
      {u"", u"\uF90A", 1, 1, 1, 0, 0}, {u"\u0118", u"\u0119", 1, 0, 0, 0, 0}, {u"a", u"\u0141", 1, 0, 0, 0, 0},
      {u"\u0A00\u0801", u"\u0A01\u0800", 5, 0, 1, 0, 1}, {u"ab", u"ax", 1, 0, 0, 1, 1},
      {u"ab", u"ab", 0, 1, 1, 0, 0},   {u"ab", u"a", 5, 0, 0, 0, 0},
      {u"\uF900ab", u"ab", 2, 1, 1, 0, 1},        // the bound comes before a's two characters
      {u"\uF900\uF900a", u"a", 2, 1, 1, 0, 0},    // a's first character lies at n
      {u"a", u"\uF900\uF900a", 2, 1, 1, 0, 0},    // and b's
      {u"abc", u"a\uF900bc", 3, 1, 1, 0, 1},      // b's bound reached after "ab"
  };
  for (const Case &c : cases) {
    const Native x = units(c.a), y = units(c.b);
    EXPECT_EQ(Q6wstrequ(x.data(), y.data()), c.equ);
    EXPECT_EQ(Q6wstriequ(x.data(), y.data()), c.iequ);
    EXPECT_EQ(Q6wstriequ(y.data(), x.data()), c.iequ);
    EXPECT_EQ(Q6wstrnequ(x.data(), y.data(), c.n), c.nequ);
    EXPECT_EQ(Q6wstrniequ(x.data(), y.data(), c.n), c.niequ);
  }
}

// A letter and its group (F0 low high F0) are equal ignoring case only; functions (0x80-0xBF) and other
// groups are no characters; the n forms bound bytes, the c forms characters (kWhole: no bound).
TEST(StreamEquality, ExactIgnoringCaseAndLimits) {
  constexpr int32_t kWhole = 100;
  struct Case { std::string a, b; int32_t limit, nequ, niequ, cequ, ciequ; };
  const std::vector<Case> cases = {
      {"a\x85" "b", "a\x86" "b", kWhole, 1, 1, 1, 1}, {"A", "\xF0" "a\0\xF0"s, kWhole, 0, 1, 0, 1},
      {"a", "\xF0\x41\x01\xF0", kWhole, 0, 0, 0, 0}, {"a", "ab", kWhole, 0, 0, 0, 0},
      {"\xD0\0\x09\0xx\x09\0\xD0" "a"s, "\xF4y\xF4" "a", kWhole, 1, 1, 1, 1}, {"", "\x80", kWhole, 1, 1, 1, 1},
      {"ab", "aX", 1, 1, 1, 1, 1}, {"ab", "aX", 2, 0, 0, 0, 0}, {"ab", "aX", -1, 1, 1, 1, 1},
      {"ab", "\x85" "AB", 1, 1, 1, 0, 1}, {"ab", "\x85" "AB", 2, 0, 1, 0, 1}, {"\x85" "AB", "ab", 1, 1, 1, 0, 1},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const Case &c = cases[i];
    const uint8_t *a = bytes(c.a), *b = bytes(c.b);
    if (c.limit == kWhole) {
      EXPECT_EQ(Q6dstrequ(a, b), c.cequ);
      EXPECT_EQ(Q6dstriequ(b, a), c.ciequ);
    }
    if (c.limit >= 0) {
      EXPECT_EQ(Q6dstrnequ(a, b, static_cast<uint32_t>(c.limit)), c.nequ);
      EXPECT_EQ(Q6dstrniequ(a, b, static_cast<uint32_t>(c.limit)), c.niequ);
    }
    EXPECT_EQ(Q6dstrcequ(a, b, c.limit), c.cequ);
    EXPECT_EQ(Q6dstrciequ(a, b, c.limit), c.ciequ);
  }
}

// The string search sees characters only, the delimiter search every element.
TEST(NativeSearch, CharactersOnly) {
  struct Case { std::u16string haystack, needle; int at; };
  const std::vector<Case> cases = {
      {u"aaab", u"aab", 1}, {u"\uF900", u"a", -1}, {u"ab", u"\uF900", -1}, {u"a\uF900b", u"ab", 0},
      {u"x", u"xy", -1}, {u"\uFE01xab", u"\uF90Aa\uF90Ab", 2},
  };
  for (const Case &c : cases) {
    Native h = units(c.haystack), n = units(c.needle);
    EXPECT_EQ(at(h.data(), Q6wstrstr(h.data(), n.data())), c.at);
  }
  const Native s = units(u"a\uF90A,b;"), delimiters = units(u",;"), lineFeed = units(u"\uF90A");
  const Native empty = {0};
  expectRows({{Q6wstrchrcnt(units(u"\uF8FF\uF900a\uFFFF\u0100").data()), 3}, {Q6wstrchrcnt(empty.data()), 0},
              {at(s.data(), Q6wstrdelim(s.data(), delimiters.data())), 2},
              {at(s.data(), Q6wstrdelim(s.data(), lineFeed.data())), 1},
              {at(s.data(), Q6wstrdelim(s.data(), empty.data())), 5},
              {at(empty.data(), Q6wstrdelim(empty.data(), delimiters.data())), 0}});
}

// Every 16-bit value against the ranges of each class; only the low 16 bits of a value count.
TEST(CharacterClasses, EveryValueAgainstTheRanges) {
  struct Range { uint32_t first, last; };
  const std::vector<Range> letters = {
      {0x0041, 0x005A}, {0x0061, 0x007A}, {0x0117, 0x01F1}, {0x0800, 0x084E}, {0x086D, 0x08D6},
      {0x0900, 0x091A}, {0x0954, 0x0976}, {0x0A00, 0x0AC7}, {0x0AD2, 0x0AF9}, {0x0B05, 0x0B3E},
      {0x0D2F, 0x0DC1}, {0x0E29, 0x0EDB}};
  const std::vector<Range> spaces = {{0x0020, 0x0020}, {0xF909, 0xF90D}, {0xFB02, 0xFB02}, {0xFB17, 0xFB32},
                                     {0xFC40, 0xFC61}};
  auto in = [](const std::vector<Range> &ranges, uint32_t c) {
    return uint16_t(std::any_of(ranges.begin(), ranges.end(), [c](Range r) { return c >= r.first && c <= r.last; }));
  };
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    const uint16_t digit = c >= '0' && c <= '9', alpha = in(letters, c);
    const uint32_t high = c + 0x10000 * (c % 3);
    SCOPED_TRACE(high);
    ASSERT_EQ(Q6wstrIsDigit(high), digit);
    ASSERT_EQ(Q6wstrIsAlpha(high), alpha);
    ASSERT_EQ(Q6wstrIsAlphaNum(high), digit | alpha);
    ASSERT_EQ(Q6wstrIsSpace(high), in(spaces, c));
  }
}

// 0xFF stands in for each zero byte, the terminator becomes 0x00FF; strings without 0xFF come back.
TEST(ByteSafeForm, RoundTrips) {
  const Native original = guarded(u"A\u0100\u12FE");
  Native s = original;
  EXPECT_EQ(Q6wstrFixExtChars(s.data()), s.data());
  EXPECT_EQ(s, (Native{0xFF41, 0x01FF, 0x12FE, 0x00FF, kGuard, kGuard}));
  Q6wstrUnFixExtChars(s.data());
  EXPECT_EQ(s, original);
}

// Mode 1 renumbers exactly 36 codes, mode 2 them back; other modes (16-bit) change nothing.
TEST(SpecialCodes, RenumberingBothWays) {
  const std::u16string native = u"\uF90D\uF90A\uF909\uFE00\uFE03\uFE1E\uFE1F\uF900A\uF90B\uFE20";
  const std::u16string renumbered = u"\uFB13\uFB16\uFC45\uFC66\uFC77\uFC75\uFC85\uF900A\uF90B\uFE20";
  for (const auto &[mode, from, to] :
       {std::tuple{1u, native, renumbered}, std::tuple{0x10002u, renumbered, native},
        std::tuple{3u, native, native}}) {
    Native s = guarded(from);
    EXPECT_EQ(Q6wzFix(s.data(), mode), s.data());
    EXPECT_EQ(s, guarded(to)) << mode;
  }
  int changed[3] = {0, 0, 0};
  for (uint32_t value = 0xF901; value <= 0xFFFF; ++value) {
    for (uint32_t mode : {1u, 2u}) {
      Native s = guarded(std::u16string(1, static_cast<char16_t>(value)));
      Q6wzFix(s.data(), mode);
      if (s[0] == value) continue;
      ++changed[mode];
      Q6wzFix(s.data(), 3 - mode);
      ASSERT_EQ(s[0], value) << std::hex << value;
    }
  }
  EXPECT_EQ(changed[1], 36);
  EXPECT_EQ(changed[2], 36);
}

TEST(MenuText, StripAmpersand) {
  struct Case { std::string source, expected; uint16_t mnemonic; bool dbcs; };
  const std::vector<Case> cases = {
      {"&File", "File", 0x0046, false}, {"Save && Exit", "Save && Exit", 0, false}, {"a&", "a", 0, false},
      {"File(&F)", "File(F)", 0x0046, false}, {"File(&F)", "File", 0x2846, true}, {"(", "", 0x2800, true},
      {"&Open (&x", "Open ", 0x2878, true},  // no ")": the rest is dropped, the code still taken
      {"(x", "", 0x2800, true},                // the string ends before the code byte
      {"a(&\xE9)b", "ab", 0xFFE9, true},       {"&\xE9t\xE9", "\xE9t\xE9", 0xFFE9, false},
      {"&a&b", "ab", 0x0062, false},           {"&&&x", "&&x", 0x0078, false},
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.dbcs ? kJapanese : kEnglish);
    std::string dst(c.source.size() + 4, '\x55');
    EXPECT_EQ(QstrStripAmpersand(dst.data(), c.source.c_str()), c.mnemonic) << c.source;
    EXPECT_EQ(std::string(dst.c_str()), c.expected) << c.source;
    EXPECT_EQ(dst.substr(c.expected.size() + 1), std::string(dst.size() - c.expected.size() - 1, 'U'));
  }
}

TEST(MenuText, TruncateKeepsDoubleByteCharactersWhole) {
  struct Case { std::string text; int32_t n, kept; bool dbcs; };
  const std::vector<Case> cases = {
      {"ab\x82\xA0" "cd", 3, 3, false},  // no double-byte support: bytes only
      {"ab\x82\xA0" "cd", 3, 2, true}, {"ab\x82\xA0" "cd", 4, 4, true},
      {"abcdef", 0, 0, true}, {"abcdef", -2, 0, true}, {"ab", 2, 2, true},
      {"ab\x82", 3, 2, true},  // a lead byte before the terminator
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.dbcs ? kJapanese : kEnglish);
    std::string s = c.text + "UUUU", expected = s;
    expected[c.kept] = '\0';
    EXPECT_EQ(QMBStrTrunc(s.data(), c.n), c.kept) << c.text << " " << c.n;
    EXPECT_EQ(s, expected) << c.text << " " << c.n;
  }
}

// Functions and letters without a pair are kept; double-width letters have a case for Japanese only.
TEST(CaseMapping, NativeStringsKeepFunctionsAndGuards) {
  struct Case { uint8_t country; std::u16string mixed, upper, lower; };
  const std::vector<Case> cases = {
      {0, u"aB\uF90A\u011A\u011B\uFE01\u0118\u0800\u0A01\u2540", u"AB\uF90A\u011A\u011A\uFE01\u0118\u0800\u0A00\u2540",
       u"ab\uF90A\u011B\u011B\uFE01\u0118\u0801\u0A01\u2540"},
      {1, u"\u2520a\u2540", u"\u2520A\u2520", u"\u2540a\u2540"},
  };
  for (const Case &c : cases) {
    qstr::test::ScopedCountry country(c.country);
    Native s = guarded(c.mixed);
    EXPECT_EQ(Q6wstrupr(s.data()), s.data());
    EXPECT_EQ(s, guarded(c.upper));
    EXPECT_EQ(Q6wstrlwr(s.data()), s.data());
    EXPECT_EQ(s, guarded(c.lower));
  }
  EXPECT_EQ(Q6wstrUpperCh(0x10061), 'A');  // only the low 16 bits count
}

// Functions and other groups keep every byte, even letter-like ones.
TEST(CaseMapping, StreamsChangeCharactersOnly) {
  auto stream = [](uint8_t a, uint16_t grouped, uint8_t b) {  // with a guard behind the terminator
    Bytes bytes = S().plain(a).function(0x85).fixedGroup(0xF6, 4, 'a').variableGroup(0xD3, 8, 'b', 'A')
                      .character(grouped).singleFF().plain(b).bytes();
    bytes.push_back(0x55);
    return bytes;
  };
  Bytes s = stream('a', 0x011A, 'Q');
  EXPECT_EQ(Q6dstrupr(s.data()), s.data());
  EXPECT_EQ(s, stream('A', 0x011A, 'Q'));
  EXPECT_EQ(Q6dstrlwr(s.data()), s.data());
  EXPECT_EQ(s, stream('a', 0x011B, 'q'));
}

// Differences of the upper-case forms; wwstrincmp's n counts bytes.
TEST(CaseInsensitiveCompare, ByteAndSixteenBitStrings) {
  expectRows({{wstricmp("Hello", "hELLO"), 0}, {wstricmp("a", ""), 'A'}, {wstricmp("\xE9", "\xC9"), 0x20},
              {wstricmp("a[", "A{"), '[' - '{'}});
  struct Case { std::u16string a, b; int32_t n, icmp, incmp; };
  const std::vector<Case> cases = {
      {u"abX", u"ABy", 6, 'X' - 'Y', 'X' - 'Y'}, {u"abX", u"ABy", 5, 'X' - 'Y', 0}, {u"abX", u"ABy", -2, 'X' - 'Y', 0},
      {u"ab", u"abc", 10, -'C', -'C'},
      {u"\uF90A", u"\uF90D", 2, 0xF90A - 0xF90D, 0xF90A - 0xF90D},  // every element counts
      {u"\uFFFF", u"a", 2, 0xFFFF - 'A', 0xFFFF - 'A'},             // unsigned differences
  };
  for (const Case &c : cases) {
    const Native a = units(c.a), b = units(c.b);
    EXPECT_EQ(wwstricmp(a.data(), b.data()), c.icmp);
    EXPECT_EQ(wwstrincmp(a.data(), b.data(), c.n), c.incmp) << c.n;
  }
}

constexpr int32_t kPast = 9;

// Case decides only between strings equal without it; count counts characters, n elements (kPast: all).
TEST(NativeOrder, TelltaleOrdersAndLimits) {
  struct Case { std::u16string a, b; int32_t count; uint32_t n; int ccmp, ncmp, icmp; };
  const std::vector<Case> cases = {
      {u"abc", u"ab", 3, 3, 1, 1, 1},          {u"abc", u"ab", 2, 2, 0, 0, 1},
      {u"", u"a", kPast, kPast, -1, -1, -1},   {u"zaB", u"zAb", kPast, kPast, -1, -1, 0},
      {u"Ab", u"aC", kPast, kPast, 1, 1, -1},
      {u"Zebra", u"apple", kPast, kPast, 1, 1, 1}, {u"abX", u"abY", 0, 0, 0, 0, -1},
      {u"\uF900ab", u"ac", 2, 2, -1, 0, -1},       // the bound of a is met after "a"
      {u"ac", u"\uF900\uF901ab", 2, 2, 1, 0, 1},   // the bound of b is met before "c"
      {u"\uF900\uF900z", u"a", 1, 2, 1, 0, 1},     // a's first character lies beyond n
      {u"Ab\uF900c", u"aBd", kPast, kPast, 1, 1, -1},  // lower case first, functions stepped over
  };
  for (const Case &c : cases) {
    const Native a = units(c.a), b = units(c.b);
    if (c.count == kPast) EXPECT_EQ(Q6wstrcmp(a.data(), b.data()), c.ccmp);
    EXPECT_EQ(Q6wstricmp(a.data(), b.data()), c.icmp);
    EXPECT_EQ(Q6wstrccmp(a.data(), b.data(), c.count), c.ccmp);
    EXPECT_EQ(Q6wstrncmp(a.data(), b.data(), c.n), c.ncmp);
    EXPECT_EQ(Q6wstrcicmp(a.data(), b.data(), c.count), c.ccmp == 0 ? 0 : c.icmp);
  }
}

}  // namespace
