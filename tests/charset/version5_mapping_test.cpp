// Renumbering of native characters to the previous format version and back.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <set>
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
  const std::vector<std::pair<uint16_t, uint16_t>> toOld = {
      {0x0118, 0x0208}, {0x01EA, kNone},  {0x0200, 0x021A}, {0x020A, kNone},  {0x0500, kNone},  {0x0515, 0x0521},
      {0x0834, 0x08C8}, {0x0845, 0x083C}, {0x0934, 0x0975}, {0x0935, 0x0934}, {0x0A42, kNone},  {0x0A44, 0x0A46},
      {0x0B04, 0x061F}, {0x0D25, 0x0DAB}, {0x0A96, 0x0A96}, {0x0AA8, 0x0A74},
      {0x0041, 0x0041}, {0x0C80, 0x0C80}, {0x2400, 0x2400}, {0x0318, 0x0318},  // not renumbered
      {0x12340118, 0x0208},  // only the low 16 bits count
  };
  for (auto [native, old] : toOld) EXPECT_EQ(QtpiQX6toQX5(native), old) << std::hex << native;
  const std::vector<std::pair<uint16_t, Back>> toNative = {
      {0x0118, {1, 0x01EF, kUntouched}}, {0x0208, {1, 0x0118, kUntouched}}, {0x0B09, {2, 0x0B08, 0x0B3D}},
      {0x0B53, {1, 0x0028, kUntouched}}, {0x0A74, {1, 0x0AA8, kUntouched}}, {0x0975, {1, 0x0934, kUntouched}},
      {0x0B42, {2, 0x0B2D, 0x0B3E}},     {0x0B57, {1, 0x0B01, kUntouched}}, {0x0833, {1, 0x0833, kUntouched}},
      {0x08D2, {1, 0x08D2, kUntouched}}, {0x0DBD, {1, 0x0D2A, kUntouched}}, {0x0F20, {1, 0x0F20, kUntouched}},
  };
  for (const auto &[old, expected] : toNative) EXPECT_EQ(back(old), expected) << std::hex << old;
}

// Every valid code of each renumbered set goes to version 5 and comes back
// to itself, except the codes without a counterpart and the ones listed
// where the two directions of the tables are not inverse.
TEST(Version5Mapping, RenumberedSetsRoundTrip) {
  struct SetRoundTrip {
    uint8_t set;
    unsigned size;  // valid codes 0..size-1
    std::set<unsigned> noCounterpart;
    std::map<unsigned, uint16_t> comesBackAs;
  };
  const std::vector<SetRoundTrip> sets = {
      {1, 242, {0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1}, {}},
      {2, 145, {0x0A, 0x0B, 0x0C, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x17, 0x18, 0x19}, {}},
      {5, 255, {0x00, 0x01, 0x02, 0x03, 0x1E, 0x21, 0x22}, {}},
      // Pair-list codes whose version-5 code the way back leaves alone
      // (below 0x34) or reads through its threshold list.
      {8, 219, {}, {{0x4B, 0x0827}, {0x71, 0x086D}, {0x79, 0x0875}, {0x81, 0x087D}, {0x96, 0x0892}, {0x9E, 0x089A},
                    {0xB4, 0x0823}, {0xCD, 0x08C9}, {0xD5, 0x08D1}}},
      // 0x77-0x7A keep their codes on the way there only.
      {9, 123, {}, {{0x77, 0x097B}, {0x78, 0x097C}, {0x79, 0x097D}, {0x7A, 0x097E}}},
      {10, 250, {0x42, 0x43, 0x48, 0x49, 0x4C, 0x4D, 0x50, 0x51, 0x56, 0x57, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x6A,
                 0x6B, 0x6E, 0x6F, 0x70, 0x71, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F, 0x80, 0x81,
                 0x82, 0x83, 0x84, 0x85, 0x88, 0x89, 0x8A, 0x8B, 0x94, 0x95}, {}},
      // Code 4 becomes a set-6 character, and set 6 is not renumbered.
      {11, 63, {}, {{0x04, 0x061F}}},
      // The threshold rows of the two directions differ above 0xA0.
      {13, 196, {}, {{0xA1, 0x0D9D}, {0xA2, 0x0D9E}, {0xB5, 0x0D2A}, {0xB6, 0x0D2B}, {0xB7, 0x0D2C}, {0xB8, 0x0D2D},
                     {0xB9, 0x0D2E}, {0xBA, 0x0DC2}, {0xBB, 0x0DC3}, {0xBC, 0x0DC4}, {0xBD, 0x0DC5}, {0xBE, 0x0DC6},
                     {0xBF, 0x0DC7}, {0xC0, 0x0DC8}, {0xC1, 0x0DC9}, {0xC2, 0x0DCA}, {0xC3, 0x0DCB}}},
  };
  ScopedCountry western(0);
  for (const SetRoundTrip &s : sets) {
    for (unsigned code = 0; code < s.size; ++code) {
      const uint16_t native = static_cast<uint16_t>(s.set << 8 | code), old = QtpiQX6toQX5(native);
      if (s.noCounterpart.count(code)) {
        EXPECT_EQ(old, kNone) << std::hex << native;
        continue;
      }
      ASSERT_NE(old, kNone) << std::hex << native;
      const auto listed = s.comesBackAs.find(code);
      const uint16_t expected = listed == s.comesBackAs.end() ? native : listed->second;
      EXPECT_EQ(back(old), (Back{1, expected, kUntouched})) << std::hex << native << " via " << old;
    }
  }
}

