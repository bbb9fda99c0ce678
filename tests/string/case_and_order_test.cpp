// Case of native strings, streams and characters, and the order of native
// strings: with and without case, by the current language, within bounds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "asian/country_scope.h"
#include "collate/sequence/sort_sequence.h"
#include "frame/state.h"
#include "qstr14/frame.h"
#include "qstr14/strings.h"
#include "support/stream_builder.h"

namespace {

using Native = std::vector<uint16_t>;
using Bytes = std::vector<uint8_t>;
using qstr::test::StreamBuilder;
constexpr uint16_t kGuard = 0x5555;

Native terminated(Native s) {
  s.push_back(0);
  return s;
}

Native terminated(const std::u16string &s) { return terminated(Native(s.begin(), s.end())); }

// With a guard element behind the terminator.
Native guarded(Native s) {
  s.push_back(0);
  s.push_back(kGuard);
  return s;
}

// Functions, non-letters and letters without a pair keep their value;
// double-width letters have a case under the Japanese country ID only.
TEST(CaseMapping, NativeStringsKeepFunctionsAndGuards) {
  struct Case { uint8_t country; Native mixed, upper, lower; };
  const std::vector<Case> cases = {
      {0, {'a', 'B', 0xF90A, 0x011A, 0x011B, 0xFE01, 0x0118, 0x0800, 0x0A01, 0x2540},
       {'A', 'B', 0xF90A, 0x011A, 0x011A, 0xFE01, 0x0118, 0x0800, 0x0A00, 0x2540},
       {'a', 'b', 0xF90A, 0x011B, 0x011B, 0xFE01, 0x0118, 0x0801, 0x0A01, 0x2540}},
      {1, {0x2520, 'a', 0x2540}, {0x2520, 'A', 0x2520}, {0x2540, 'a', 0x2540}},
  };
  for (const Case &c : cases) {
    qstr::test::ScopedCountry country(c.country);
    Native s = guarded(c.mixed);
    EXPECT_EQ(Q6wstrupr(s.data()), s.data());
    EXPECT_EQ(s, guarded(c.upper));
    EXPECT_EQ(Q6wstrlwr(s.data()), s.data());
    EXPECT_EQ(s, guarded(c.lower));
    EXPECT_EQ(wwstricmp(guarded(c.upper).data(), guarded(c.lower).data()), 0);
  }
  EXPECT_EQ(Q6wstrUpperCh(0x10061), 'A');  // only the low 16 bits count
}

// Function codes and other groups' data keep every byte, even bytes that
// look like letters; one character changes in place, or is only read.
TEST(CaseMapping, StreamsChangeCharactersOnly) {
  auto stream = [](uint8_t a, uint16_t grouped, uint8_t b) {  // with a guard behind the terminator
    Bytes bytes = StreamBuilder().plain(a).function(0x85).fixedGroup(0xF6, 4, 'a').variableGroup(0xD3, 8, 'b', 'A')
                      .character(grouped).singleFF().plain(b).bytes();
    bytes.push_back(0x55);
    return bytes;
  };
  Bytes s = stream('a', 0x011A, 'Q');
  EXPECT_EQ(Q6dstrupr(s.data()), s.data());
  EXPECT_EQ(s, stream('A', 0x011A, 'Q'));
  EXPECT_EQ(Q6dstrlwr(s.data()), s.data());
  EXPECT_EQ(s, stream('a', 0x011B, 'q'));

  Bytes group = StreamBuilder().character(0x0A00).bytes(), plain = {'x', 'y', 0};
  EXPECT_EQ(Q6dstrLowerCh2(group.data()), 0x0A01);
  EXPECT_EQ(Q6dstrLowerCh(group.data()), group.data());
  EXPECT_EQ(Q6dstrUpperCh(plain.data()), plain.data());
  EXPECT_EQ(Q6dstrLowerCh2(plain.data()), 'x');  // only read
  EXPECT_EQ(group, StreamBuilder().character(0x0A01).bytes());
  EXPECT_EQ(plain, (Bytes{'X', 'y', 0}));
  qstr::test::ScopedCountry japanese(1);  // a double-width letter has a case
  Bytes wide = StreamBuilder().character(0x2540).bytes();
  Q6dstrupr(wide.data());
  EXPECT_EQ(wide, StreamBuilder().character(0x2520).bytes());
}

// Differences of the upper-case forms; wwstrincmp's n counts bytes.
TEST(CaseInsensitiveCompare, ByteAndSixteenBitStrings) {
  struct Bytewise { const char *a, *b; int32_t difference; };
  for (const Bytewise &c :
       {Bytewise{"Hello", "hELLO", 0}, {"a", "", 'A'}, {"\xE9", "\xC9", 0x20}, {"a[", "A{", '[' - '{'}}) {
    EXPECT_EQ(wstricmp(c.a, c.b), c.difference) << c.a;
  }
  struct Case { Native a, b; int32_t n, icmp, incmp; };
  const Native abX = {'a', 'b', 'X'}, ABy = {'A', 'B', 'y'};
  const std::vector<Case> cases = {
      {abX, ABy, 6, 'X' - 'Y', 'X' - 'Y'}, {abX, ABy, 5, 'X' - 'Y', 0}, {abX, ABy, -2, 'X' - 'Y', 0},
      {{'a', 'b'}, {'a', 'b', 'c'}, 10, -'C', -'C'},
      {{0xF90A}, {0xF90D}, 2, 0xF90A - 0xF90D, 0xF90A - 0xF90D},  // every element counts
      {{0xFFFF}, {'a'}, 2, 0xFFFF - 'A', 0xFFFF - 'A'},          // unsigned differences
  };
  for (const Case &c : cases) {
    const Native a = guarded(c.a), b = guarded(c.b);
    EXPECT_EQ(wwstricmp(a.data(), b.data()), c.icmp);
    EXPECT_EQ(wwstrincmp(a.data(), b.data(), c.n), c.incmp) << c.n;
  }
}

constexpr int32_t kPast = 9;

class NativeOrder : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    qstr::frame::resetFrameState();
    qstr::collate::resetSortSequence();
  }
};

