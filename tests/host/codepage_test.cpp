#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <iconv.h>
#include <unistd.h>

#include "base/double_byte_pages.h"
#include "host/host.h"
#include "host/posix/codepage_tables.h"
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
                                         {950, 0xA440, u'\u4E00'}, {950, 0xA140, u'\u3000'}}) {
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

// The double-byte pages of the code page table that the host converts.
std::vector<const qstr::host::posix::CodePageFacts *> doubleBytePages() {
  std::vector<const qstr::host::posix::CodePageFacts *> pages;
  for (const auto &page : qstr::host::posix::kCodePageFacts) {
    if (page.leadBytes[0].first != 0) pages.push_back(&page);
  }
  return pages;
}

bool isLeadByte(const qstr::host::posix::CodePageFacts &page, unsigned byte) {
  for (const auto &range : page.leadBytes) {
    if (range.first != 0 && byte >= range.first && byte <= range.last) return true;
  }
  return false;
}

bool opensUserDefinedCodes(uint32_t codePage, unsigned byte) {
  for (const auto &block : qstr::host::posix::kUserDefinedBlocks) {
    if (block.codePage == codePage && byte >= block.leads.first && byte <= block.leads.last) return true;
  }
  return false;
}

// The lead bytes of the code page table are the bytes on which iconv waits
// for a second byte (but for those that open only user-defined codes, which
// iconv may not convert), and the table has the double-byte pages that
// current systems convert.
TEST(HostCodePages, LeadBytesAreTheOnesIconvWaitsOn) {
  std::vector<uint32_t> numbers;
  for (const auto *page : doubleBytePages()) {
    numbers.push_back(page->codePage);
    iconv_t cd = iconv_open("UTF-16LE", page->iconvName);
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << page->iconvName;
    for (unsigned byte = 0; byte < 256; ++byte) {
      char input[1] = {static_cast<char>(byte)};
      char output[8];
      char *in = input;
      char *out = output;
      std::size_t inLeft = 1;
      std::size_t outLeft = sizeof output;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool waits = iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) && errno == EINVAL;
      if (!waits && opensUserDefinedCodes(page->codePage, byte)) {
        // iconv may know nothing of a row of user-defined codes alone.
        EXPECT_TRUE(isLeadByte(*page, byte)) << page->codePage << " byte " << std::hex << byte;
        continue;
      }
      EXPECT_EQ(waits, isLeadByte(*page, byte)) << page->codePage << " byte " << std::hex << byte;
    }
    iconv_close(cd);
  }
  EXPECT_EQ(numbers, (std::vector<uint32_t>{932, 936, 949, 950}));
  for (uint32_t codePage : qstr::base::kDoubleByteCodePages) {
    EXPECT_EQ(qstr::base::isHostDoubleByteCodePage(codePage),
              std::find(numbers.begin(), numbers.end(), codePage) != numbers.end()) << codePage;
  }
}

// ICU's conversion of each double-byte code to UTF-16, through its uconv
// tool (package icu-devtools); empty when the tool cannot convert them.
std::vector<char16_t> decodeWithIcu(uint32_t codePage, const std::vector<uint16_t> &codes) {
  char path[] = "/tmp/qstr-codes-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return {};
  std::string bytes;
  for (uint16_t code : codes) bytes += {static_cast<char>(code >> 8), static_cast<char>(code), '\n'};
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  close(fd);
  std::vector<char16_t> units;
  const std::string command = "uconv -f windows-" + std::to_string(codePage) + " -t UTF-16LE " + path + " 2>/dev/null";
  FILE *pipe = written ? popen(command.c_str(), "r") : nullptr;
  if (pipe != nullptr) {
    int low;
    while ((low = std::fgetc(pipe)) != EOF) units.push_back(static_cast<char16_t>(low | std::fgetc(pipe) << 8));
    if (pclose(pipe) != 0) units.clear();
  }
  unlink(path);
  // One unit and a line break for each code.
  if (units.size() != 2 * codes.size()) return {};
  for (std::size_t i = 0; i < codes.size(); ++i) units[i] = units[2 * i];
  units.resize(codes.size());
  return units;
}

// Every code of each user-defined area decodes to its Private Use unit and
// back; no other double-byte code decodes into the Private Use Area. The
// layout is the code page table's, the published charts' (consecutive
// Private Use units, lead byte by lead byte, trail bytes ascending); iconv
// converts only some of the areas (all of 932, 950's C6A1..C8FE), so it is
// held against ICU's converters too where its uconv tool is installed.
TEST(HostCodePages, UserDefinedAreasArePrivateUseInOrder) {
  for (const auto *page : doubleBytePages()) {
    const uint32_t codePage = page->codePage;
    std::map<uint16_t, char16_t> layout;
    for (const auto &block : qstr::host::posix::kUserDefinedBlocks) {
      if (block.codePage != codePage) continue;
      char16_t unit = block.firstUnit;
      for (unsigned lead = block.leads.first; lead <= block.leads.last; ++lead) {
        for (const auto &[first, last] : block.trails) {
          if (first == 0) continue;
          for (unsigned trail = first; trail <= last; ++trail) layout[static_cast<uint16_t>(lead << 8 | trail)] = unit++;
        }
      }
    }
    EXPECT_FALSE(layout.empty()) << codePage;
    std::vector<uint16_t> codes;
    for (const auto &entry : layout) codes.push_back(entry.first);
    const std::vector<char16_t> icu = decodeWithIcu(codePage, codes);
    if (icu.empty()) std::printf("uconv cannot convert code page %u: checked against the charts' layout only\n", codePage);
    std::size_t index = 0;
    for (unsigned code = 0x8100; code <= 0xFEFF; ++code) {
      const uint8_t pair[2] = {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
      char16_t unit = 0;
      const bool decoded = host::charToUnicode(codePage, pair, 2, &unit) == 1;
      const auto expected = layout.find(static_cast<uint16_t>(code));
      if (expected == layout.end()) {
        ASSERT_FALSE(decoded && unit >= 0xE000 && unit <= 0xF8FF) << codePage << " code " << std::hex << code;
        continue;
      }
      ASSERT_TRUE(decoded) << codePage << " code " << std::hex << code;
      ASSERT_EQ(unit, expected->second) << codePage << " code " << std::hex << code;
      if (!icu.empty()) ASSERT_EQ(unit, icu[index]) << codePage << " code " << std::hex << code << " in ICU";
      ++index;
      uint8_t back[2];
      ASSERT_EQ(host::unicodeToChar(codePage, unit, back), 2) << codePage << " code " << std::hex << code;
      ASSERT_EQ(back[0] << 8 | back[1], code) << codePage << " unit " << std::hex << int{unit};
    }
  }
}

// The host's lead bytes are those of its ANSI code page; a single-byte page
// has none.
TEST(HostCodePages, LeadBytesFollowTheAnsiCodePage) {
  std::vector<const qstr::host::posix::CodePageFacts *> pages = doubleBytePages();
  const qstr::host::posix::CodePageFacts singleByte{1252, "CP1252", {}};
  pages.push_back(&singleByte);
  for (const auto *page : pages) {
    qstr::test::ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_ACP", std::to_string(page->codePage)}});
    for (unsigned b = 0; b < 256; ++b) {
      EXPECT_EQ(host::isDbcsLeadByte(static_cast<uint8_t>(b)), isLeadByte(*page, b)) << page->codePage << " " << b;
    }
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
