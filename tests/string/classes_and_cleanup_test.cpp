#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "qstr14/strings.h"
#include "support/host_profile.h"

namespace {

using qstr::test::ScopedProfile;
using Native = std::vector<uint16_t>;

const qstr::test::Environment kJapanese = {{"LANG", "ja_JP"}};
const qstr::test::Environment kEnglish = {{"LANG", "en_US"}};
constexpr uint16_t kGuard = 0x5555;

// A native string with its terminator and two guard elements behind it.
Native guarded(Native s) {
  s.push_back(0);
  s.push_back(kGuard);
  s.push_back(kGuard);
  return s;
}

// The first and last character of every range of every class, and the
// characters just outside them.
TEST(CharacterClasses, RangeBoundaries) {
  struct Case {
    uint32_t character;
    uint16_t digit, alpha, space;
  };
  const std::vector<Case> cases = {
      // Digits.
      {0x002F, 0, 0, 0}, {0x0030, 1, 0, 0}, {0x0039, 1, 0, 0}, {0x003A, 0, 0, 0}, {0x10039, 1, 0, 0},
      // Letters.
      {0x0040, 0, 0, 0}, {0x0041, 0, 1, 0}, {0x005A, 0, 1, 0}, {0x005B, 0, 0, 0},
      {0x0060, 0, 0, 0}, {0x0061, 0, 1, 0}, {0x007A, 0, 1, 0}, {0x007B, 0, 0, 0},
      {0x0116, 0, 0, 0}, {0x0117, 0, 1, 0}, {0x01F1, 0, 1, 0}, {0x01F2, 0, 0, 0},
      {0x07FF, 0, 0, 0}, {0x0800, 0, 1, 0}, {0x084E, 0, 1, 0}, {0x084F, 0, 0, 0},
      {0x086C, 0, 0, 0}, {0x086D, 0, 1, 0}, {0x08D6, 0, 1, 0}, {0x08D7, 0, 0, 0},
      {0x08FF, 0, 0, 0}, {0x0900, 0, 1, 0}, {0x091A, 0, 1, 0}, {0x091B, 0, 0, 0},
      {0x0953, 0, 0, 0}, {0x0954, 0, 1, 0}, {0x0976, 0, 1, 0}, {0x0977, 0, 0, 0},
      {0x09FF, 0, 0, 0}, {0x0A00, 0, 1, 0}, {0x0AC7, 0, 1, 0}, {0x0AC8, 0, 0, 0},
      {0x0AD1, 0, 0, 0}, {0x0AD2, 0, 1, 0}, {0x0AF9, 0, 1, 0}, {0x0AFA, 0, 0, 0},
      {0x0B04, 0, 0, 0}, {0x0B05, 0, 1, 0}, {0x0B3E, 0, 1, 0}, {0x0B3F, 0, 0, 0},
      {0x0D2E, 0, 0, 0}, {0x0D2F, 0, 1, 0}, {0x0DC1, 0, 1, 0}, {0x0DC2, 0, 0, 0},
      {0x0E28, 0, 0, 0}, {0x0E29, 0, 1, 0}, {0x0EDB, 0, 1, 0}, {0x0EDC, 0, 0, 0},
      // Spaces.
      {0x001F, 0, 0, 0}, {0x0020, 0, 0, 1}, {0x0021, 0, 0, 0},
      {0xF908, 0, 0, 0}, {0xF909, 0, 0, 1}, {0xF90A, 0, 0, 1}, {0xF90D, 0, 0, 1}, {0xF90E, 0, 0, 0},
      {0xFB01, 0, 0, 0}, {0xFB02, 0, 0, 1}, {0xFB03, 0, 0, 0},
      {0xFB16, 0, 0, 0}, {0xFB17, 0, 0, 1}, {0xFB32, 0, 0, 1}, {0xFB33, 0, 0, 0},
      {0xFC3F, 0, 0, 0}, {0xFC40, 0, 0, 1}, {0xFC61, 0, 0, 1}, {0xFC62, 0, 0, 0},
      // Sets with no range.
      {0x0C00, 0, 0, 0}, {0x1020, 0, 0, 0}, {0x0009, 0, 0, 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Q6wstrIsDigit(c.character), c.digit) << std::hex << c.character;
    EXPECT_EQ(Q6wstrIsAlpha(c.character), c.alpha) << std::hex << c.character;
    EXPECT_EQ(Q6wstrIsAlphaNum(c.character), c.digit | c.alpha) << std::hex << c.character;
    EXPECT_EQ(Q6wstrIsSpace(c.character), c.space) << std::hex << c.character;
  }
}

TEST(CharacterClasses, TableWalkStopsAtAHigherSet) {
  // Not ordered by set: the walk gives up at set 5 before the set 2 entry.
  const QSTR_CLASS_RANGE table[] = {{1, 0x10, 0x20}, {5, 0, 0xFF}, {2, 0, 0xFF}, {0xFFFF, 0, 0}};
  EXPECT_EQ(lQ6wstrFoundInTable(0x0115, table), 1);
  EXPECT_EQ(lQ6wstrFoundInTable(0x0121, table), 0);
  EXPECT_EQ(lQ6wstrFoundInTable(0x0577, table), 1);
  EXPECT_EQ(lQ6wstrFoundInTable(0x0277, table), 0);
  EXPECT_EQ(lQ6wstrFoundInTable(0xFF00, table), 0);
  EXPECT_EQ(lQ6wstrFoundInTable(0x10115, table), 1);  // only the low 16 bits count
}

TEST(ByteSafeForm, TelltaleBytes) {
  Native s = guarded({0x0041, 0x0100});
  Q6wstrFixExtChars(s.data());
  const uint8_t expected[] = {0x41, 0xFF, 0xFF, 0x01, 0xFF, 0x00, 0x55, 0x55};
  EXPECT_EQ(std::memcmp(s.data(), expected, sizeof expected), 0);
  Q6wstrUnFixExtChars(s.data());
  EXPECT_EQ(s, guarded({0x0041, 0x0100}));

  Native empty = guarded({});
  EXPECT_EQ(Q6wstrFixExtChars(empty.data()), empty.data());
  EXPECT_EQ(empty[0], 0x00FF);
  EXPECT_EQ(empty[1], kGuard);
}

// Any string whose bytes hold no 0xFF comes back exactly; its byte-safe
// form holds no zero byte before the terminator's high byte.
TEST(ByteSafeForm, RoundTripsRandomStrings) {
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    Native original;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
      uint16_t element;
      do {
        element = static_cast<uint16_t>(random() % 3 == 0 ? random() % 0x300 : random());
      } while (element == 0 || (element & 0xFF) == 0xFF || (element >> 8) == 0xFF);
      original.push_back(element);
    }
    Native s = guarded(original);
    Q6wstrFixExtChars(s.data());
    const auto *bytes = reinterpret_cast<const uint8_t *>(s.data());
    EXPECT_EQ(std::strlen(reinterpret_cast<const char *>(bytes)), 2 * original.size() + 1);
    Q6wstrUnFixExtChars(s.data());
    EXPECT_EQ(s, guarded(original));
  }
}

