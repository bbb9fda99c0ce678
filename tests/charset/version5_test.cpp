// Version-5 numbering and streams: native characters renumbered both ways,
// streams read into and written from native strings, and validated.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "asian/country_scope.h"
#include "base/no_mapping.h"
#include "charset/version5_items.h"
#include "qstr14/version5.h"
#include "support/host_profile.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Elements = std::vector<uint16_t>;
using qstr::charset::version5::firstIncompleteVersion5Item;
using qstr::test::ScopedCountry;
using qstr::test::ScopedProfile;

constexpr uint16_t kNone = qstr::base::kNoMapping;
constexpr uint16_t kUntouched = 0xABCD;  // guard in the second result

// What QtpiQX5toQX6 gives: how many characters, and the two results.
using Back = std::tuple<uint16_t, uint16_t, uint16_t>;

Back back(uint16_t old) {
  uint16_t first = 0, second = kUntouched;
  const uint16_t count = QtpiQX5toQX6(old, &first, &second);
  return {count, first, second};
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

// Every valid code of each renumbered set comes back to itself as one
// character, but for the counted codes without a counterpart or where the
// directions' tables are not inverse.
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
      const uint16_t first = std::get<1>(back(old));
      if (old != kNone) EXPECT_EQ(back(old), (Back{1, first, kUntouched})) << std::hex << native;
      if (old == kNone) ++std::get<0>(got);
      if (old == kNone || first == native) continue;
      if (++std::get<1>(got) == 1) got = {std::get<0>(got), 1, native, first};
    }
    EXPECT_EQ(got, expected) << "set " << set;
  }
}

// Set 11 is kept both ways under the Japanese country ID, else renumbered:
// version 5 holds the kana twice (0x00-0x52, 0x64-0xB6), voiced ones as two
// characters; codes past the set (0x3E now, 0xBB then) have no counterpart.
TEST(Version5Mapping, Set11DependsOnTheCountryId) {
  for (const uint8_t countryId : {0, 4, 1}) {
    ScopedCountry country(countryId);
    ASSERT_EQ(QtpiGetCountryID(), countryId);
    EXPECT_EQ(QtpiQX6toQX5(0x0118), 0x0208);
    std::set<uint16_t> voiced, semiVoiced;
    for (unsigned code = 0; code <= 0xFF; ++code) {
      const uint16_t ch = static_cast<uint16_t>(0x0B00 + code);
      const Back got = back(ch);
      const auto [count, first, second] = got;
      if (countryId == 1) {
        EXPECT_EQ(QtpiQX6toQX5(ch), ch);
        EXPECT_EQ(got, (Back{1, ch, ch}));
        continue;
      }
      if (code > 0x3E) EXPECT_EQ(QtpiQX6toQX5(ch), kNone) << std::hex << ch;
      if (code > 0xBB) EXPECT_EQ(got, (Back{1, ch, kUntouched}));
      if (code > 0x52) continue;
      EXPECT_EQ(back(static_cast<uint16_t>(ch + 0x64)), got) << std::hex << ch;
      if (count == 2) (second == 0x0B3D ? voiced : semiVoiced).insert(first);
    }
    if (countryId == 1) continue;
    std::set<uint16_t> expectedVoiced = {0x0B08};
    for (uint16_t c = 0x0B15; c <= 0x0B23; ++c) expectedVoiced.insert(c);  // ka, sa, ta rows
    for (uint16_t c = 0x0B29; c <= 0x0B2D; ++c) expectedVoiced.insert(c);  // ha row
    EXPECT_EQ(voiced, expectedVoiced);
    EXPECT_EQ(semiVoiced, (std::set<uint16_t>{0x0B29, 0x0B2A, 0x0B2B, 0x0B2C, 0x0B2D}));
  }
}

constexpr uint16_t kGuardElement = 0xAAAA;
constexpr uint8_t kGuardByte = 0xAA;

