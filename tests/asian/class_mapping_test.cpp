// The exported class mappings: the fixed case rule of sets 0-15, the
// table-driven mappings under each country ID, the half-width sound marks,
// and the whole-string upper-casing.
#include <gtest/gtest.h>

#include <locale.h>
#include <map>
#include <vector>
#include <wctype.h>

#include "charset/native_tables.h"
#include "country_scope.h"
#include "qstr14/asian.h"

namespace {

using qstr::test::ScopedCountry;

// Case pairs of the ranges that Unicode's simple case mapping does not make.
const std::map<uint16_t, const char *> kCasePairsBeyondUnicode = {
    {0x0182, "Turkish: capital I with dot above lowers to the plain small i"},
    {0x01EE, "Turkish: the plain capital I uppers the dotless small i"},
    {0x0804, "curled beta takes the capital beta"},
    {0x0826, "final sigma takes the capital sigma"},
};

wint_t unicodeOf(uint16_t native) {
  return native < 0x100 ? native : qstr::charset::kForwardTables[native >> 8].values[native & 0xFF];
}

// In sets 0-15 wtolower and wtoupper change exactly the ASCII letters and
// the even/odd pairs inside the rngchr ranges, whatever the country; the
// pairs are Unicode case pairs (the C library's UTF-8 locale says) or
// listed above.
#ifndef _WIN32
TEST(FixedCase, ChangesExactlyTheCasePairs) {
  const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8 == static_cast<locale_t>(0)) GTEST_SKIP() << "no C.UTF-8 locale";
  EXPECT_EQ(rngchr[0][0] + rngchr[0][1] * 0x100, 0xF11A);
  EXPECT_EQ(rngchr[7][0] + rngchr[7][1] * 0x100, 0x4500);
  EXPECT_EQ(rngchr[9][0] + rngchr[9][1] * 0x100, 0xC700);
  for (unsigned set : {2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 14, 15, 16}) EXPECT_EQ(rngchr[set - 1][1], 0) << set;
  for (unsigned countryId : {0u, 1u, 4u}) {
    ScopedCountry country(countryId);
    for (uint16_t ch = 0; ch < 0x1000; ++ch) {
      const unsigned set = ch >> 8, code = ch & 0xFF;
      const bool inRange =
          set >= 1 && rngchr[set - 1][1] != 0 && code >= rngchr[set - 1][0] && code <= rngchr[set - 1][1];
      const bool upper = (ch >= 'A' && ch <= 'Z') || (inRange && code % 2 == 0);
      const bool lower = (ch >= 'a' && ch <= 'z') || (inRange && code % 2 == 1);
      EXPECT_EQ(wtolower(ch) != ch, upper) << std::hex << ch;
      EXPECT_EQ(wtoupper(ch) != ch, lower) << std::hex << ch;
      EXPECT_EQ(wisupper(ch), upper ? 1 : 0) << std::hex << ch;
      if (!upper) continue;
      EXPECT_EQ(wtoupper(wtolower(ch)), ch) << std::hex << ch;
      const wint_t u = unicodeOf(ch), l = unicodeOf(wtolower(ch));
      const bool unicodePair = towlower_l(u, utf8) == l && towupper_l(l, utf8) == u;
      EXPECT_NE(unicodePair, kCasePairsBeyondUnicode.count(ch) == 1) << std::hex << ch;
    }
  }
  freelocale(utf8);
}
#endif  // the C library's Unicode case mapping is a POSIX locale's

uint16_t QSTR_CALL toDouble(uint32_t ch) { return wtodouble(ch, nullptr); }
uint16_t QSTR_CALL toSingle(uint32_t ch) { return wtosingle(ch, nullptr); }
uint16_t QSTR_CALL isUpper(uint32_t ch) { return static_cast<uint16_t>(wisupper(ch)); }

struct MappingCase {
  std::vector<unsigned> countries;
  uint16_t(QSTR_CALL *mapping)(uint32_t);
  uint16_t ch, expected;
};

