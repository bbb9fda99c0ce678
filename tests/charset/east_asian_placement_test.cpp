#include <gtest/gtest.h>

#include <vector>

#include "charset/east_asian_placement.h"

namespace {

using qstr::charset::kNoMapping;
using qstr::charset::lDbcsToQX6x;
using qstr::charset::lQX6xToDbcs;

struct TrailRange {
  unsigned first;
  unsigned last;
};

// The double-byte area of each page: lead bytes, and trail bytes.
struct PageArea {
  uint32_t codePage;
  std::vector<TrailRange> leads;
  std::vector<TrailRange> trails;
  std::vector<uint16_t> excludedTrails;
};

const std::vector<PageArea> &pageAreas() {
  static const std::vector<PageArea> areas = {
      {932, {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0xFC}}, {0x7F}},
      {949, {{0xA1, 0xFE}}, {{0xA1, 0xFE}}, {}},
      {934, {{0xA1, 0xFE}}, {{0xA1, 0xFE}}, {}},
      {936, {{0x81, 0xFE}}, {{0xA1, 0xFE}}, {}},
      {950, {{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}, {}},
      {938, {{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}, {}},
  };
  return areas;
}

bool inArea(const PageArea &area, unsigned lead, unsigned trail) {
  auto in = [](const std::vector<TrailRange> &ranges, unsigned b) {
    for (const TrailRange &r : ranges) {
      if (b >= r.first && b <= r.last) return true;
    }
    return false;
  };
  for (uint16_t excluded : area.excludedTrails) {
    if (trail == excluded) return false;
  }
  return in(area.leads, lead) && in(area.trails, trail);
}

// Every code of a page's double-byte area places into an East Asian set and
// comes back; every code outside the area has no place; no two codes share
// a native character.
TEST(EastAsianPlacement, EveryDoubleByteCodeRoundTrips) {
  for (const PageArea &area : pageAreas()) {
    std::vector<bool> used(0x10000, false);
    int codes = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
      const uint16_t native = lDbcsToQX6x(area.codePage, static_cast<uint16_t>(code));
      if (!inArea(area, code >> 8, code & 0xFF)) {
        EXPECT_EQ(native, kNoMapping) << area.codePage << " code " << std::hex << code;
        continue;
      }
      ++codes;
      ASSERT_NE(native, kNoMapping) << area.codePage << " code " << std::hex << code;
      EXPECT_TRUE(qstr::charset::isEastAsianSet(native >> 8)) << std::hex << native;
      EXPECT_FALSE(used[native]) << area.codePage << " native " << std::hex << native << " twice";
      used[native] = true;
      EXPECT_EQ(lQX6xToDbcs(area.codePage, native), code) << area.codePage << " native " << std::hex << native;
    }
    // Natives outside the East Asian sets have no code.
    for (unsigned native = 0; native < 0x2400; ++native) {
      EXPECT_EQ(lQX6xToDbcs(area.codePage, static_cast<uint16_t>(native)), kNoMapping);
    }
    for (unsigned native = 0xDF00; native <= 0xFFFF; ++native) {
      EXPECT_EQ(lQX6xToDbcs(area.codePage, static_cast<uint16_t>(native)), kNoMapping);
    }
    EXPECT_GT(codes, 5000) << area.codePage;
  }
}

TEST(EastAsianPlacement, KnownPlaces) {
  struct Case {
    uint32_t codePage;
    uint16_t code;
    uint16_t native;
  };
  const std::vector<Case> cases = {
      {932, 0x8140, 0x2400}, {932, 0x889F, 0x2B5E}, {932, 0xE040, 0x4300}, {932, 0xF040, 0x2BBC},
      {932, 0x8180, 0x243F}, {932, 0x9FFC, 0x42BB}, {932, 0xEFFC, 0x52BB}, {932, 0xF140, 0x2DF8},
      {949, 0xB0A1, 0x5A5E}, {949, 0xA1A1, 0x5300}, {949, 0xFEFE, 0x81BB}, {934, 0xB0A1, 0x5A5E},
      {936, 0xB0A1, 0x8787}, {936, 0x81A1, 0x2BBC}, {936, 0xA1A1, 0x8200}, {936, 0xFEFE, 0xA4A5},
      {950, 0xA140, 0xA500}, {950, 0xA440, 0xA6D8}, {950, 0x8140, 0x2BBC}, {950, 0xFEFE, 0xDEDE},
      {938, 0xA440, 0xA6D8},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(lDbcsToQX6x(c.codePage, c.code), c.native) << c.codePage << " " << std::hex << c.code;
    EXPECT_EQ(lQX6xToDbcs(c.codePage, c.native), c.code) << c.codePage << " " << std::hex << c.native;
  }
}

// Natives that no code produces still get the code the formulas give.
TEST(EastAsianPlacement, FormulasOutsideTheProducedNatives) {
  struct Case {
    uint32_t codePage;
    uint16_t native;
    uint16_t code;
  };
  const std::vector<Case> cases = {
      {932, 0x2BFC, 0xF081}, {932, 0x2CBC, 0xF081},  // slot codes past 0xFB read as the next set's
      {932, 0x2AFC, kNoMapping},                     // slots start at set 0x2B
      {932, 0x24BC, kNoMapping}, {932, 0x24FF, kNoMapping}, {932, 0x5300, kNoMapping},
      {949, 0x53BC, kNoMapping}, {949, 0x81BB, 0xFEFE}, {949, 0x8200, kNoMapping},
      {936, 0x2BFE, 0x81E3}, {936, 0x81FC, kNoMapping}, {936, 0x82FF, kNoMapping},
      {950, 0xDEDF, kNoMapping}, {950, 0xA5FF, kNoMapping}, {950, 0x2BBB, kNoMapping},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(lQX6xToDbcs(c.codePage, c.native), c.code) << c.codePage << " " << std::hex << c.native;
  }
}

TEST(EastAsianPlacement, OtherCodePagesHaveNoPlaces) {
  for (uint32_t codePage : {0u, 437u, 1252u, 933u, 951u}) {
    EXPECT_EQ(lDbcsToQX6x(codePage, 0x8140), kNoMapping);
    EXPECT_EQ(lQX6xToDbcs(codePage, 0x2400), kNoMapping);
  }
}

}  // namespace
