// Version-5 numbering and streams: natives renumbered both ways, streams read, written and validated.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "asian/country_scope.h"
#include "base/no_mapping.h"
#include "charset/version5_items.h"
#include "qstr14/version5.h"
#include "support/host_profile.h"

namespace {

using namespace std::string_literals;
using qstr::charset::version5::firstIncompleteVersion5Item;
using qstr::test::ScopedCountry;

constexpr uint16_t kNone = qstr::base::kNoMapping;
constexpr uint16_t kUntouched = 0xABCD;  // guard in the second result

// QtpiQX5toQX6's count and two results.
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
      {0x0A44, 0x0A46}, {0x0B04, 0x061F}, {0x0D25, 0x0DAB}, {0x2400, 0x2400},
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

// Per set: codes without a counterpart, codes coming back otherwise, the first such and its result.
TEST(Version5Mapping, RenumberedSetsRoundTrip) {
  using Summary = std::tuple<int, int, uint16_t, uint16_t>;
  const std::vector<std::tuple<unsigned, unsigned, Summary>> sets = {
      {1, 242, {8, 0, 0, 0}}, {2, 145, {14, 0, 0, 0}}, {5, 255, {7, 0, 0, 0}}, {8, 219, {0, 9, 0x084B, 0x0827}},
      {9, 123, {0, 4, 0x0977, 0x097B}}, {10, 250, {44, 0, 0, 0}}, {11, 63, {0, 1, 0x0B04, 0x061F}},
      {13, 196, {0, 17, 0x0DA1, 0x0D9D}}};
  ScopedCountry western(0);
  for (const auto &[set, size, expected] : sets) {
    Summary got = {0, 0, 0, 0};
    auto &[missing, otherwise, firstNative, firstBack] = got;
    for (unsigned code = 0; code < size; ++code) {
      const uint16_t native = static_cast<uint16_t>(set << 8 | code), old = QtpiQX6toQX5(native);
      const uint16_t first = std::get<1>(back(old));
      if (old == kNone) {
        ++missing;
        continue;
      }
      EXPECT_EQ(back(old), (Back{1, first, kUntouched})) << std::hex << native;
      if (first != native && ++otherwise == 1) {
        firstNative = native;
        firstBack = first;
      }
    }
    EXPECT_EQ(got, expected) << set;
  }
}

// Set 11 is kept under the Japanese country ID, else renumbered: version 5 holds the kana twice
// (0x00-0x52, 0x64-0xB6), voiced ones as a base and a mark.
TEST(Version5Mapping, Set11DependsOnTheCountryId) {
  for (const uint8_t countryId : {0, 4, 1}) {
    ScopedCountry country(countryId);
    std::u16string voiced, semiVoiced;  // bases followed by the mark 0x0B3D or 0x0B3E
    for (uint16_t ch = 0x0B00; ch <= 0x0BFF; ++ch) {
      const auto [count, first, second] = back(ch);
      if (countryId == 1) {
        EXPECT_EQ(QtpiQX6toQX5(ch), ch);
        EXPECT_EQ(back(ch), (Back{1, ch, ch}));
        continue;
      }
      if (ch > 0x0B3E) EXPECT_EQ(QtpiQX6toQX5(ch), kNone) << std::hex << ch;
      if (ch > 0x0BBB) EXPECT_EQ(back(ch), (Back{1, ch, kUntouched}));
      if (ch > 0x0B52) continue;
      EXPECT_EQ(back(ch + 0x64), back(ch)) << std::hex << ch;
      if (count == 2) (second == 0x0B3D ? voiced : semiVoiced).push_back(first);
    }
    if (countryId == 1) continue;
    EXPECT_EQ(voiced, u"\u0B08\u0B15\u0B16\u0B17\u0B18\u0B19\u0B1A\u0B1B\u0B1C\u0B1D\u0B1E\u0B1F\u0B20\u0B21"
                      u"\u0B22\u0B23\u0B29\u0B2A\u0B2B\u0B2C\u0B2D");  // u, the ka, sa, ta and ha rows
    EXPECT_EQ(semiVoiced, u"\u0B29\u0B2A\u0B2B\u0B2C\u0B2D");
  }
}

const uint8_t *bytes(const std::string &stream) { return reinterpret_cast<const uint8_t *>(stream.c_str()); }

// Q5dzTowz with double-byte support off or on (script < 0), or lQ5CdzTowz with a script.
struct Reader { bool doubleByte; int script; };
constexpr Reader kSingle{false, -1}, kJapanese{true, -1}, kSimplified{true, 0}, kTraditional{true, 0x83};

// What a reader writes before the terminator, checked to be terminated within `size` bytes.
std::u16string toNative(Reader reader, const std::string &stream, uint32_t size = 1024) {
  const std::size_t capacity = (size & 0xFFFF) / 2;
  std::vector<uint16_t> dst(capacity + 8, 0xAAAA);
  if (reader.script >= 0) {
    EXPECT_EQ(lQ5CdzTowz(bytes(stream), dst.data(), size, static_cast<uint32_t>(reader.script)), dst.data());
  } else {
    qstr::test::ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_DBCS", reader.doubleByte ? "1" : "0"}});
    EXPECT_EQ(Q5dzTowz(bytes(stream), dst.data(), size), dst.data());
  }
  std::u16string out(dst.begin(), std::find(dst.begin(), dst.end(), 0xAAAA));
  EXPECT_LE(out.size(), capacity);
  if (capacity > 0 && (out.empty() || out.back() != 0)) ADD_FAILURE() << "no terminator";
  if (!out.empty()) out.pop_back();
  return out;
}

// Reading stops at the first incomplete item, the one the validator reports.
TEST(Version5Stream, ItemsBecomeElements) {
  struct Case { Reader reader; std::string stream; std::u16string native; std::optional<std::size_t> incomplete; };
  const std::vector<Case> cases = {
      {kSingle, "A\xC3\x05\xC3" "B\n", u"A\uFE0AB\uF90A", {}},
      {kSingle, "\x01\t\x0C\x0B\r\x1F\x80\xBF \x7F", u"\uF90C\uF90D \x7F", {}},
      {kSingle, "\xC3\x80\xC3\xC4\xFF\xC4\xC4\0\xC4"s, u"\uFE00\uFEFF\uFE01", {}},
      {kSingle, "\xC0\x18\x01\xC0\xC0\0\x01\xC0\xC0" "A\0\xC0"s, u"\u0118\u0100A", {}},
      {kSingle, "\xD0\0\0\0A\xFF\xC0\x03\0\0\xC0" "AB"s, u"AB", {}},
      {kSingle, "A\xC1\0\xC1\xC2\0\0\xC2\xC5" "A\xC0\xC5\xCF\xCF\xCF" "B"s, u"AB", {}},
      {kJapanese, "\x23\x21\x24\x21", u"\u2400\u245E", {}},
      {kJapanese, "\x20\x21" "A\x22\x21\x22\x5F\x7D\x21\x7E\x7E", u" A\u0B00\u0B3E\u5100\u51BB", {}},
      {kJapanese, "\x7F\x21\n\xC3\x01\xC3\x80\xC0\x29\x01\xC0", u"\uF90A\uFE02\u0129", {}},
      {kSimplified, "\x22\x21\x24\x64\x7F\x7E\x21" "A ", u"\u8200\u8300\uA4A5A ", {}},
      {kTraditional, "\x22\x21\x24\x64", u"\uA500\uA600", {}},
      {kSingle, "AB\xC3\x05\xC4\0"s, u"AB", 2}, {kJapanese, "\x20\x21" "A\x23", u" A", 3},
      {kSingle, "A\xC5\x01\x02\x03", u"A", 1},  // a fixed-length function holds at most 2 data bytes
  };
  for (const Case &c : cases) {
    EXPECT_EQ(toNative(c.reader, c.stream), c.native);
    EXPECT_EQ(firstIncompleteVersion5Item(bytes(c.stream), c.stream.size() + 1, c.reader.doubleByte), c.incomplete)
        << testing::PrintToString(c.stream);
  }
  // A variable-length function longer than the stream; the readers stop at the terminator.
  EXPECT_EQ(firstIncompleteVersion5Item(bytes("A\xD0\0\x05\0\x01"s), 7, false), 1u);
  EXPECT_EQ(firstIncompleteVersion5Item(nullptr, 0, false), 0u);
}

// Every size (low 16 bits) gives a terminated prefix; functions take no room, a dropped 0x7F pair one.
TEST(Version5Stream, RoomCountedInElements) {
  const std::string stream = "A\xC3\x05\xC3\n\x85\xC0\x29\x01\xC0\xC6\x07\xC6" "B\xE0\0\x02\0AA\rC"s;
  const std::u16string whole = toNative(kSingle, stream);
  ASSERT_EQ(whole, u"A\uFE0A\uF90A\u0129B\uF90DC");
  for (uint32_t size = 0; size <= 2 * whole.size() + 6; ++size) {
    const std::size_t room = size / 2 == 0 ? 0 : size / 2 - 1;
    EXPECT_EQ(toNative(kSingle, stream, size), whole.substr(0, room)) << size;
    EXPECT_EQ(toNative(kSingle, stream, 0x10000 + size), whole.substr(0, room)) << size;
  }
  EXPECT_EQ(toNative(kJapanese, "\x7F\x21\x23\x21\x24\x21", 6), u"\u2400");
}

// The bytes QwzTo5dz stores, terminator included.
std::string toVersion5(const std::u16string &string, uint32_t size) {
  std::vector<uint16_t> source(string.begin(), string.end());
  source.push_back(0);
  std::string dst((size & 0xFFFF) + 8, '\xAA');
  uint8_t *const out = reinterpret_cast<uint8_t *>(dst.data());
  EXPECT_EQ(QwzTo5dz(source.data(), out, size), out);
  dst.resize(dst.find('\xAA'));
  EXPECT_LE(dst.size(), size & 0xFFFF);
  return dst;
}

TEST(Version5Stream, FromNativeStrings) {
  const std::u16string mixed = u"A\u0129B\u0B3EC";
  const std::vector<std::tuple<std::u16string, uint32_t, std::string>> cases = {
      {mixed, 0, ""}, {mixed, 1, "\0"s}, {mixed, 6, "ABC\0"s},
      {u"\u0129", 5, "\0"s}, {u"\u0129", 6, "\xC0\x29\x01\xC0\0"s},  // the terminator needs room too
      {mixed, 0x10007, "A\xC0\x29\x01\xC0" "B\0"s},
      {mixed, 100, "A\xC0\x29\x01\xC0" "B\xC0\x3E\x0B\xC0" "C\0"s},
      // Functions and attributes dropped; set-0 codes written as they stand.
      {u"\uF90A" "A\uFE01\uFFFF\n\u0100", 100, "A\n\xC0\0\x01\xC0\0"s},
  };
  for (const auto &[string, size, stream] : cases) EXPECT_EQ(toVersion5(string, size), stream) << size;
  const std::u16string string = u"A\u0129\u0B3E ~\u2400\u0100\u0C80\xDEFE";
  EXPECT_EQ(toNative(kSingle, toVersion5(string, 1024)), string);
}

// One item of every kind, cut anywhere: reported at the start of the item cut.
TEST(Version5Validator, TruncatedAtEveryLength) {
  for (bool doubleByte : {false, true}) {
    const std::string letter = doubleByte ? "\x21\x41" : "A";
    std::vector<std::string> items = {letter, "\n", "\x85", "\xC0\0\x01\xC0"s, "\xC3\0\xC3"s, "\xC4\xC4\xC4",
                                      "\xC1\0\xC1"s, "\xCF\0\0\xCF"s, "\xD0\0\0\0"s,
                                      "\xFF\0\x2C\x01"s + std::string(300, '\0'),
                                      "\xE7\0\x02\0\xC0\xC0"s};
    if (doubleByte) items.insert(items.end(), {" ", "\x23\x21", "\x7F\x7E"});
    items.push_back(letter);
    std::string whole;
    std::vector<std::size_t> starts;
    for (const std::string &item : items) {
      starts.push_back(whole.size());
      whole += item;
    }
    starts.push_back(whole.size());
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
      const std::vector<uint8_t> cutBytes(whole.begin(), whole.begin() + cut);  // so a read past shows
      EXPECT_EQ(firstIncompleteVersion5Item(cutBytes.data(), cut, doubleByte),
                *(std::upper_bound(starts.begin(), starts.end(), cut) - 1))
          << cut << " " << doubleByte;
    }
    whole += "\0\xC0\xD0"s;
    EXPECT_EQ(firstIncompleteVersion5Item(bytes(whole), whole.size(), doubleByte), std::nullopt);
  }
}

}  // namespace
