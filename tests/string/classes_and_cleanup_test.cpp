// Character classes, the byte-safe form of native strings, the renumbering
// of special codes, and menu text cleanup.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "qstr14/strings.h"
#include "support/host_profile.h"

namespace {

using qstr::test::ScopedProfile;
using Native = std::vector<uint16_t>;

const qstr::test::Environment kJapanese = {{"LANG", "ja_JP"}}, kEnglish = {{"LANG", "en_US"}};
constexpr uint16_t kGuard = 0x5555;

// A native string with its terminator and two guard elements behind it.
Native guarded(Native s) {
  s.push_back(0);
  s.push_back(kGuard);
  s.push_back(kGuard);
  return s;
}

// Every 16-bit value against the ranges of each class (ranges of 0x0100
// and above are sets and codes); only the low 16 bits of a value count.
TEST(CharacterClasses, EveryValueAgainstTheRanges) {
  struct Range { uint32_t first, last; };
  const std::vector<Range> letters = {
      {0x0041, 0x005A}, {0x0061, 0x007A}, {0x0117, 0x01F1}, {0x0800, 0x084E}, {0x086D, 0x08D6},
      {0x0900, 0x091A}, {0x0954, 0x0976}, {0x0A00, 0x0AC7}, {0x0AD2, 0x0AF9}, {0x0B05, 0x0B3E},
      {0x0D2F, 0x0DC1}, {0x0E29, 0x0EDB}};
  const std::vector<Range> spaces = {{0x0020, 0x0020}, {0xF909, 0xF90D}, {0xFB02, 0xFB02}, {0xFB17, 0xFB32},
                                     {0xFC40, 0xFC61}};
  auto in = [](const std::vector<Range> &ranges, uint32_t c) {
    for (const Range &r : ranges) {
      if (c >= r.first && c <= r.last) return uint16_t{1};
    }
    return uint16_t{0};
  };
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    const uint16_t digit = c >= '0' && c <= '9', alpha = in(letters, c);
    const uint32_t high = c + 0x10000 * (c % 3);
    ASSERT_EQ(Q6wstrIsDigit(high), digit) << std::hex << c;
    ASSERT_EQ(Q6wstrIsAlpha(high), alpha) << std::hex << c;
    ASSERT_EQ(Q6wstrIsAlphaNum(high), digit | alpha) << std::hex << c;
    ASSERT_EQ(Q6wstrIsSpace(high), in(spaces, c)) << std::hex << c;
  }
}

// A table not ordered by set: the walk gives up at set 5 before the set 2
// entry; only the low 16 bits count.
TEST(CharacterClasses, TableWalkStopsAtAHigherSet) {
  const QSTR_CLASS_RANGE table[] = {{1, 0x10, 0x20}, {5, 0, 0xFF}, {2, 0, 0xFF}, {0xFFFF, 0, 0}};
  for (const auto &[native, found] : std::vector<std::pair<uint32_t, int32_t>>{
           {0x0115, 1}, {0x0121, 0}, {0x010F, 0}, {0x0577, 1}, {0x0277, 0}, {0xFF00, 0}, {0x10115, 1}}) {
    EXPECT_EQ(lQ6wstrFoundInTable(native, table), found) << std::hex << native;
  }
}

// 0xFF stands in for each zero byte, the terminator becomes 0x00FF; strings
// without 0xFF bytes come back exactly.
TEST(ByteSafeForm, RoundTrips) {
  Native s = guarded({0x0041, 0x0100});
  EXPECT_EQ(Q6wstrFixExtChars(s.data()), s.data());
  const uint8_t expected[] = {0x41, 0xFF, 0xFF, 0x01, 0xFF, 0x00, 0x55, 0x55};
  EXPECT_EQ(std::memcmp(s.data(), expected, sizeof expected), 0);
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    Native original(random() % 12);
    for (uint16_t &element : original) {
      do {
        element = static_cast<uint16_t>(random() % 3 == 0 ? random() % 0x300 : random());
      } while (element == 0 || (element & 0xFF) == 0xFF || (element >> 8) == 0xFF);
    }
    s = guarded(original);
    Q6wstrFixExtChars(s.data());
    EXPECT_EQ(std::strlen(reinterpret_cast<const char *>(s.data())), 2 * original.size() + 1);
    Q6wstrUnFixExtChars(s.data());
    ASSERT_EQ(s, guarded(original));
  }
}