// The version-5 set 11 holds the kana twice (codes 0x00-0x52 and
// 0x64-0xB6); both halves come down to the same half-width katakana.
// Among them the voiced kana: the ka, sa, ta and ha rows and one more; the
// semi-voiced: the ha row.
TEST(Version5Mapping, Set11KanaHalvesAndSoundMarks) {
  ScopedCountry western(0);
  std::set<uint16_t> voiced, semiVoiced;
  for (unsigned code = 0; code <= 0x52; ++code) {
    const Back first = back(static_cast<uint16_t>(0x0B00 + code));
    EXPECT_EQ(back(static_cast<uint16_t>(0x0B64 + code)), first) << std::hex << code;
    if (first.count == 2 && first.second == 0x0B3D) voiced.insert(first.first);
    if (first.count == 2 && first.second == 0x0B3E) semiVoiced.insert(first.first);
  }
  std::set<uint16_t> expectedVoiced = {0x0B08};
  for (uint16_t c = 0x0B15; c <= 0x0B23; ++c) expectedVoiced.insert(c);  // ka, sa, ta rows
  for (uint16_t c = 0x0B29; c <= 0x0B2D; ++c) expectedVoiced.insert(c);  // ha row
  EXPECT_EQ(voiced, expectedVoiced);
  EXPECT_EQ(semiVoiced, (std::set<uint16_t>{0x0B29, 0x0B2A, 0x0B2B, 0x0B2C, 0x0B2D}));
}

// Set 11 is renumbered unless the country ID is Japanese; nothing else
// depends on it. Codes beyond the set (above 0x3E now, above 0xBB in
// version 5) have no counterpart on the way there and are kept on the way
// back; under the Japanese country ID every code of set 11 is kept both
// ways, and the second result repeats the character.
TEST(Version5Mapping, Set11DependsOnTheCountryId) {
  for (const uint8_t countryId : {0, 4, 1}) {
    ScopedCountry country(countryId);
    ASSERT_EQ(QtpiGetCountryID(), countryId);
    const bool renumbered = countryId != 1;
    EXPECT_EQ(QtpiQX6toQX5(0x0118), 0x0208);
    for (unsigned code = 0; code <= 0xFF; ++code) {
      const uint16_t ch = static_cast<uint16_t>(0x0B00 + code);
      const Back got = back(ch);
      if (!renumbered) {
        EXPECT_EQ(QtpiQX6toQX5(ch), ch);
        EXPECT_EQ(got, (Back{1, ch, ch}));
        continue;
      }
      if (code > 0x3E) EXPECT_EQ(QtpiQX6toQX5(ch), kNone) << std::hex << ch;
      if (code > 0xBB) EXPECT_EQ(got, (Back{1, ch, kUntouched}));
    }
    if (renumbered) {
      EXPECT_EQ(QtpiQX6toQX5(0x0B04), 0x061F);
      EXPECT_EQ(back(0x0B09).second, 0x0B3D);
    }
  }
}

}  // namespace
