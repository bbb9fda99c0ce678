// Invariants of the generated native character tables, checked over the
// whole tables: what the conversions of the character model rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "charset/native_tables.h"

namespace {

using qstr::charset::kForwardTables;
using qstr::charset::kReverseTable;
using qstr::charset::kReverseTableSize;
using qstr::charset::ReverseEntry;

// Forward value of a native character, if its set has a table holding it.
std::optional<uint16_t> forward(uint16_t native) {
  unsigned set = native >> 8, code = native & 0xFF;
  if (set >= qstr::charset::kTableSetCount) return std::nullopt;
  const auto &table = kForwardTables[set];
  if (table.values == nullptr || code >= table.length) return std::nullopt;
  return table.values[code];
}

// The native character the reverse table names for a Unicode value.
std::optional<uint16_t> reverse(uint16_t unicode) {
  const ReverseEntry *end = kReverseTable + kReverseTableSize;
  const ReverseEntry *it = std::lower_bound(
      kReverseTable, end, unicode, [](const ReverseEntry &e, uint16_t u) { return e.unicode < u; });
  if (it == end || it->unicode != unicode) return std::nullopt;
  return it->native;
}

// Set lengths; every entry a mapping (not 0, 0xFFFF or a surrogate); the
// half-width katakana in Unicode's order.
TEST(ForwardTables, LengthsAndEntries) {
  const uint16_t lengths[15] = {0, 242, 145, 88, 102, 255, 238, 229, 219, 123, 250, 63, 0, 196, 220};
  unsigned total = 0;
  for (unsigned set = 0; set < 15; ++set) {
    const auto &table = kForwardTables[set];
    EXPECT_EQ(table.length, lengths[set]) << "set " << set;
    EXPECT_EQ(table.values == nullptr, lengths[set] == 0) << "set " << set;
    total += table.length;
    for (unsigned code = 0; code < table.length; ++code) {
      const uint16_t v = table.values[code];
      EXPECT_TRUE(v != 0 && v != 0xFFFF && (v < 0xD800 || v > 0xDFFF)) << "set " << set << " code " << code;
      if (set == 11) EXPECT_EQ(v, 0xFF61 + code) << "code " << code;
    }
  }
  EXPECT_EQ(total, 2370u);
}

// Strictly ascending from the no-break space to the last katakana, and a
// carrier named for every forward value above U+009F.
TEST(ReverseTable, AscendingAndNamesACarrierOfEveryForwardValue) {
  EXPECT_EQ(kReverseTable[0].unicode, 0x00A0);
  EXPECT_EQ(kReverseTable[kReverseTableSize - 1].unicode, 0xFF9F);
  for (std::size_t i = 1; i < kReverseTableSize; ++i) {
    EXPECT_LT(kReverseTable[i - 1].unicode, kReverseTable[i].unicode) << "index " << i;
  }
  for (unsigned set = 0; set < 15; ++set) {
    for (unsigned code = 0; code < kForwardTables[set].length; ++code) {
      const uint16_t v = kForwardTables[set].values[code];
      if (v <= 0x9F) continue;
      const std::optional<uint16_t> n = reverse(v);
      ASSERT_TRUE(n.has_value()) << std::hex << "U+" << v << " of set " << set << " code " << code;
      EXPECT_EQ(forward(*n), v) << std::hex << "U+" << v << " names 0x" << *n;
    }
  }
}

// Entries whose native character does not carry the key: presentation forms
// and look-alikes onto sets 4, 5, 6 and 13, and the three raw bytes of set 12.
TEST(ReverseTable, AdditionalEntriesLandOnExistingCharacters) {
  unsigned additional = 0;
  for (const ReverseEntry &e : kReverseTable) {
    unsigned set = e.native >> 8;
    if (set == 12) {
      EXPECT_TRUE((e.unicode == 0x00A0 && e.native == 0x0CA0) || (e.unicode == 0x00A6 && e.native == 0x0C7C) ||
                  (e.unicode == 0x00AD && e.native == 0x0C2D))
          << std::hex << "U+" << e.unicode << " -> 0x" << e.native;
      ++additional;
      continue;
    }
    std::optional<uint16_t> v = forward(e.native);
    ASSERT_TRUE(v.has_value()) << std::hex << "U+" << e.unicode << " names no character: 0x" << e.native;
    if (*v == e.unicode) continue;
    ++additional;
    EXPECT_TRUE(set == 4 || set == 5 || set == 6 || set == 13) << std::hex << "U+" << e.unicode << " -> 0x" << e.native;
    if (set == 13) EXPECT_TRUE(e.unicode >= 0xFB50) << std::hex << "U+" << e.unicode << " is not a presentation form";
  }
  EXPECT_GT(additional, 3u);
}

TEST(NativeTables, TellingRows) {
  struct Row { uint16_t native, unicode; };
  const std::vector<Row> both = {
      {0x0100, 0x0300}, {0x0129, 0x00E9}, {0x0200, 0x02B9}, {0x0300, 0x2591}, {0x0403, 0x2022},
      {0x0448, 0x20AC}, {0x0500, 0x2661}, {0x0600, 0x2212}, {0x0700, 0x2320}, {0x0800, 0x0391},
      {0x0801, 0x03B1}, {0x0900, 0x05D0}, {0x0A00, 0x0410}, {0x0A01, 0x0430}, {0x0B00, 0xFF61},
      {0x0B3E, 0xFF9F},
      // characters that the code page data and the host conversions name
      {0x0401, 0x25CB}, {0x0405, 0x00B6}, {0x040C, 0x00A5}, {0x0418, 0x00A4}, {0x0456, 0x20A9},
      {0x050C, 0x2302}, {0x010B, 0x02BC}, {0x0204, 0x02BD}, {0x0626, 0x203E}, {0x0808, 0x0394},
      // letters that the collation contractions expand or join
      {0x0125, 0x00E6}, {0x01A7, 0x0153}, {0x0117, 0x00DF}, {0x018B, 0x0133}, {0x0197, 0x0140},
      {0x0101, 0x00B7},
  };
  for (const Row &r : both) {
    EXPECT_EQ(forward(r.native), r.unicode) << std::hex << "0x" << r.native;
    EXPECT_EQ(reverse(r.unicode), r.native) << std::hex << "U+" << r.unicode;
  }
  // The raw bytes of set 12 that other Unicode values land on.
  EXPECT_EQ(reverse(0x00A0), 0x0CA0);
  EXPECT_EQ(reverse(0x00A6), 0x0C7C);
  EXPECT_EQ(reverse(0x00AD), 0x0C2D);
  EXPECT_EQ(reverse(0x009F), std::nullopt);
  EXPECT_EQ(forward(0x01F2), std::nullopt);  // one past set 1
}

// The glyphs that the DOS code pages show for control codes 1-31 are all
// native characters, each a different one.
TEST(NativeTables, ControlCodeGlyphsAreDistinctCharacters) {
  std::vector<uint16_t> natives;
  for (uint16_t glyph : {0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642,
                         0x2640, 0x266A, 0x266C, 0x263C, 0x25B8, 0x25C2, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC,
                         0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x2319, 0x2194, 0x25B4, 0x25BE}) {
    const std::optional<uint16_t> n = reverse(glyph);
    ASSERT_TRUE(n.has_value()) << std::hex << "U+" << glyph;
    natives.push_back(*n);
  }
  ASSERT_EQ(natives.size(), 31u);
  std::sort(natives.begin(), natives.end());
  EXPECT_EQ(std::adjacent_find(natives.begin(), natives.end()), natives.end());
}

// Simple lower-case mapping of the Unicode blocks that the case ranges use,
// written from the block layouts; 0 for a value it does not cover.
uint16_t lowerOf(uint16_t u) {
  auto evenPair = [u](uint16_t first, uint16_t last) { return u >= first && u <= last && u % 2 == 0; };
  auto oddPair = [u](uint16_t first, uint16_t last) { return u >= first && u <= last && u % 2 == 1; };
  if ((u >= 0x41 && u <= 0x5A) || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return u + 0x20;
  if (u == 0x0178) return 0x00FF;
  if (evenPair(0x0100, 0x0137) || oddPair(0x0139, 0x0148) || evenPair(0x014A, 0x0177) || oddPair(0x0179, 0x017E) ||
      u == 0x01A0 || u == 0x01AF || oddPair(0x01CD, 0x01DC) || evenPair(0x01DE, 0x01EF) || u == 0x01F4 ||
      evenPair(0x01F8, 0x021F) || evenPair(0x1E00, 0x1EFF))
    return u + 1;
  if (u >= 0x0391 && u <= 0x03AB && u != 0x03A2) return u + 0x20;
  if (u == 0x0386) return 0x03AC;
  if (u >= 0x0388 && u <= 0x038A) return u + 0x25;
  if (u == 0x038C) return 0x03CC;
  if (u == 0x038E || u == 0x038F) return u + 0x3F;
  if (u >= 0x0400 && u <= 0x040F) return u + 0x50;
  if (u >= 0x0410 && u <= 0x042F) return u + 0x20;
  if (evenPair(0x0460, 0x0481) || evenPair(0x048A, 0x04BF) || oddPair(0x04C1, 0x04CE) || evenPair(0x04D0, 0x04FF))
    return u + 1;
  return 0;
}

TEST(NativeTables, CaseRangesHoldUpperLowerPairs) {
  struct Range { unsigned set, first, last; };
  // Pairs that follow a language rather than Unicode's mapping.
  const std::vector<uint16_t> languagePairs = {
      0x0182,  // Turkish capital dotted I with the plain small i
      0x01EE,  // plain capital I with the Turkish dotless small i
      0x0804,  // capital beta with the curled beta
      0x0826,  // capital sigma with the final sigma
  };
  for (Range r : {Range{1, 0x1A, 0xF1}, Range{8, 0x00, 0x45}, Range{10, 0x00, 0xC7}}) {
    for (unsigned code = r.first; code < r.last; code += 2) {
      uint16_t upper = kForwardTables[r.set].values[code], lower = kForwardTables[r.set].values[code + 1];
      uint16_t native = uint16_t(r.set << 8 | code);
      EXPECT_NE(upper, lower) << std::hex << "0x" << native;
      if (std::find(languagePairs.begin(), languagePairs.end(), native) != languagePairs.end()) continue;
      EXPECT_EQ(lowerOf(upper), lower) << std::hex << "0x" << native << ": U+" << upper << " / U+" << lower;
    }
  }
}

}  // namespace