TEST(ClassMapping, ByCountry) {
  const std::vector<MappingCase> cases = {
      // Without a table only the fixed case rule applies.
      {{0, 5, 6}, toDouble, 0x0041, 0x0041}, {{0, 5, 6}, wtolower, 0x2520, 0x2520},
      {{0, 5, 6}, isUpper, 0x2520, 0}, {{0, 5, 6}, wtolower, 0x0041, 0x0061},
      {{0, 5, 6}, wtokatakana, 0x255E, 0x255E},
      // Japanese.
      {{1}, toDouble, 0x0041, 0x2520}, {{1}, toSingle, 0x2540, 0x0061}, {{1}, wtolower, 0x2520, 0x2540},
      {{1}, wtoupper, 0x0061, 0x0041},    // the fixed rule keeps the width
      {{1}, isUpper, 0x2520, 1}, {{1}, isUpper, 0x2540, 0},
      {{1}, isUpper, 0x2400, 0},          // the ideographic space is no letter
      {{1}, isUpper, 0x3000, 0},          // a kanji has no single width
      {{1}, wtokatakana, 0x255E, 0x2600}, {{1}, wtohiragana, 0x2600, 0x255E},
      {{1}, wtohiragana, 0x0B06, 0x255E},  // through the double width
      {{1}, wtokatakana, 0x0B06, 0x0B06},
      {{1}, wtolower, 0x255E, 0x255E},     // case modes leave kana alone
      {{1}, wtohiragana, 0x2520, 0x2520},  // kana modes leave letters alone
      {{1}, toDouble, 0x0022, 0x51BB},     // the first of two double-width forms
      {{1}, toSingle, 0x2CEB, 0x0022},
      {{1}, toSingle, 0x2405, 0x0B04},     // katakana middle dot: its half-width form before look-alikes
      {{1}, toDouble, 0x0101, 0x2405},     // the middle dot pairs with it too
      {{1}, toSingle, 0x260B, 0x0B55},     // voiced kana without a mark pointer: the flagged value
      {{1}, toDouble, 0x0B55, 0x260B},
      {{1}, toSingle, 0x0041, 0x0041},     // the width a character already has
      {{1}, toDouble, 0x2520, 0x2520},
      // The other tables.
      {{2}, toDouble, 0x0041, 0x5420},
      {{2}, toDouble, 0x0B10, 0x5801},     // half-width katakana pair by width alone
      {{2}, wtohiragana, 0x5801, 0x5801},  // no kana group
      {{2}, toDouble, 0x0B55, 0x0B55},     // and no voiced width pairs
      {{2}, isUpper, 0x565E, 1},           // full-width AE
      {{3}, wtolower, 0xA60B, 0xA625},
      {{4}, wtoupper, 0x8494, 0x8494},     // small a with macron: GB 2312 has no capital
      {{4}, toSingle, 0x8494, 0x015D}, {{1, 2, 3, 4}, toDouble, 0x0000, 0x0000},
  };
  for (const MappingCase &c : cases) {
    for (unsigned countryId : c.countries) {
      ScopedCountry country(countryId);
      EXPECT_EQ(c.mapping(c.ch), c.expected) << std::hex << "0x" << c.ch << " under country " << countryId;
    }
  }
}

