// Renumbering of native characters to the previous format version and back.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <tuple>
#include <vector>

#include "base/no_mapping.h"
#include "asian/country_scope.h"
#include "qstr14/version5.h"

namespace {

using qstr::test::ScopedCountry;

constexpr uint16_t kNone = qstr::base::kNoMapping;
constexpr uint16_t kUntouched = 0xABCD;  // guard in the second result

// What QtpiQX5toQX6 gives: how many characters, and the two results.
struct Back {
  uint16_t count, first, second;
  bool operator==(const Back &) const = default;
};

void PrintTo(const Back &b, std::ostream *os) {
  *os << std::hex << "{" << b.count << ", " << b.first << ", " << b.second << "}";
}

Back back(uint16_t old) {
  Back result{0, 0, kUntouched};
  result.count = QtpiQX5toQX6(old, &result.first, &result.second);
  return result;
}

TEST(Version5Mapping, TellingCharactersBothWays) {
  ScopedCountry western(0);
  const std::vector<std::pair<uint32_t, uint16_t>> toOld = {
      {0x0118, 0x0208}, {0x01EA, kNone},  {0x0515, 0x0521}, {0x0834, 0x08C8}, {0x0935, 0x0934}, {0x0A42, kNone},
      {0x0A44, 0x0A46}, {0x0B04, 0x061F}, {0x0D25, 0x0DAB}, {0x0041, 0x0041}, {0x2400, 0x2400},
      {0x12340118, 0x0208},  // only the low 16 bits count
  };
  for (auto [native, old] : toOld) EXPECT_EQ(QtpiQX6toQX5(native), old) << std::hex << native;
  const std::vector<std::pair<uint16_t, Back>> toNative = {
      {0x0118, {1, 0x01EF, kUntouched}}, {0x0B09, {2, 0x0B08, 0x0B3D}}, {0x0B53, {1, 0x0028, kUntouched}},
      {0x0A74, {1, 0x0AA8, kUntouched}}, {0x0F20, {1, 0x0F20, kUntouched}},
      // Set 8 renumbers codes 0x34-0xD1 only: the codes on either side stay.
      {0x0833, {1, 0x0833, kUntouched}}, {0x08D2, {1, 0x08D2, kUntouched}},
  };
  for (const auto &[old, expected] : toNative) EXPECT_EQ(back(old), expected) << std::hex << old;
}

// Every valid code of each renumbered set goes to version 5 and back to
// itself, but for codes without a counterpart and where the directions'
// tables are not inverse (pair-list codes the way back leaves alone or
// reads through thresholds; set 9's codes kept on the way there only; set
// 11's code 4, a set-6 character in version 5; set 13's threshold rows).
TEST(Version5Mapping, RenumberedSetsRoundTrip) {
  // set, codes, without a counterpart, coming back otherwise, the first of them and what it comes back as
  using Summary = std::tuple<int, int, uint16_t, uint16_t>;
  const std::vector<std::tuple<unsigned, unsigned, Summary>> sets = {
      {1, 242, {8, 0, 0, 0}}, {2, 145, {14, 0, 0, 0}}, {5, 255, {7, 0, 0, 0}}, {8, 219, {0, 9, 0x084B, 0x0827}},
      {9, 123, {0, 4, 0x0977, 0x097B}}, {10, 250, {44, 0, 0, 0}}, {11, 63, {0, 1, 0x0B04, 0x061F}},
      {13, 196, {0, 17, 0x0DA1, 0x0D9D}}};
  ScopedCountry western(0);
  for (const auto &[set, size, expected] : sets) {
    Summary got = {0, 0, 0, 0};
    for (unsigned code = 0; code < size; ++code) {
      const uint16_t native = static_cast<uint16_t>(set << 8 | code), old = QtpiQX6toQX5(native);
      const Back b = back(old);
      if (old == kNone) ++std::get<0>(got);
      if (old == kNone || b == Back{1, native, kUntouched}) continue;
      EXPECT_EQ(b, (Back{1, b.first, kUntouched})) << std::hex << native;
      if (++std::get<1>(got) == 1) got = {std::get<0>(got), 1, native, b.first};
    }
    EXPECT_EQ(got, expected) << "set " << set;
  }
}

// The version-5 set 11 holds the kana twice (0x00-0x52, 0x64-0xB6), both
// halves coming down to the same half-width katakana; the voiced kana are
// the ka, sa, ta and ha rows and one more, the semi-voiced the ha row.
// Set 11 is renumbered unless the country ID is Japanese, which keeps
// every code both ways (the second result repeating it); otherwise codes
// beyond the set (above 0x3E now, 0xBB in version 5) have no counterpart
// on the way there and are kept on the way back.
TEST(Version5Mapping, Set11DependsOnTheCountryId) {
  for (const uint8_t countryId : {0, 4, 1}) {
    ScopedCountry country(countryId);
    ASSERT_EQ(QtpiGetCountryID(), countryId);
    EXPECT_EQ(QtpiQX6toQX5(0x0118), 0x0208);
    std::set<uint16_t> voiced, semiVoiced;
    for (unsigned code = 0; code <= 0xFF; ++code) {
      const uint16_t ch = static_cast<uint16_t>(0x0B00 + code);
      const Back got = back(ch);
      if (countryId == 1) {
        EXPECT_EQ(QtpiQX6toQX5(ch), ch);
        EXPECT_EQ(got, (Back{1, ch, ch}));
        continue;
      }
      if (code > 0x3E) EXPECT_EQ(QtpiQX6toQX5(ch), kNone) << std::hex << ch;
      if (code > 0xBB) EXPECT_EQ(got, (Back{1, ch, kUntouched}));
      if (code > 0x52) continue;
      EXPECT_EQ(back(static_cast<uint16_t>(ch + 0x64)), got) << std::hex << ch;
      if (got.count == 2) (got.second == 0x0B3D ? voiced : semiVoiced).insert(got.first);
    }
    if (countryId == 1) continue;
    std::set<uint16_t> expectedVoiced = {0x0B08};
    for (uint16_t c = 0x0B15; c <= 0x0B23; ++c) expectedVoiced.insert(c);  // ka, sa, ta rows
    for (uint16_t c = 0x0B29; c <= 0x0B2D; ++c) expectedVoiced.insert(c);  // ha row
    EXPECT_EQ(voiced, expectedVoiced);
    EXPECT_EQ(semiVoiced, (std::set<uint16_t>{0x0B29, 0x0B2A, 0x0B2B, 0x0B2C, 0x0B2D}));
  }
}

}  // namespace