TEST(SpecialCodes, RenumberingBothWays) {
  const Native native = {0xF90D, 0xF90A, 0xF90C, 0xF909, 0xFE00, 0xFE03, 0xFE1E, 0xFE1F, 0xF900, 0x0041, 0xF90B, 0xFE20};
  const Native renumbered = {0xFB13, 0xFB16, 0xFB1B, 0xFC45, 0xFC66, 0xFC77, 0xFC75, 0xFC85, 0xF900, 0x0041, 0xF90B, 0xFE20};
  Native s = guarded(native);
  EXPECT_EQ(Q6wzFix(s.data(), 1), s.data());
  EXPECT_EQ(s, guarded(renumbered));
  Q6wzFix(s.data(), 2);
  EXPECT_EQ(s, guarded(native));
  for (uint32_t mode : {0u, 3u, 0x10000u}) {
    Native t = guarded(native);
    Q6wzFix(t.data(), mode);
    EXPECT_EQ(t, guarded(native)) << mode;
  }
  Native u = guarded(renumbered);
  Q6wzFix(u.data(), 0x10002);  // the mode is 16-bit
  EXPECT_EQ(u, guarded(native));
}

// Mode 1 changes exactly the 36 native codes and mode 2 exactly the 36
// renumbered ones, each back to where it came from: the pairs are
// one-to-one.
TEST(SpecialCodes, OneToOneOverEveryCode) {
  int changedBy1 = 0, changedBy2 = 0;
  for (uint32_t value = 0xF901; value <= 0xFFFF; ++value) {
    for (uint32_t mode : {1u, 2u}) {
      Native s = guarded({static_cast<uint16_t>(value)});
      Q6wzFix(s.data(), mode);
      if (s[0] == value) continue;
      (mode == 1 ? changedBy1 : changedBy2) += 1;
      Q6wzFix(s.data(), 3 - mode);
      ASSERT_EQ(s[0], value) << std::hex << value;
    }
  }
  EXPECT_EQ(changedBy1, 36);
  EXPECT_EQ(changedBy2, 36);
}

