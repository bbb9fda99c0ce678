// Native characters and strings to Unicode and back, which natives are
// valid under a profile, and where the East Asian double-byte codes place.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "charset/east_asian_placement.h"
#include "charset/native_tables.h"
#include "charset/unicode_mapping.h"
#include "qstr14/charset.h"
#include "support/host_profile.h"

namespace {

using qstr::charset::kNoMapping;
using qstr::charset::lDbcsToQX6x;
using qstr::charset::lQX6xToDbcs;
using qstr::test::Environment;
using qstr::test::ScopedProfile;

const Environment kWestern = {{"LANG", "en_US"}};
const Environment kJapanese = {{"LANG", "ja_JP"}};

// Set 12 byte 0x81, undefined in 1252, is the C1 control, as the host gives it.
TEST(GetUnicodeValue, BySetAndCode) {
  ScopedProfile profile(kWestern);
  struct Case { uint32_t set, code; uint16_t unicode; };
  const std::vector<Case> cases = {{1, 0x29, 0x00E9}, {15, 0, 0}, {0x24, 0, 0}, {0, 0x41, 0x41}, {0, 0x80, 0x20AC},
                                   {12, 0x81, 0x0081}, {0x101, 0x129, 0x00E9}};  // only the low bytes count
  for (const Case &c : cases) EXPECT_EQ(GetUnicodeValue(c.set, c.code), c.unicode) << c.set << "," << c.code;
}

// Single characters both ways under a Western and a Japanese profile.
TEST(CharacterConversion, BothWays) {
  struct Case { const Environment *profile; uint32_t from; uint16_t to; };
  const std::vector<Case> toUnicode = {
      {&kWestern, 0x0B3E, 0xFF9F}, {&kWestern, 0x0F00, 0xFFFF}, {&kWestern, 0x2400, 0xFFFF},
      {&kWestern, 0x10129, 0x00E9}, {&kWestern, 0xF90A, 0xFFFF}, {&kWestern, 0x0000, 0x0000},
      {&kJapanese, 0x2400, 0x3000}, {&kJapanese, 0x2BBC, 0xE000}, {&kJapanese, 0x0100, 0x0300},
      {&kJapanese, 0x5300, 0xFFFF},  // a Korean place under a Japanese code page
  };
  const std::vector<Case> toNative = {
      {&kWestern, 0x007E, 0x007E}, {&kWestern, 0x007F, 0xFFFF}, {&kWestern, 0x00A0, 0x0CA0},
      {&kWestern, 0x20AC, 0x0448}, {&kWestern, 0x4E9C, 0xFFFF}, {&kWestern, 0x10041, 0x0041},
      {&kJapanese, 0x3000, 0x2400}, {&kJapanese, 0x4E9C, 0x2B5E}, {&kJapanese, 0xE000, 0x2BBC},
      {&kJapanese, 0x00E9, 0x0129},  // the table first, before the code page
      {&kJapanese, 0x0100, 0x015C}, {&kJapanese, 0xFF01, 0x2409},
      {&kJapanese, 0xAC00, 0xFFFF},  // Hangul has no Shift-JIS code
  };
  for (const Case &c : toUnicode) {
    ScopedProfile profile(*c.profile);
    EXPECT_EQ(KZcharQX6xToUnicode(c.from), c.to) << std::hex << c.from;
  }
  for (const Case &c : toNative) {
    ScopedProfile profile(*c.profile);
    EXPECT_EQ(KZcharUnicodeToQX6x(c.from), c.to) << std::hex << "U+" << c.from;
  }
}

// The lookup and the binary search agree with a scan of the reverse table.
TEST(GetQXCCHARValue, AgreesWithAScanOfTheReverseTable) {
  using qstr::charset::kReverseTable;
  std::vector<uint16_t> scanned(0x10000, 0xFFFF);
  for (std::size_t i = 0; i < qstr::charset::kReverseTableSize; ++i) {
    scanned[kReverseTable[i].unicode] = kReverseTable[i].native;
  }
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    ASSERT_EQ(GetQXCCHARValue(u + 0x10000), scanned[u]) << std::hex << u;
    ASSERT_EQ(qstr::charset::reverseTableSearch(static_cast<uint16_t>(u)), scanned[u]) << std::hex << u;
  }
}

