#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/host.h"
#include "support/host_profile.h"

namespace {

namespace host = qstr::host;

// byte → Unicode value, read from the system's charmap (locales package);
// `found` is false when there is no such charmap.
std::map<int, char16_t> readCharmap(const std::string &name, bool &found) {
  std::map<int, char16_t> map;
  FILE *pipe = popen(("zcat /usr/share/i18n/charmaps/" + name + ".gz 2>/dev/null").c_str(), "r");
  found = false;
  if (pipe == nullptr) return map;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    unsigned unicode, byte;
    char rest;
    if (std::sscanf(line, "<U%4X> /x%2x%c", &unicode, &byte, &rest) == 3 && rest != '/' && unicode < 0x10000) {
      map.emplace(static_cast<int>(byte), static_cast<char16_t>(unicode));
    }
  }
  found = pclose(pipe) == 0;
  return map;
}

struct SingleBytePage {
  uint32_t codePage;
  const char *charmap;
};

TEST(HostCodePages, EverySingleByteAgreesWithTheSystemCharmap) {
  const std::vector<SingleBytePage> pages = {
      {437, "IBM437"}, {737, "CP737"}, {775, "CP775"}, {850, "IBM850"}, {852, "IBM852"},
      {855, "IBM855"}, {857, "IBM857"}, {860, "IBM860"}, {861, "IBM861"}, {862, "IBM862"},
      {863, "IBM863"}, {864, "IBM864"}, {865, "IBM865"}, {866, "IBM866"}, {869, "IBM869"},
      {1250, "CP1250"}, {1251, "CP1251"}, {1252, "CP1252"}, {1253, "CP1253"}, {1254, "CP1254"},
      {1255, "CP1255"}, {1256, "CP1256"}, {1257, "CP1257"}, {1258, "CP1258"},
      {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"}, {28596, "ISO-8859-6"}, {28597, "ISO-8859-7"},
      {28598, "ISO-8859-8"}, {10000, "MACINTOSH"},
  };
  int checked = 0;
  for (const SingleBytePage &page : pages) {
    bool found;
    std::map<int, char16_t> charmap = readCharmap(page.charmap, found);
    if (!found) continue;
    ++checked;
    for (int byte = 0; byte < 256; ++byte) {
      const uint8_t b = static_cast<uint8_t>(byte);
      char16_t unit = 0;
      auto expected = charmap.find(byte);
      int converted = host::charToUnicode(page.codePage, &b, 1, &unit);
      if (expected == charmap.end()) {
        // Undefined in the chart: nothing, or what the host system gives
        // such a byte (the C1 control of the same value, or Private Use).
        const bool hostValue = converted == 1 && ((unit == byte && byte >= 0x80 && byte <= 0x9F) ||
                                                  (unit >= 0xE000 && unit <= 0xF8FF));
        EXPECT_TRUE(converted == 0 || hostValue) << page.codePage << " byte " << byte;
        continue;
      }
      ASSERT_EQ(converted, 1) << page.codePage << " byte " << byte;
      EXPECT_EQ(unit, expected->second) << page.codePage << " byte " << byte;
      // Back again: every byte of a single-byte page round-trips (the
      // pages above have no two bytes with one Unicode value).
      uint8_t back[2] = {};
      ASSERT_EQ(host::unicodeToChar(page.codePage, unit, back), 1) << page.codePage << " byte " << byte;
      EXPECT_EQ(back[0], b) << page.codePage;
    }
  }
  if (checked == 0) GTEST_SKIP() << "no charmaps under /usr/share/i18n/charmaps (package locales)";
}

TEST(HostCodePages, NoLookAlikeSubstitution) {
  uint8_t out[2];
  EXPECT_EQ(host::unicodeToChar(1252, u'\u0100', out), 0);  // Ā has no code in 1252
  EXPECT_EQ(host::unicodeToChar(437, u'\u20AC', out), 0);
  EXPECT_EQ(host::unicodeToChar(1252, u'\u3000', out), 0);
  ASSERT_EQ(host::unicodeToChar(1252, u'\u20AC', out), 1);
  EXPECT_EQ(out[0], 0x80);
  EXPECT_EQ(host::unicodeToChar(99999, u'A', out), 0);
  EXPECT_EQ(host::unicodeToChar(934, u'A', out), 0);  // not a code page of current systems
}

// Every double-byte code that decodes converts back to the same code, or to
// another code of the same character (a duplicate), never to something else.
TEST(HostCodePages, DoubleByteCodesRoundTrip) {
  struct Page {
    uint32_t codePage;
    int minimumCharacters;
  };
  for (const Page &page : std::vector<Page>{{932, 7000}, {936, 21000}, {949, 17000}, {950, 13000}}) {
    int characters = 0;
    for (unsigned code = 0x8100; code <= 0xFEFF; ++code) {
      const uint8_t pair[2] = {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
      char16_t unit;
      if (host::charToUnicode(page.codePage, pair, 2, &unit) == 0) continue;
      ++characters;
      uint8_t back[2];
      int produced = host::unicodeToChar(page.codePage, unit, back);
      ASSERT_GT(produced, 0) << page.codePage << " code " << std::hex << code;
      char16_t again;
      ASSERT_EQ(host::charToUnicode(page.codePage, back, produced, &again), 1);
      EXPECT_EQ(again, unit) << page.codePage << " code " << std::hex << code;
    }
    EXPECT_GE(characters, page.minimumCharacters) << page.codePage;
  }
}

TEST(HostCodePages, KnownDoubleByteCharacters) {
  struct Case {
    uint32_t codePage;
    uint16_t code;
    char16_t unit;
  };
  for (const Case &c : std::vector<Case>{{932, 0x8140, u'\u3000'}, {932, 0x889F, u'\u4E9C'},
                                         {949, 0xB0A1, u'\uAC00'}, {936, 0xB0A1, u'\u554A'},
                                         {950, 0xA440, u'\u4E00'}, {950, 0xA140, u'\u3000'},
                                         // user-defined areas: Private Use, in order
                                         {932, 0xF040, u'\uE000'}, {936, 0xAAA1, u'\uE000'},
                                         {936, 0xA140, u'\uE4C6'}, {936, 0xA7A0, u'\uE765'},
                                         {949, 0xC9A1, u'\uE000'}, {949, 0xFEFE, u'\uE0BB'},
                                         {950, 0xFA40, u'\uE000'}, {950, 0x8140, u'\uEEB8'},
                                         {950, 0xC8FE, u'\uF848'}}) {
    const uint8_t pair[2] = {static_cast<uint8_t>(c.code >> 8), static_cast<uint8_t>(c.code)};
    char16_t unit = 0;
    ASSERT_EQ(host::charToUnicode(c.codePage, pair, 2, &unit), 1) << c.codePage;
    EXPECT_EQ(unit, c.unit) << c.codePage;
    uint8_t back[2];
    ASSERT_EQ(host::unicodeToChar(c.codePage, c.unit, back), 2);
    EXPECT_EQ(back[0] << 8 | back[1], c.code);
  }
  // A lead byte alone is not a character.
  const uint8_t lead = 0x81;
  char16_t unit;
  EXPECT_EQ(host::charToUnicode(932, &lead, 1, &unit), 0);
  // Half-width katakana are single bytes in 932.
  const uint8_t kana = 0xB1;
  ASSERT_EQ(host::charToUnicode(932, &kana, 1, &unit), 1);
  EXPECT_EQ(unit, u'\uFF71');
}

TEST(HostCodePages, LeadBytesFollowTheAnsiCodePage) {
  struct Case {
    const char *acp;
    std::vector<uint8_t> leads;
    std::vector<uint8_t> others;
  };
  const std::vector<Case> cases = {
      {"932", {0x81, 0x9F, 0xE0, 0xFC}, {0x00, 0x41, 0x80, 0xA0, 0xA1, 0xDF, 0xFD}},
      {"936", {0x81, 0xA1, 0xFE}, {0x41, 0x80, 0xFF}},
      {"949", {0x81, 0xB0, 0xFE}, {0x41, 0x80}},
      {"950", {0x81, 0xA1, 0xFE}, {0x41, 0x80}},
      {"1252", {}, {0x81, 0xA1, 0xE0}},
  };
  for (const Case &c : cases) {
    qstr::test::ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_ACP", c.acp}});
    for (uint8_t b : c.leads) EXPECT_TRUE(host::isDbcsLeadByte(b)) << c.acp << " " << int(b);
    for (uint8_t b : c.others) EXPECT_FALSE(host::isDbcsLeadByte(b)) << c.acp << " " << int(b);
  }
}

TEST(HostCodePages, WholeStrings) {
  char16_t wide[16];
  // A terminated source converts its terminator too; capacity 0 measures.
  EXPECT_EQ(host::multiByteToWideChar(1252, "A\x80", -1, nullptr, 0), 3);
  ASSERT_EQ(host::multiByteToWideChar(1252, "A\x80", -1, wide, 16), 3);
  EXPECT_EQ(std::u16string(wide, 3), std::u16string(u"A\u20AC\0", 3));
  // Bytes the chart leaves undefined convert as the host system converts
  // them; broken double-byte characters become '?'.
  ASSERT_EQ(host::multiByteToWideChar(1252, "\x81x", 2, wide, 16), 2);
  EXPECT_EQ(std::u16string(wide, 2), u"\u0081x");
  ASSERT_EQ(host::multiByteToWideChar(932, "\x88\x9F\x81", 3, wide, 16), 2);
  EXPECT_EQ(std::u16string(wide, 2), u"\u4E9C?");
  EXPECT_EQ(host::multiByteToWideChar(1252, "abcdef", 6, wide, 3), 0);  // no room

  char narrow[16];
  EXPECT_EQ(host::wideCharToMultiByte(932, u"\u4E9CA", -1, nullptr, 0), 4);
  ASSERT_EQ(host::wideCharToMultiByte(932, u"\u4E9CA", -1, narrow, 16), 4);
  EXPECT_EQ(std::string(narrow, 4), std::string("\x88\x9F" "A\0", 4));
  ASSERT_EQ(host::wideCharToMultiByte(1252, u"\u0100\u20AC", 2, narrow, 16), 2);
  EXPECT_EQ(std::string(narrow, 2), "?\x80");
  EXPECT_EQ(host::wideCharToMultiByte(932, u"\u4E9C", 1, narrow, 1), 0);  // a split character is no room
  EXPECT_EQ(host::wideCharToMultiByte(4242, u"A", 1, narrow, 16), 0);    // unknown code page
}

}  // namespace