// Case decides only between strings equal without it; count counts
// characters, n elements (kPast: past both, as the whole-string compare).
TEST_F(NativeOrder, TelltaleOrdersAndLimits) {
  struct Case { std::u16string a, b; int32_t count; uint32_t n; int ccmp, ncmp, icmp; };
  const std::vector<Case> cases = {
      {u"abc", u"ab", 3, 3, 1, 1, 1},          {u"abc", u"ab", 2, 2, 0, 0, 1},
      {u"", u"a", kPast, kPast, -1, -1, -1},   {u"aB", u"Ab", kPast, kPast, -1, -1, 0},
      {u"Ab", u"aC", kPast, kPast, 1, 1, -1},  {u"a1", u"ab", kPast, kPast, -1, -1, -1},
      {u"a[", u"az", kPast, kPast, 1, 1, 1},   {u"a b", u"ab", kPast, kPast, -1, -1, -1},
      {u"Zebra", u"apple", kPast, kPast, 1, 1, 1}, {u"abX", u"abY", 0, 0, 0, 0, -1},
      {u"\uF900ab", u"ac", 2, 2, -1, 0, -1},       // the bound of a is met after "a"
      {u"ac", u"\uF900\uF901ab", 2, 2, 1, 0, 1},   // the bound of b is met before "c"
      {u"\uF900\uF900z", u"a", 1, 2, 1, 0, 1},     // a's first character lies beyond n
  };
  for (const Case &c : cases) {
    const Native a = terminated(c.a), b = terminated(c.b);
    if (c.count == kPast) EXPECT_EQ(Q6wstrcmp(a.data(), b.data()), c.ccmp);
    EXPECT_EQ(Q6wstricmp(a.data(), b.data()), c.icmp);
    EXPECT_EQ(Q6wstrccmp(a.data(), b.data(), c.count), c.ccmp) << c.count;
    EXPECT_EQ(Q6wstrncmp(a.data(), b.data(), c.n), c.ncmp) << c.n;
    EXPECT_EQ(Q6wstrcicmp(a.data(), b.data(), c.count), c.ccmp == 0 ? 0 : c.icmp);
  }
}

