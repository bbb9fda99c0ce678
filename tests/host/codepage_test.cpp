// The portable host's code page conversions held against the system's charmaps, iconv and (where
// installed) ICU: single bytes, double-byte codes and their user-defined areas, lead bytes, strings.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <sstream>

#include <iconv.h>

#include "host/host.h"
#include "host/posix/codepage_tables.h"
#include "support/host_profile.h"

namespace {

namespace host = qstr::host;
namespace posix = qstr::host::posix;
using qstr::test::ScopedProfile;

std::string commandOutput(const std::string &command) {
  std::string out;
  FILE *pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return out;
  for (int c; (c = std::fgetc(pipe)) != EOF;) out.push_back(char(c));
  return pclose(pipe) == 0 ? out : std::string();
}

bool privateUse(char16_t unit) { return unit >= 0xE000 && unit <= 0xF8FF; }

// A byte the charmap leaves undefined converts to nothing or, as the host system does, to its C1
// control or to Private Use.
TEST(HostCodePages, EverySingleByteAgreesWithTheSystemCharmap) {
  int checked = 0;
  for (const posix::CodePageFacts &page : posix::kCodePageFacts) {
    const std::string folder = "zcat /usr/share/i18n/charmaps/";
    std::string text = commandOutput(folder + page.iconvName + ".gz");
    if (text.empty()) text = commandOutput(folder + "IBM" + std::to_string(page.codePage) + ".gz");
    std::map<unsigned, char16_t> charmap;  // lines "<U20AC> /x80 ..."
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      unsigned unicode, byte;
      char rest;
      if (std::sscanf(line.c_str(), "<U%4X> /x%2x%c", &unicode, &byte, &rest) == 3 && rest != '/') {
        if (unicode < 0x10000) charmap.emplace(byte, char16_t(unicode));
      }
    }
    if (page.leadBytes[0].first != 0 || charmap.empty()) continue;
    ++checked;
    for (unsigned byte = 0; byte < 256; ++byte) {
      const uint8_t b = uint8_t(byte);
      char16_t unit = 0;
      uint8_t back[2] = {};
      const bool converted = host::charToUnicode(page.codePage, &b, 1, &unit) == 1;
      if (charmap.count(byte) == 0) {
        EXPECT_TRUE(!converted || unit == byte && byte >= 0x80 && byte <= 0x9F || privateUse(unit)) << byte;
        continue;
      }
      EXPECT_TRUE(converted && unit == charmap[byte]) << page.codePage << " " << byte;
      EXPECT_TRUE(host::unicodeToChar(page.codePage, unit, back) == 1 && back[0] == b) << page.codePage;
    }
  }
  if (checked == 0) GTEST_SKIP() << "no charmaps (package locales)";
  EXPECT_GE(checked, 30);
}

TEST(HostCodePages, KnownCharactersAndNoLookAlikes) {
  const std::vector<std::tuple<uint32_t, std::string, char16_t>> cases = {
      {932, "\x88\x9F", u'\u4E9C'}, {949, "\xB0\xA1", u'\uAC00'}, {936, "\xB0\xA1", u'\u554A'},
      {950, "\xA4\x40", u'\u4E00'}, {932, "\xB1", u'\uFF71'} /* one byte */,
      {932, "\x81", 0} /* a lead byte alone */,
      {932, "\xFA\x5C", u'\u7E8A'} /* also at 0xED40: the encoder's choice is the way back */,
      {437, "", u'\u20AC'} /* no code */,
  };
  for (const auto &[codePage, text, expected] : cases) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.data());
    const int length = int(text.size());
    char16_t unit = 0;
    uint8_t back[2] = {};
    SCOPED_TRACE(codePage);
    if (expected == 0) EXPECT_EQ(host::charToUnicode(codePage, bytes, length, &unit), 0);
    if (expected == 0) continue;
    EXPECT_EQ(host::unicodeToChar(codePage, expected, back), length);
    if (length == 0) continue;
    EXPECT_EQ(std::string(back, back + length), text);
    ASSERT_EQ(host::charToUnicode(codePage, bytes, length, &unit), 1);
    EXPECT_EQ(unit, expected);
  }
}