TEST(StringConversion, StopsAfterTheTerminatorOrAtEitherLength) {
  ScopedProfile profile(kWestern);
  const uint16_t native[] = {0x0041, 0x0042, 0x0000, 0x0043, 0x0044};
  struct Case { uint32_t srcLength, dstLength, result; std::vector<uint16_t> written; };
  const std::vector<Case> cases = {
      {10, 10, 3, {0x41, 0x42, 0}}, {10, 2, 2, {0x41, 0x42}}, {2, 10, 2, {0x41, 0x42}},
      {0, 10, 0, {}}, {10, 0, 0, {}},
  };
  for (const Case &c : cases) {
    std::vector<uint16_t> expected = c.written, out(12, 0x5555), back(12, 0x5555);
    expected.resize(12, 0x5555);
    EXPECT_EQ(KZstrQX6xToUnicode(native, c.srcLength, out.data(), c.dstLength), c.result);
    EXPECT_EQ(KZstrUnicodeToQX6x(native, c.srcLength, back.data(), c.dstLength), c.result);
    EXPECT_EQ(out, expected) << c.srcLength << "/" << c.dstLength;
    EXPECT_EQ(back, expected) << c.srcLength << "/" << c.dstLength;
  }
  const uint16_t mixed[] = {0xF90A, 0x0129, 0};  // what has no mapping is stored as 0xFFFF and counted
  uint16_t out[3];
  ASSERT_EQ(KZstrQX6xToUnicode(mixed, 3, out, 3), 3u);
  EXPECT_EQ(out[0], 0xFFFF);
  EXPECT_EQ(out[1], 0x00E9);
}

// Sets 1-14 hold (and map) the codes of their tables, set 0 and 12 (raw
// bytes) by range; the East Asian sets are valid with double-byte support only.
TEST(ValidQxCharacter, RangesAndDoubleByteSupport) {
  struct Case { uint32_t native; int32_t western, japanese; };
  const std::vector<Case> cases = {
      {0x0041, 1, 1}, {0x001F, 0, 0}, {0x007F, 0, 0}, {0x2400, 0, 1}, {0xDF00, 0, 1}, {0xE000, 0, 0},
      {0xFFFF, 0, 0}, {0xFF41, 1, 1}, {0x0CFE, 1, 1}, {0x0CFF, 1, 1}, {0x0F00, 0, 0},
  };
  for (const auto &[env, japanese] : {std::pair{&kWestern, false}, std::pair{&kJapanese, true}}) {
    ScopedProfile profile(*env);
    for (const Case &c : cases) {
      EXPECT_EQ(ValidQxCharacter(c.native), japanese ? c.japanese : c.western) << std::hex << c.native;
    }
  }
  ScopedProfile profile(kWestern);
  for (unsigned set = 1; set <= 14; ++set) {
    const unsigned length = qstr::charset::kForwardTables[set].length;
    for (unsigned code = 0; code < 255 && set != 12; ++code) {
      EXPECT_EQ(ValidQxCharacter(set << 8 | code), code < length ? 1 : 0) << std::hex << (set << 8 | code);
      EXPECT_EQ(GetUnicodeValue(set, code) != 0, code < length) << std::hex << (set << 8 | code);
      EXPECT_EQ(KZcharQX6xToUnicode(set << 8 | code) != 0xFFFF, code < length) << std::hex << (set << 8 | code);
    }
  }
}