// Q5dzTowz with double-byte support off or on, or lQ5CdzTowz with a script.
struct Reader { bool doubleByte; int script; };  // script < 0: Q5dzTowz
constexpr Reader kSingle{false, -1}, kJapanese{true, -1}, kSimplified{true, 0}, kTraditional{true, 0x83};

uint16_t *convert(Reader reader, const uint8_t *src, uint16_t *dst, uint32_t size) {
  if (reader.script >= 0) return lQ5CdzTowz(src, dst, size, static_cast<uint32_t>(reader.script));
  ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_DBCS", reader.doubleByte ? "1" : "0"}});
  return Q5dzTowz(src, dst, size);
}

// The elements before the terminator, checked to be terminated within `size` bytes.
Elements toNative(Reader reader, const Bytes &stream, uint32_t size = 1024) {
  const std::size_t capacity = (size & 0xFFFF) / 2;
  std::vector<uint16_t> dst(capacity + 8, kGuardElement);
  EXPECT_EQ(convert(reader, stream.data(), dst.data(), size), dst.data());
  Elements out(dst.begin(), std::find(dst.begin(), dst.end(), kGuardElement));
  EXPECT_LE(out.size(), capacity) << "written past the size";
  if (capacity > 0 && (out.empty() || out.back() != 0)) ADD_FAILURE() << "no terminator";
  if (!out.empty()) out.pop_back();
  return out;
}

// The bytes stored, terminator included, checked to be within `size`.
Bytes toVersion5(Elements string, uint32_t size) {
  string.push_back(0);
  Bytes dst((size & 0xFFFF) + 8, kGuardByte);
  EXPECT_EQ(QwzTo5dz(string.data(), dst.data(), size), dst.data());
  Bytes out(dst.begin(), std::find(dst.begin(), dst.end(), kGuardByte));
  EXPECT_LE(out.size(), size & 0xFFFF) << "written past the size";
  return out;
}

