// Placement of the East Asian double-byte codes among the native sets.
#include <gtest/gtest.h>

#include <vector>

#include "charset/east_asian_placement.h"

namespace {

using qstr::charset::kNoMapping;
using qstr::charset::lDbcsToQX6x;
using qstr::charset::lQX6xToDbcs;

// Every code of a page's double-byte area (lead and trail byte ranges)
// places into an East Asian set, no two on one native, and comes back;
// codes outside have no place, nor natives outside the East Asian sets.
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

// The first place of each branch and each page's last, and natives that
// no code gives: slot codes past 0xFB read as the next set's, slots start
// at set 0x2B.
TEST(EastAsianPlacement, KnownPlaces) {
  struct Case {
    uint32_t codePage;
    uint16_t code, native;
    bool produced = true;  // false: only the way to a code is checked
  };
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