// Lead bytes are those on which iconv waits for a second byte or that open only user-defined codes;
// those areas decode to Private Use as the charts (and ICU) lay them out, and no other code does.
TEST(HostCodePages, DoubleBytePagesLeadBytesAndUserDefinedAreas) {
  const std::map<uint32_t, int> least = {{932, 7000}, {936, 21000}, {949, 17000}, {950, 13000}};
  std::vector<uint32_t> pages;
  for (const posix::CodePageFacts &page : posix::kCodePageFacts) {
    const uint32_t codePage = page.codePage;
    if (page.leadBytes[0].first == 0) continue;
    pages.push_back(codePage);
    ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_ACP", std::to_string(codePage).c_str()}});
    SCOPED_TRACE(codePage);
    std::map<uint16_t, char16_t> layout;
    std::vector<bool> userDefinedLead(256);
    for (const auto &block : posix::kUserDefinedBlocks) {
      char16_t unit = block.firstUnit;
      for (unsigned lead = block.leads.first; block.codePage == codePage && lead <= block.leads.last; ++lead) {
        userDefinedLead[lead] = true;
        for (const auto &[first, last] : block.trails) {
          for (unsigned trail = first; first != 0 && trail <= last; ++trail) {
            layout[uint16_t(lead << 8 | trail)] = unit++;
          }
        }
      }
    }
    EXPECT_FALSE(layout.empty());
    iconv_t cd = iconv_open("UTF-16LE", page.iconvName);
    for (unsigned byte = 0; byte < 256; ++byte) {
      char input[1] = {char(byte)}, output[8];
      char *in = input, *out = output;
      std::size_t inLeft = 1, outLeft = sizeof output;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool waits = iconv(cd, &in, &inLeft, &out, &outLeft) == std::size_t(-1) && errno == EINVAL;
      const bool lead = host::isDbcsLeadByte(uint8_t(byte));
      EXPECT_TRUE(waits == lead || (lead && userDefinedLead[byte])) << byte;
    }
    iconv_close(cd);
    std::string escapes;  // for printf: each code's two bytes and a line break
    for (const auto &entry : layout) {
      char octal[16];
      std::snprintf(octal, sizeof octal, "\\%03o\\%03o\\n", entry.first >> 8, entry.first & 0xFF);
      escapes += octal;
    }
    const std::string command = "printf '" + escapes + "' | uconv -t UTF-16LE -f windows-";
    const std::string icu = commandOutput(command + std::to_string(codePage));
    std::size_t at = 0;  // a unit and a line break a code, when uconv converts the page
    for (const auto &[code, unit] : layout) {
      if (icu.size() == 4 * layout.size()) {
        EXPECT_EQ(uint8_t(icu[at]) | uint8_t(icu[at + 1]) << 8, unit) << code;
      }
      at += 4;
    }
    int characters = 0;
    for (unsigned code = 0x8100; code <= 0xFEFF; ++code) {
      const uint8_t pair[2] = {uint8_t(code >> 8), uint8_t(code)};
      char16_t unit = 0, again = 0;
      const auto expected = layout.find(uint16_t(code));
      if (host::charToUnicode(codePage, pair, 2, &unit) == 0) {
        ASSERT_EQ(expected, layout.end()) << code;
        continue;
      }
      ++characters;
      uint8_t back[2];
      const int produced = host::unicodeToChar(codePage, unit, back);
      ASSERT_GT(produced, 0) << code;
      ASSERT_EQ(host::charToUnicode(codePage, back, produced, &again), 1);
      EXPECT_EQ(again, unit) << code;
      if (expected == layout.end()) {
        ASSERT_FALSE(privateUse(unit)) << code;
        continue;
      }
      ASSERT_EQ(unit, expected->second) << code;
      ASSERT_EQ(back[0] << 8 | back[1], code);
    }
    EXPECT_GE(characters, least.at(codePage));
  }
  EXPECT_EQ(pages, (std::vector<uint32_t>{932, 936, 949, 950}));
  ScopedProfile singleByte({{"LANG", "en_US"}, {"QSTR14_ACP", "1252"}});
  for (unsigned b = 0; b < 256; ++b) EXPECT_FALSE(host::isDbcsLeadByte(uint8_t(b))) << b;
}

TEST(HostCodePages, WholeStrings) {
  char16_t wide[16];
  // A terminated source converts its terminator too; capacity 0 measures.
  EXPECT_EQ(host::multiByteToWideChar(1252, "A\x80", -1, nullptr, 0), 3);
  ASSERT_EQ(host::multiByteToWideChar(1252, "A\x80", -1, wide, 16), 3);
  EXPECT_EQ(std::u16string(wide, 3), std::u16string(u"A\u20AC\0", 3));
  // Undefined bytes as the host system converts them; broken double-byte characters: '?'.
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
  EXPECT_EQ(host::wideCharToMultiByte(932, u"\u4E9C", 1, narrow, 1), 0);  // would split it
  EXPECT_EQ(host::wideCharToMultiByte(4242, u"A", 1, narrow, 16), 0);
}

}  // namespace