// Each code of a page's double-byte area places on its own East Asian native
// and comes back; codes outside, and natives outside those sets, have none.
TEST(EastAsianPlacement, EveryDoubleByteCodeRoundTrips) {
  struct PageArea { uint32_t codePage; std::vector<std::pair<unsigned, unsigned>> leads, trails; };
  const std::vector<PageArea> areas = {
      {932, {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0x7E}, {0x80, 0xFC}}},
      {949, {{0xA1, 0xFE}}, {{0xA1, 0xFE}}}, {934, {{0xA1, 0xFE}}, {{0xA1, 0xFE}}},
      {936, {{0x81, 0xFE}}, {{0xA1, 0xFE}}}, {950, {{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}},
      {938, {{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}},
  };
  auto in = [](const std::vector<std::pair<unsigned, unsigned>> &ranges, unsigned b) {
    return std::any_of(ranges.begin(), ranges.end(), [b](auto r) { return b >= r.first && b <= r.second; });
  };
  for (const PageArea &area : areas) {
    std::vector<bool> used(0x10000, false);
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
      const uint16_t native = lDbcsToQX6x(area.codePage, static_cast<uint16_t>(code));
      if (!in(area.leads, code >> 8) || !in(area.trails, code & 0xFF)) {
        ASSERT_EQ(native, kNoMapping) << area.codePage << " " << std::hex << code;
        continue;
      }
      ASSERT_TRUE(qstr::charset::isEastAsianSet(native >> 8)) << area.codePage << " " << std::hex << code;
      ASSERT_FALSE(used[native]) << area.codePage << " native " << std::hex << native << " twice";
      used[native] = true;
      ASSERT_EQ(lQX6xToDbcs(area.codePage, native), code) << area.codePage << " " << std::hex << native;
    }
    for (unsigned native = 0; native <= 0xFFFF; native = native == 0x23FF ? 0xDF00 : native + 1) {
      ASSERT_EQ(lQX6xToDbcs(area.codePage, static_cast<uint16_t>(native)), kNoMapping) << std::hex << native;
    }
  }
}

// The first place of each branch, each page's last, and natives no code gives
// (slot codes past 0xFB read as the next set's).
TEST(EastAsianPlacement, KnownPlaces) {
  struct Case { uint32_t codePage; uint16_t code, native; bool produced = true; };  // else only the way back
  const std::vector<Case> cases = {
      {932, 0x8140, 0x2400}, {932, 0x8180, 0x243F}, {932, 0xE040, 0x4300}, {932, 0xF040, 0x2BBC},
      {932, 0xF140, 0x2DF8}, {949, 0xA1A1, 0x5300}, {949, 0xB0A1, 0x5A5E}, {949, 0xFEFE, 0x81BB},
      {936, 0x81A1, 0x2BBC}, {936, 0xA1A1, 0x8200}, {936, 0xFEFE, 0xA4A5}, {950, 0x8140, 0x2BBC},
      {950, 0xA140, 0xA500}, {950, 0xFEFE, 0xDEDE},
      {932, 0xF081, 0x2BFC, false}, {932, 0xF081, 0x2CBC, false}, {932, kNoMapping, 0x2AFC, false},
      {932, kNoMapping, 0x24BC, false}, {932, kNoMapping, 0x5300, false}, {949, kNoMapping, 0x53BC, false},
      {949, kNoMapping, 0x8200, false}, {936, 0x81E3, 0x2BFE, false}, {936, kNoMapping, 0x81FC, false},
      {936, kNoMapping, 0x82FF, false}, {932, kNoMapping, 0x24FF, false},
      {950, kNoMapping, 0xDEDF, false}, {950, kNoMapping, 0xA5FF, false}, {950, kNoMapping, 0x2BBB, false},
  };
  for (const Case &c : cases) {
    if (c.produced) EXPECT_EQ(lDbcsToQX6x(c.codePage, c.code), c.native) << std::hex << c.code;
    EXPECT_EQ(lQX6xToDbcs(c.codePage, c.native), c.code) << c.codePage << " " << std::hex << c.native;
  }
  for (uint32_t codePage : {0u, 1252u, 933u, 951u}) {  // no places on other code pages
    EXPECT_EQ(lDbcsToQX6x(codePage, 0x8140), kNoMapping);
    EXPECT_EQ(lQX6xToDbcs(codePage, 0x2400), kNoMapping);
  }
}

}  // namespace