// Mode 1 renumbers exactly 36 codes (attribute codes: ends and one between),
// mode 2 them back; other modes (16-bit) change nothing.
TEST(SpecialCodes, RenumberingBothWays) {
  const Native native = {0xF90D, 0xF90A, 0xF909, 0xFE00, 0xFE03, 0xFE1E, 0xFE1F,
                         0xF900, 0x0041, 0xF90B, 0xFE20};
  const Native renumbered = {0xFB13, 0xFB16, 0xFC45, 0xFC66, 0xFC77, 0xFC75, 0xFC85,
                             0xF900, 0x0041, 0xF90B, 0xFE20};
  for (const auto &[mode, from, to] :
       {std::tuple{1u, native, renumbered}, std::tuple{0x10002u, renumbered, native},
        std::tuple{0u, native, native}, std::tuple{3u, native, native}, std::tuple{0x10000u, native, native}}) {
    Native s = guarded(from);
    EXPECT_EQ(Q6wzFix(s.data(), mode), s.data());
    EXPECT_EQ(s, guarded(to)) << mode;
  }
  int changed[3] = {0, 0, 0};
  for (uint32_t value = 0xF901; value <= 0xFFFF; ++value) {
    for (uint32_t mode : {1u, 2u}) {
      Native s = guarded({static_cast<uint16_t>(value)});
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
      {"&File", "File", 0x0046, false},        {"Save && Exit", "Save && Exit", 0, false},
      {"a&", "a", 0, false},                   {"File(&F)", "File(F)", 0x0046, false},
      {"File(&F)", "File", 0x2846, true},
      {"&Open (&x", "Open ", 0x2878, true},  // no ")": the rest is dropped, the code still taken
      {"(x", "", 0x2800, true},                // the string ends before the code byte
      {"(", "", 0x2800, true},
      {"a(&\xE9)b", "ab", 0xFFE9, true},       {"&\xE9t\xE9", "\xE9t\xE9", 0xFFE9, false},
      {"&a&b", "ab", 0x0062, false},           {"&&&x", "&&x", 0x0078, false},
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.dbcs ? kJapanese : kEnglish);
    std::string dst(c.source.size() + 4, '\x55');
    EXPECT_EQ(QstrStripAmpersand(dst.data(), c.source.c_str()), c.mnemonic) << c.source;
    EXPECT_EQ(std::string(dst.c_str()), c.expected) << c.source;
    EXPECT_EQ(dst.substr(c.expected.size() + 1), std::string(dst.size() - c.expected.size() - 1, 'U')) << c.source;
  }
}

TEST(MenuText, TruncateKeepsDoubleByteCharactersWhole) {
  struct Case { std::string text; int32_t n, kept; bool dbcs; };
  const std::vector<Case> cases = {
      {"ab\x82\xA0" "cd", 3, 3, false},  // no double-byte support: bytes only
      {"ab\x82\xA0" "cd", 3, 2, true}, {"ab\x82\xA0" "cd", 4, 4, true}, {"abcdef", 3, 3, true},
      {"abcdef", 0, 0, true}, {"abcdef", -2, 0, true}, {"ab", 2, 2, true},
      {"ab\x82", 3, 2, true},  // a lead byte before the terminator
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.dbcs ? kJapanese : kEnglish);
    std::string s = c.text + "UUUU", expected = s;
    expected[c.kept] = '\0';
    EXPECT_EQ(QMBStrTrunc(s.data(), c.n), c.kept) << c.text << " n=" << c.n;
    EXPECT_EQ(s, expected) << c.text << " n=" << c.n;
  }
}

}  // namespace
