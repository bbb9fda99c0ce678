// The exported class mappings: the fixed case rule of sets 0-15, the
// table-driven case, width and kana mappings under each country ID, the
// half-width sound marks, and the whole-string upper-casing.
#include <gtest/gtest.h>

#include <locale.h>
#include <map>
#include <vector>
#include <wctype.h>

#include "asian/class_tables.h"
#include "charset/native_tables.h"
#include "country_scope.h"
#include "qstr14/asian.h"

namespace {

using qstr::asian::ClassTable;
using qstr::asian::kClassTables;
using qstr::test::ScopedCountry;

// ---- sets 0-15: the fixed rule ----

// Case pairs of the ranges that are not upper/lower pairs in Unicode's
// simple case mapping, with why the native sets pair them.
const std::map<uint16_t, const char *> kCasePairsBeyondUnicode = {
    {0x0182, "Turkish: capital I with dot above lowers to the plain small i"},
    {0x01EE, "Turkish: the plain capital I uppers the dotless small i"},
    {0x0804, "curled beta takes the capital beta"},
    {0x0826, "final sigma takes the capital sigma"},
};

char16_t unicodeOf(uint16_t native) {
  if (native < 0x100) return native;
  const qstr::charset::ForwardTable &table = qstr::charset::kForwardTables[native >> 8];
  return table.values[native & 0xFF];
}

// Unicode's simple case mapping, from the C library's UTF-8 locale.
class UnicodeCase {
 public:
  UnicodeCase() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {}
  ~UnicodeCase() {
    if (locale_) freelocale(locale_);
  }
  bool available() const { return locale_ != static_cast<locale_t>(0); }
  char16_t lower(char16_t c) const { return static_cast<char16_t>(towlower_l(c, locale_)); }
  char16_t upper(char16_t c) const { return static_cast<char16_t>(towupper_l(c, locale_)); }