// Every kind of item and pair of each reader; reading stops at the first
// incomplete item, where the validator points.
TEST(Version5Stream, ItemsBecomeElements) {
  struct Case { Reader reader; Bytes stream; Elements native; std::optional<std::size_t> incomplete = {}; };
  const std::vector<Case> cases = {
      {kSingle, {0x41, 0xC3, 0x05, 0xC3, 0x42, 0x0A, 0x00}, {0x0041, 0xFE0A, 0x0042, 0xF90A}},
      {kSingle, {0x01, 0x09, 0x0C, 0x0B, 0x0D, 0x1F, 0x80, 0xBF, 0x20, 0x7F, 0x00}, {0xF90C, 0xF90D, 0x20, 0x7F}},
      {kSingle, {0xC3, 0x80, 0xC3, 0xC4, 0xFF, 0xC4, 0xC4, 0x00, 0xC4, 0x00}, {0xFE00, 0xFEFF, 0xFE01}},
      {kSingle, {0xC0, 0x18, 0x01, 0xC0, 0xC0, 0x00, 0x01, 0xC0, 0xC0, 0x41, 0x00, 0xC0, 0x00},
       {0x0118, 0x0100, 0x41}},
      {kSingle, {0xD0, 0x00, 0x00, 0x00, 0x41, 0xFF, 0xC0, 0x03, 0x00, 0x00, 0xC0, 0x41, 0x42, 0}, {0x41, 0x42}},
      {kSingle, {0x41, 0xC1, 0x00, 0xC1, 0xC2, 0x00, 0x00, 0xC2, 0xC5, 0x41, 0xC0, 0xC5, 0xCF, 0xCF, 0xCF, 0x42, 0},
       {0x41, 0x42}},
      {kSingle, {0xC1, 0x41, 0xC1, 0xC5, 0x00, 0xC5, 0xCF, 0x00, 0x00, 0xCF, 0x00}, {}},
      {kJapanese, {0x23, 0x21, 0x24, 0x21, 0x00}, {0x2400, 0x245E}},
      {kJapanese, {0x20, 0x21, 0x41, 0x22, 0x21, 0x22, 0x5F, 0x7D, 0x21, 0x7E, 0x7E, 0x00},
       {0x0020, 0x0041, 0x0B00, 0x0B3E, 0x5100, 0x51BB}},
      {kJapanese, {0x7F, 0x21, 0x0A, 0xC3, 0x01, 0xC3, 0x80, 0xC0, 0x29, 0x01, 0xC0, 0}, {0xF90A, 0xFE02, 0x0129}},
      {kSimplified, {0x22, 0x21, 0x24, 0x64, 0x7F, 0x7E, 0x21, 0x41, 0x20, 0x00},
       {0x8200, 0x8300, 0xA4A5, 0x0041, 0x0020}},
      {kTraditional, {0x22, 0x21, 0x24, 0x64, 0x00}, {0xA500, 0xA600}},
      {kSingle, {0x41, 0xC0, 0x29, 0x01, 0x41, 0x00}, {0x41}, 1},              // extended character not closed
      {kSingle, {0x41, 0x42, 0xC3, 0x05, 0xC4, 0x00, 0x00}, {0x41, 0x42}, 2},  // attribute not closed
      {kSingle, {0x41, 0xC5, 0x01, 0x02, 0x03, 0x00}, {0x41}, 1},  // fixed-length function not closed in 2 bytes
      {kJapanese, {0x20, 0x21, 0x41, 0x23, 0x00}, {0x20, 0x41}, 3},  // pair cut by the terminator
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    EXPECT_EQ(toNative(c.reader, c.stream), c.native) << "case " << i;
    const Bytes &bytes = c.stream;
    EXPECT_EQ(firstIncompleteVersion5Item(bytes.data(), bytes.size(), c.reader.doubleByte), c.incomplete) << i;
  }
  // A variable-length function past the stream, which the readers cannot see.
  const Bytes pastTheEnd = {0x41, 0xD0, 0x00, 0x05, 0x00, 0x01, 0x00};
  EXPECT_EQ(firstIncompleteVersion5Item(pastTheEnd.data(), pastTheEnd.size(), false), 1u);
  EXPECT_EQ(firstIncompleteVersion5Item(nullptr, 0, false), 0u);
}

// Every size (its low 16 bits) gives a terminated prefix of the whole
// result; functions take no room, a dropped 0x7F pair one element's.
TEST(Version5Stream, RoomCountedInElements) {
  const Bytes stream = {0x41, 0xC3, 0x05, 0xC3, 0x0A, 0x85, 0xC0, 0x29, 0x01, 0xC0, 0xC6, 0x07, 0xC6,
                        0x42, 0xE0, 0x00, 0x02, 0x00, 0x41, 0x41, 0x0D, 0x43, 0x00};
  const Elements whole = toNative(kSingle, stream);
  ASSERT_EQ(whole, (Elements{0x0041, 0xFE0A, 0xF90A, 0x0129, 0x0042, 0xF90D, 0x0043}));
  for (uint32_t size = 0; size <= 2 * whole.size() + 6; ++size) {
    const std::size_t room = size / 2 == 0 ? 0 : size / 2 - 1;
    const Elements expected(whole.begin(), whole.begin() + std::min(room, whole.size()));
    EXPECT_EQ(toNative(kSingle, stream, size), expected) << "size " << size;
    EXPECT_EQ(toNative(kSingle, stream, 0x10000 + size), expected) << "size " << size;
  }
  const Bytes functions = {0x80, 0x41, 0xD5, 0x00, 0x00, 0x00, 0xC5, 0x01, 0xC5, 0x42, 0x00};
  EXPECT_EQ(toNative(kSingle, functions, 6), (Elements{0x0041, 0x0042}));
  const Bytes dropped = {0x7F, 0x21, 0x23, 0x21, 0x24, 0x21, 0x00};
  EXPECT_EQ(toNative(kJapanese, dropped, 6), (Elements{0x2400}));
}