TEST(MenuText, StripAmpersand) {
  struct Case {
    std::string source, expected;
    uint16_t mnemonic;
    bool dbcs;
  };
  const std::vector<Case> cases = {
      {"&File", "File", 0x0046, false},        {"Save && Exit", "Save && Exit", 0, false},
      {"a&", "a", 0, false},                   {"File(&F)", "File(F)", 0x0046, false},
      {"File(&F)", "File", 0x2846, true},
      {"&Open (&x", "Open ", 0x2878, true},  // no ")": the rest is dropped, the code still taken
      {"(x", "", 0x2800, true},                // the string ends before the code byte
      {"(", "", 0x2800, true},                 {"(&", "", 0x2800, true},
      {"a(&\xE9)b", "ab", 0xFFE9, true},       {"&\xE9t\xE9", "\xE9t\xE9", 0xFFE9, false},
      {"&a&b", "ab", 0x0062, false},           {"&&&x", "&&x", 0x0078, false},
      {"", "", 0, false},
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.dbcs ? kJapanese : kEnglish);
    std::string dst(c.source.size() + 4, '\x55');
    EXPECT_EQ(QstrStripAmpersand(dst.data(), c.source.c_str()), c.mnemonic) << c.source;
    EXPECT_EQ(std::string(dst.c_str()), c.expected) << c.source;
    EXPECT_EQ(dst.substr(c.expected.size() + 1), std::string(dst.size() - c.expected.size() - 1, '\x55'))
        << "written past the terminator: " << c.source;
  }
}

TEST(MenuText, TruncateKeepsDoubleByteCharactersWhole) {
  struct Case {
    std::string text;
    int32_t n;
    int32_t kept;
    bool dbcs;
  };
  const std::string hiragana = "\x82\xA0";
  const std::vector<Case> cases = {
      {"abcdef", 3, 3, false},
      {"ab" + hiragana + "cd", 3, 3, false},  // no double-byte support: bytes only
      {"ab" + hiragana + "cd", 3, 2, true},   {"ab" + hiragana + "cd", 4, 4, true},
      {"abcdef", 3, 3, true},                 {"abcdef", 0, 0, true},
      {"abcdef", -2, 0, true},
      {"ab\x82", 3, 2, true},  // a lead byte before the terminator
      {"ab", 2, 2, true},
  };
  for (const Case &c : cases) {
    ScopedProfile profile(c.dbcs ? kJapanese : kEnglish);
    std::string s = c.text + std::string(4, '\x55');
    EXPECT_EQ(QMBStrTrunc(s.data(), c.n), c.kept) << c.text << " n=" << c.n;
    EXPECT_EQ(s.substr(0, c.kept), c.text.substr(0, c.kept));
    EXPECT_EQ(s[c.kept], '\0');
    EXPECT_EQ(s.substr(c.kept + 1), (c.text + std::string(4, '\x55')).substr(c.kept + 1));
  }
}

TEST(NativeSearch, FirstDelimiterLooksAtEveryElement) {
  const Native s = {'a', 0xF90A, ',', 'b', ';', 0}, commaSemicolon = {',', ';', 0}, lineFeed = {0xF90A, 0};
  const Native none = {0}, empty = {0};
  EXPECT_EQ(Q6wstrdelim(s.data(), commaSemicolon.data()), s.data() + 2);
  EXPECT_EQ(Q6wstrdelim(s.data(), lineFeed.data()), s.data() + 1);
  EXPECT_EQ(Q6wstrdelim(s.data(), none.data()), s.data() + 5);
  EXPECT_EQ(Q6wstrdelim(empty.data(), commaSemicolon.data()), empty.data());
}

}  // namespace