TEST(ClassMapping, HalfWidthSoundMarks) {
  struct MarkCase { bool toDouble; uint16_t ch, slotBefore, result, slotAfter; };
  const std::vector<MarkCase> cases = {
      {true, 0x0B15, 0x0B3D, 0x260B, 0},       // ka + voiced mark
      {true, 0x0B29, 0x0B3E, 0x2630, 0},       // ha + semi-voiced mark
      {true, 0x0B15, 0x0041, 0x260A, 0x0041},  // another character is left alone
      {true, 0x0B10, 0x0B3D, 0x2601, 0x0B3D},  // a has no voiced form: the mark stays
      {true, 0x0B15, 0x0B3E, 0x260A, 0x0B3E},  // ka has no semi-voiced form
      {true, 0x260A, 0x0B3D, 0x260A, 0x0B3D},  // marks join half-width kana only
      {false, 0x260B, 0xFFFF, 0x0B15, 0x0B3D}, {false, 0x2630, 0xFFFF, 0x0B29, 0x0B3E},
      {false, 0x260A, 0xFFFF, 0x0B15, 0}, {false, 0x2520, 0xFFFF, 0x0041, 0},
      {false, 0x2569, 0xFFFF, 0x2569, 0},      // hiragana have no single width
  };
  ScopedCountry country(1);
  for (const MarkCase &c : cases) {
    uint16_t slot = c.slotBefore;
    EXPECT_EQ(c.toDouble ? wtodouble(c.ch, &slot) : wtosingle(c.ch, &slot), c.result) << std::hex << c.ch;
    EXPECT_EQ(slot, c.slotAfter) << std::hex << c.ch;
  }
}

TEST(UpperStrings, DocumentStream) {
  const std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> cases = {
      {{'a', 'b', 0xF0, 0x1B, 0x01, 0xF0, 'c', 0}, {'A', 'B', 0xF0, 0x1A, 0x01, 0xF0, 'C', 0}},
      {{0xF0, 0x00, 0x01, 0xF0, 'z', 0}, {0xF0, 0x00, 0x01, 0xF0, 'Z', 0}},  // zero code byte in a group
      {{0xF0, 0x61, 0x00, 0xF0, 0}, {0xF0, 0x41, 0x00, 0xF0, 0}},            // the grouped "a"
      {{0xF0, 0x46, 0x08, 0xF0, 0}, {0xF0, 0x46, 0x08, 0xF0, 0}},            // beyond the Greek range
      {{0xE9, 0x85, '{', '1', 0}, {0xE9, 0x85, '{', '1', 0}}, {{0}, {0}},
  };
  for (const auto &[source, expected] : cases) {
    std::vector<uint8_t> out(source.size(), 0xEE), inPlace = source;
    s2upper(out.data(), source.data());
    s2upper(inPlace.data(), inPlace.data());
    EXPECT_EQ(out, expected);
    EXPECT_EQ(inPlace, expected);
  }
}

TEST(UpperStrings, NativeStrings) {
  ScopedCountry country(1);
  const std::vector<uint16_t> source = {'a', 0x011B, 0x2540, 0xF90A, 'Z', 0};
  const std::vector<uint16_t> upper = {'A', 0x011A, 0x2520, 0xF90A, 'Z', 0};
  std::vector<uint16_t> out(source.size(), 0xEEEE), inPlace = source, untouched(2, 0xEEEE);
  ws2upper(out.data(), source.data());
  ws2upper(inPlace.data(), inPlace.data());
  ws2upper(untouched.data(), nullptr);
  ws2upper(nullptr, source.data());
  EXPECT_EQ(out, upper);
  EXPECT_EQ(inPlace, upper);
  EXPECT_EQ(untouched, std::vector<uint16_t>(2, 0xEEEE));
}

// ws2uppern counts bytes and never writes past them.
TEST(UpperStrings, LimitedBySizeInBytes) {
  const uint16_t x = 0xEEEE;
  const std::vector<std::pair<int32_t, std::vector<uint16_t>>> cases = {
      {-1, {x, x, x, x, x}}, {0, {x, x, x, x, x}}, {1, {x, x, x, x, x}},
      {4, {'A', 'B', x, x, x}},    // filled exactly: no terminator
      {5, {'A', 'B', x, x, x}},    // the odd byte is left alone
      {8, {'A', 'B', 'C', 0, x}},  {100, {'A', 'B', 'C', 0, x}},
  };
  const uint16_t source[] = {'a', 'b', 'c', 0};
  for (const auto &[size, written] : cases) {
    std::vector<uint16_t> out(5, x);
    ws2uppern(out.data(), source, size);
    EXPECT_EQ(out, written) << "size " << size;
  }
}

}  // namespace