TEST(Version5Stream, FromNativeStrings) {
  struct Case { Elements string; uint32_t size; Bytes stream; };
  const Elements mixed = {0x0041, 0x0129, 0x0042, 0x0B3E, 0x0043};
  const std::vector<Case> cases = {
      {mixed, 0, {}}, {mixed, 1, {0x00}}, {mixed, 3, {0x41, 0x42, 0x00}}, {mixed, 6, {0x41, 0x42, 0x43, 0x00}},
      // An extended character needs more than its 4 bytes of room.
      {{0x0129}, 5, {0x00}}, {{0x0129}, 6, {0xC0, 0x29, 0x01, 0xC0, 0x00}},
      {mixed, 0x10007, {0x41, 0xC0, 0x29, 0x01, 0xC0, 0x42, 0x00}},  // low 16 bits
      {mixed, 100, {0x41, 0xC0, 0x29, 0x01, 0xC0, 0x42, 0xC0, 0x3E, 0x0B, 0xC0, 0x43, 0x00}},
      // Functions and attributes dropped; set-0 codes written as they stand.
      {{0xF90A, 0x0041, 0xFE01, 0xFFFF, 0x000A, 0x0100}, 100, {0x41, 0x0A, 0xC0, 0x00, 0x01, 0xC0, 0x00}},
  };
  for (const Case &c : cases) EXPECT_EQ(toVersion5(c.string, c.size), c.stream) << "size " << c.size;
  // Characters of every kind come back through the reader.
  const Elements string = {0x0041, 0x0129, 0x0B3E, 0x0020, 0x007E, 0x2400, 0x0100, 0x0C80, 0xDEFE};
  const Bytes stream = toVersion5(string, 1024);
  EXPECT_EQ(toNative(kSingle, stream), string);
}

// One item of every kind: accepted up to its terminator; cut anywhere,
// reported at the start of the item cut.
TEST(Version5Validator, TruncatedAtEveryLength) {
  for (bool doubleByte : {false, true}) {
    const Bytes letter = doubleByte ? Bytes{0x21, 0x41} : Bytes{0x41};
    Bytes longFunction = {0xFF, 0x00, 0x2C, 0x01};  // 300 data bytes
    longFunction.resize(304, 0x00);
    std::vector<Bytes> items = {letter, {0x0A}, {0x85}, {0xC0, 0x00, 0x01, 0xC0}, {0xC3, 0x00, 0xC3},
                                {0xC4, 0xC4, 0xC4}, {0xC1, 0x00, 0xC1}, {0xCF, 0x00, 0x00, 0xCF},
                                {0xD0, 0x00, 0x00, 0x00}, longFunction, {0xE7, 0x00, 0x02, 0x00, 0xC0, 0xC0}};
    if (doubleByte) items.insert(items.end(), {{0x20}, {0x23, 0x21}, {0x7F, 0x7E}});
    items.push_back(letter);
    Bytes whole;
    std::vector<std::size_t> starts;
    for (const Bytes &item : items) {
      starts.push_back(whole.size());
      whole.insert(whole.end(), item.begin(), item.end());
    }
    starts.push_back(whole.size());
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
      const Bytes bytes(whole.begin(), whole.begin() + cut);  // exactly `cut` bytes on the heap
      EXPECT_EQ(firstIncompleteVersion5Item(bytes.data(), bytes.size(), doubleByte),
                *(std::upper_bound(starts.begin(), starts.end(), cut) - 1))
          << "cut " << cut << (doubleByte ? " double-byte" : "");
    }
    whole.insert(whole.end(), {0x00, 0xC0, 0xD0});
    EXPECT_EQ(firstIncompleteVersion5Item(whole.data(), whole.size(), doubleByte), std::nullopt);
  }
}

}  // namespace