 private:
  locale_t locale_;
};

// In sets 0-15 wtolower and wtoupper change exactly the ASCII letters and
// the even/odd pairs inside the rngchr ranges, which are Unicode case pairs
// (or listed above), whatever the country.
TEST(FixedCase, ChangesExactlyTheCasePairs) {
  const UnicodeCase unicode;
  if (!unicode.available()) GTEST_SKIP() << "no C.UTF-8 locale";
  for (unsigned countryId : {0u, 1u, 4u}) {
    ScopedCountry country(countryId);
    for (uint16_t ch = 0; ch < 0x1000; ++ch) {
      const unsigned set = ch >> 8, code = ch & 0xFF;
      const bool inRange = set >= 1 && rngchr[set - 1][1] != 0 && code >= rngchr[set - 1][0] &&
                           code <= rngchr[set - 1][1];
      const bool upper = (ch >= 'A' && ch <= 'Z') || (inRange && code % 2 == 0);
      const bool lower = (ch >= 'a' && ch <= 'z') || (inRange && code % 2 == 1);
      const uint16_t toLower = wtolower(ch), toUpper = wtoupper(ch);
      EXPECT_EQ(toLower != ch, upper) << std::hex << ch;
      EXPECT_EQ(toUpper != ch, lower) << std::hex << ch;
      EXPECT_EQ(wisupper(ch), upper ? 1 : 0) << std::hex << ch;
      if (!upper) continue;
      EXPECT_EQ(wtoupper(toLower), ch) << std::hex << ch;
      const char16_t u = unicodeOf(ch), l = unicodeOf(toLower);
      const bool unicodePair = unicode.lower(u) == l && unicode.upper(l) == u;
      EXPECT_NE(unicodePair, kCasePairsBeyondUnicode.count(ch) == 1)
          << std::hex << ch << ": U+" << static_cast<unsigned>(u) << " / U+" << static_cast<unsigned>(l);
    }
  }
}

TEST(FixedCase, RangesOfRngchr) {
  const std::map<unsigned, std::pair<unsigned, unsigned>> ranges = {
      {1, {0x1A, 0xF1}}, {8, {0x00, 0x45}}, {10, {0x00, 0xC7}}};
  for (unsigned set = 1; set <= 16; ++set) {
    const auto found = ranges.find(set);
    const std::pair<unsigned, unsigned> expected = found == ranges.end() ? std::make_pair(0u, 0u) : found->second;
    EXPECT_EQ(rngchr[set - 1][0], expected.first) << set;
    EXPECT_EQ(rngchr[set - 1][1], expected.second) << set;
  }
}

// ---- the table-driven mappings ----

struct Mapping {
  const char *name;
  uint16_t (*apply)(uint32_t);
};

uint16_t toDouble(uint32_t ch) { return wtodouble(ch, nullptr); }
uint16_t toSingle(uint32_t ch) { return wtosingle(ch, nullptr); }
uint16_t isUpper(uint32_t ch) { return static_cast<uint16_t>(wisupper(ch)); }

const Mapping kDouble{"wtodouble", toDouble}, kSingle{"wtosingle", toSingle}, kLower{"wtolower", wtolower},
    kUpper{"wtoupper", wtoupper}, kHiragana{"wtohiragana", wtohiragana}, kKatakana{"wtokatakana", wtokatakana},
    kIsUpper{"wisupper", isUpper};

struct MappingCase {
  std::vector<unsigned> countries;
  Mapping mapping;
  uint16_t ch;
  uint16_t expected;
};

TEST(ClassMapping, ByCountry) {
  const std::vector<MappingCase> cases = {
      // Without a table only the fixed case rule applies.
      {{0, 5, 6}, kDouble, 0x0041, 0x0041},
      {{0, 5, 6}, kLower, 0x2520, 0x2520},
      {{0, 5, 6}, kIsUpper, 0x2520, 0},
      {{0, 5, 6}, kLower, 0x0041, 0x0061},
      {{0, 5, 6}, kKatakana, 0x255E, 0x255E},
      // Japanese.
      {{1}, kDouble, 0x0041, 0x2520},
      {{1}, kSingle, 0x2540, 0x0061},
      {{1}, kLower, 0x2520, 0x2540},
      {{1}, kUpper, 0x2540, 0x2520},
      {{1}, kUpper, 0x0061, 0x0041},  // the fixed rule keeps the width
      {{1}, kIsUpper, 0x2520, 1},
      {{1}, kIsUpper, 0x2540, 0},
      {{1}, kIsUpper, 0x2400, 0},      // the ideographic space: a space, not a letter
      {{1}, kIsUpper, 0x3000, 0},      // a kanji: no single width at all
      {{1}, kLower, 0x265E, 0x267E},   // full-width Greek
      {{1}, kKatakana, 0x255E, 0x2600},
      {{1}, kHiragana, 0x2600, 0x255E},
      {{1}, kHiragana, 0x0B06, 0x255E},  // through the double width
      {{1}, kKatakana, 0x0B06, 0x0B06},
      {{1}, kLower, 0x255E, 0x255E},     // case modes leave kana alone
      {{1}, kHiragana, 0x2520, 0x2520},  // kana modes leave letters alone
      {{1}, kDouble, 0x0022, 0x51BB},    // the first of two double-width forms
      {{1}, kSingle, 0x51BB, 0x0022},
      {{1}, kSingle, 0x2CEB, 0x0022},
      {{1}, kSingle, 0x260B, 0x0B55},   // a voiced kana without a mark pointer: the flagged value
      {{1}, kDouble, 0x0B55, 0x260B},
      {{1}, kSingle, 0x0041, 0x0041},   // asking for the width a character has
      {{1}, kDouble, 0x2520, 0x2520},
      // The other tables.
      {{2}, kDouble, 0x0041, 0x5420},
      {{2}, kLower, 0x5420, 0x5440},
      {{2}, kDouble, 0x0B10, 0x5801},   // half-width katakana pair by width alone
      {{2}, kHiragana, 0x5801, 0x5801},  // no kana group
      {{2}, kDouble, 0x0B55, 0x0B55},   // and no voiced width pairs
      {{2}, kIsUpper, 0x565E, 1},       // full-width AE
      {{3}, kDouble, 0x0041, 0xA60B},
      {{3}, kLower, 0xA60B, 0xA625},
      {{4}, kDouble, 0x0041, 0x82DC},
      {{4}, kUpper, 0x8494, 0x8494},    // small a with macron: GB 2312 has no capital form
      {{4}, kSingle, 0x8494, 0x015D},
      {{4}, kIsUpper, 0x8494, 0},
      {{1, 2, 3, 4}, kDouble, 0x0000, 0x0000},
      {{1, 2, 3, 4}, kLower, 0x0000, 0x0000},
  };
  for (const MappingCase &c : cases) {
    for (unsigned countryId : c.countries) {
      ScopedCountry country(countryId);
      EXPECT_EQ(c.mapping.apply(c.ch), c.expected)
          << c.mapping.name << "(0x" << std::hex << c.ch << ") under country " << std::dec << countryId;
    }
  }
}

// Every case record of every table: the double-width letters change case
// and say whether they are upper case through their single-width forms.
TEST(ClassMapping, CaseRecordsOfEveryTable) {
  for (unsigned countryId = 1; countryId <= 4; ++countryId) {
    ScopedCountry country(countryId);
    const ClassTable &table = kClassTables[countryId - 1];
    for (unsigned i = 0; i < table.separators[0]; i += 2) {
      const uint16_t upper = table.pairs[i][1], lower = table.pairs[i + 1][1];
      if (upper == 0) {
        EXPECT_EQ(wtoupper(lower), lower) << "record at " << i;
      } else {
        EXPECT_EQ(wtolower(upper), lower) << "record at " << i;
        EXPECT_EQ(wtoupper(lower), upper) << "record at " << i;
        EXPECT_EQ(wisupper(upper), 1) << "record at " << i;
      }
      EXPECT_EQ(wisupper(lower), 0) << "record at " << i;
    }
  }
}

// Every kana record: hiragana and katakana map to each other; a katakana
// goes to single width and back, its sound mark split off and joined again.
TEST(ClassMapping, KanaRecordsRoundTrip) {
  for (unsigned countryId : {1u, 3u, 4u}) {
    ScopedCountry country(countryId);
    const ClassTable &table = kClassTables[countryId - 1];
    for (unsigned i = table.separators[1] + 1; i < table.separators[2]; i += 2) {
      const uint16_t hiragana = table.pairs[i][1], katakana = table.pairs[i + 1][1];
      EXPECT_EQ(wtokatakana(hiragana), katakana) << "record at " << i;
      EXPECT_EQ(wtohiragana(katakana), hiragana) << "record at " << i;
      uint16_t mark = 0xFFFF;
      const uint16_t half = wtosingle(katakana, &mark);
      if (half == katakana) continue;  // no half-width form (small wa, wi, we)
      EXPECT_EQ(half >> 8, 11) << "record at " << i;
      // Without its mark a voiced kana's half-width base is the plain kana.
      if (mark == 0) EXPECT_EQ(wtohiragana(half), hiragana) << "record at " << i;
      uint16_t next = mark;
      EXPECT_EQ(wtodouble(half, &next), katakana) << "record at " << i;
      EXPECT_EQ(next, 0) << "record at " << i;
    }
  }
}

struct MarkCase {
  const char *what;
  uint32_t (*call)(uint16_t ch, uint16_t *slot);
  uint16_t ch;
  uint16_t slotBefore;
  uint16_t result;
  uint16_t slotAfter;
};

uint32_t doubleWithNext(uint16_t ch, uint16_t *next) { return wtodouble(ch, next); }
uint32_t singleWithMark(uint16_t ch, uint16_t *mark) { return wtosingle(ch, mark); }

TEST(ClassMapping, HalfWidthSoundMarks) {
  const std::vector<MarkCase> cases = {
      {"voiced mark joins", doubleWithNext, 0x0B15, 0x0B3D, 0x260B, 0},
      {"semi-voiced mark joins", doubleWithNext, 0x0B29, 0x0B3E, 0x2630, 0},
      {"voiced mark on ha", doubleWithNext, 0x0B29, 0x0B3D, 0x262F, 0},
      {"another character is left alone", doubleWithNext, 0x0B15, 0x0041, 0x260A, 0x0041},
      {"a kana with no voiced form keeps the mark", doubleWithNext, 0x0B10, 0x0B3D, 0x2601, 0x0B3D},
      {"no semi-voiced form of ka", doubleWithNext, 0x0B15, 0x0B3E, 0x260A, 0x0B3E},
      {"a mark after a full-width kana", doubleWithNext, 0x260A, 0x0B3D, 0x260A, 0x0B3D},
      {"voiced kana splits", singleWithMark, 0x260B, 0xFFFF, 0x0B15, 0x0B3D},
      {"semi-voiced kana splits", singleWithMark, 0x2630, 0xFFFF, 0x0B29, 0x0B3E},
      {"plain kana needs no mark", singleWithMark, 0x260A, 0xFFFF, 0x0B15, 0},
      {"a letter needs no mark", singleWithMark, 0x2520, 0xFFFF, 0x0041, 0},
      {"a hiragana has no single width", singleWithMark, 0x2569, 0xFFFF, 0x2569, 0},
  };
  ScopedCountry country(1);
  for (const MarkCase &c : cases) {
    uint16_t slot = c.slotBefore;
    EXPECT_EQ(c.call(c.ch, &slot), c.result) << c.what;
    EXPECT_EQ(slot, c.slotAfter) << c.what;
  }
}

// ---- whole strings ----

TEST(UpperStrings, DocumentStream) {
  struct StreamCase {
    std::vector<uint8_t> source, expected;  // without the terminator
  };
  const std::vector<StreamCase> cases = {
      {{'a', 'b', 0xF0, 0x1B, 0x01, 0xF0, 'c'}, {'A', 'B', 0xF0, 0x1A, 0x01, 0xF0, 'C'}},
      {{0xF0, 0x00, 0x01, 0xF0, 'z'}, {0xF0, 0x00, 0x01, 0xF0, 'Z'}},  // a zero code byte inside a group
      {{0xF0, 0x61, 0x00, 0xF0}, {0xF0, 0x41, 0x00, 0xF0}},            // the grouped "a"
      {{0xF0, 0x46, 0x08, 0xF0}, {0xF0, 0x46, 0x08, 0xF0}},            // beyond the Greek range
      {{0xE9, 0x85, '{', '1'}, {0xE9, 0x85, '{', '1'}},                // other bytes pass
      {{}, {}},
  };
  for (const StreamCase &c : cases) {
    std::vector<uint8_t> source = c.source, expected = c.expected;
    source.push_back(0);
    expected.push_back(0);
    std::vector<uint8_t> out(source.size(), 0xEE);
    s2upper(out.data(), source.data());
    EXPECT_EQ(out, expected);
    s2upper(source.data(), source.data());
    EXPECT_EQ(source, expected) << "in place";
  }
}

TEST(UpperStrings, NativeStrings) {
  ScopedCountry country(1);
  const std::vector<uint16_t> source = {'a', 0x011B, 0x2540, 0xF90A, 'Z', 0};
  const std::vector<uint16_t> upper = {'A', 0x011A, 0x2520, 0xF90A, 'Z', 0};
  std::vector<uint16_t> out(source.size(), 0xEEEE);
  ws2upper(out.data(), source.data());
  EXPECT_EQ(out, upper);
  std::vector<uint16_t> inPlace = source;
  ws2upper(inPlace.data(), inPlace.data());
  EXPECT_EQ(inPlace, upper);
  std::vector<uint16_t> untouched(2, 0xEEEE);
  ws2upper(untouched.data(), nullptr);
  ws2upper(nullptr, source.data());
  EXPECT_EQ(untouched, std::vector<uint16_t>(2, 0xEEEE));
}

TEST(UpperStrings, LimitedBySizeInBytes) {
  struct SizeCase {
    int32_t size;
    std::vector<uint16_t> written;  // what the destination holds after, 0xEEEE untouched
  };
  const std::vector<uint16_t> source = {'a', 'b', 'c', 0};
  const std::vector<SizeCase> cases = {
      {-1, {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE}},
      {0, {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE}},
      {1, {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE}},
      {4, {'A', 'B', 0xEEEE, 0xEEEE, 0xEEEE}},  // filled exactly: no terminator
      {5, {'A', 'B', 0xEEEE, 0xEEEE, 0xEEEE}},  // the odd byte is left alone
      {6, {'A', 'B', 'C', 0xEEEE, 0xEEEE}},
      {8, {'A', 'B', 'C', 0, 0xEEEE}},
      {100, {'A', 'B', 'C', 0, 0xEEEE}},
  };
  for (const SizeCase &c : cases) {
    std::vector<uint16_t> out(5, 0xEEEE);
    ws2uppern(out.data(), source.data(), c.size);
    EXPECT_EQ(out, c.written) << "size " << c.size;
  }
}

}  // namespace