// The sort sequence of the current language (the collation tests pin each
// tailoring): set up by the whole, counted and bounded compares alike.
TEST_F(NativeOrder, TheCurrentLanguageDecides) {
  struct Case { const char *language; std::u16string a, b; int expected; };
  const std::vector<Case> cases = {
      {"EN", u"\u011F", u"b", -1}, {"sv", u"\u011F", u"z", 1},   {"EN", u"\u01EF", u"i", 0},
      {"TR", u"\u01EF", u"i", -1}, {"EN", u"\u0199b", u"la", 1}, {"PL", u"\u0199", u"l", 1},
  };
  for (const Case &c : cases) {
    QStrSetLanguage(c.language);
    const Native a = terminated(c.a), b = terminated(c.b);
    EXPECT_EQ(Q6wstricmp(a.data(), b.data()), c.expected) << c.language;
    EXPECT_EQ(Q6wstrccmp(a.data(), b.data(), 5), c.expected) << c.language;
    EXPECT_EQ(Q6wstrnicmp(a.data(), b.data(), 5), c.expected) << c.language;
  }
}

// Letters of both cases, accented ones, digits, punctuation, valueless characters.
Native randomString(std::mt19937 &random) {
  static const Native pool = {'a', 'A', 'b', 'B', 'e', 'E', 0x0128, 0x0129, 0x011E, 0x011F, 'z', '1', '!',
                              '[', 0x0200, 0x0201, 0x0A00, 0x0A01, 0x0801, 0x01EE, 0x01EF, 'i', 'I'};
  Native s(random() % 6);
  for (uint16_t &e : s) e = pool[random() % pool.size()];
  return s;
}

// Both orders are antisymmetric and transitive and ignore functions; a
// letter differing in case alone puts lower case first, whatever follows.
TEST_F(NativeOrder, PropertiesOnRandomStrings) {
  std::mt19937 random(1);
  const Native letters = {'a', 'e', 'z', 0x0129, 0x011F, 0x0A01, 0x0801};
  for (const char *language : {"EN", "SV", "TR"}) {
    QStrSetLanguage(language);
    for (int round = 0; round < 2000; ++round) {
      const Native a = randomString(random), b = randomString(random), c = randomString(random);
      Native a2;  // a with functions among its characters
      for (uint16_t e : a) {
        if (random() % 2) a2.push_back(static_cast<uint16_t>(0xF900 + random() % 0x700));
        a2.push_back(e);
      }
      a2.push_back(0xFE01);
      const Native at = terminated(a), bt = terminated(b), ct = terminated(c), a2t = terminated(a2);
      for (auto compare : {Q6wstrcmp, Q6wstricmp}) {
        const int ab = compare(at.data(), bt.data()), bc = compare(bt.data(), ct.data());
        const int ac = compare(at.data(), ct.data());
        ASSERT_EQ(ab, -compare(bt.data(), at.data()));
        ASSERT_EQ(compare(at.data(), at.data()), 0);
        if (ab <= 0 && bc <= 0) ASSERT_LE(ac, 0) << language;
        if (ab == 0 && bc == 0) ASSERT_EQ(ac, 0) << language;
        ASSERT_EQ(compare(a2t.data(), bt.data()), ab) << language;
      }
      ASSERT_EQ(Q6wstrccmp(at.data(), bt.data(), 3), Q6wstrccmp(a2t.data(), bt.data(), 3));
      ASSERT_EQ(Q6wstrequ(at.data(), a2t.data()), 1);
      const uint16_t lower = letters[random() % letters.size()];
      Native x = a, y = a;
      x.push_back(lower);
      y.push_back(static_cast<uint16_t>(lower < 0x100 ? lower - 0x20 : lower - 1));
      x.insert(x.end(), b.begin(), b.end());
      y.insert(y.end(), c.begin(), c.end());
      const Native xt = terminated(x), yt = terminated(y);
      ASSERT_EQ(Q6wstrcmp(xt.data(), yt.data()), -1);
      ASSERT_EQ(Q6wstrcmp(yt.data(), xt.data()), 1);
      ASSERT_EQ(Q6wstricmp(xt.data(), yt.data()), Q6wstricmp(bt.data(), ct.data())) << language;
    }
  }
}

}  // namespace
