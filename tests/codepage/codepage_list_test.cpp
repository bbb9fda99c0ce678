// The supported code page list and its tables: the rows, their ranges and
// reverse counts, the reverse tables against the range tables, every code
// through a record and back, and the public pages against the system's
// charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "codepage/codepage_list.h"
#include "host/host.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"
#include "support/machine.h"

namespace {

using qstr::codepage::codepageList;
using qstr::codepage::kCodepageListRows;
using qstr::test::ScopedProfile;

constexpr uint16_t kHouse = 0x050C;
constexpr unsigned kRawByteSet = 12;

struct ListRow {
  uint32_t product;
  uint32_t windows;
  bool low;  // a range table for the control codes 1-31
  uint8_t first;
  uint8_t last;
  uint16_t reverseEntries;
};

// The list, row by row.
const std::vector<ListRow> kRows = {
    {10001, 10001, true, 128, 255, 155}, {333, 333, true, 127, 254, 159},   {437, 437, true, 127, 254, 159},
    {708, 708, true, 127, 254, 146},     {710, 710, true, 127, 254, 159},   {737, 737, true, 127, 254, 159},
    {775, 775, true, 127, 254, 155},     {850, 850, true, 127, 254, 155},   {851, 851, true, 127, 254, 156},
    {8510, 8510, true, 127, 254, 156},   {852, 852, true, 127, 254, 157},   {853, 853, true, 127, 254, 150},
    {855, 855, true, 127, 254, 157},     {857, 857, true, 127, 254, 152},   {860, 860, true, 127, 254, 159},
    {8600, 8600, true, 127, 254, 159},   {8601, 8601, true, 127, 254, 159}, {861, 861, true, 127, 254, 159},
    {862, 862, true, 127, 254, 159},     {863, 863, true, 127, 254, 156},   {864, 864, true, 127, 254, 149},
    {865, 865, true, 127, 254, 159},     {866, 866, true, 127, 254, 159},   {8660, 8660, true, 127, 254, 159},
    {869, 869, true, 127, 254, 147},     {895, 895, true, 127, 254, 159},   {896, 896, true, 127, 254, 158},
    {897, 897, true, 127, 254, 158},     {932, 932, false, 161, 223, 63},   {1004, 1004, false, 128, 255, 120},
    {1250, 1250, false, 128, 255, 120},  {1251, 1251, false, 128, 255, 124}, {1252, 1252, false, 128, 255, 120},
    {1253, 1253, false, 128, 255, 108},  {1254, 1254, false, 128, 255, 118}, {1255, 1255, false, 128, 255, 99},
    {1256, 1256, false, 128, 255, 119},  {1257, 1257, false, 128, 255, 113}, {1258, 1258, false, 128, 255, 114},
    {18851, 28591, false, 127, 255, 93}, {18852, 28592, false, 127, 255, 94}, {18856, 28596, false, 127, 255, 49},
    {18857, 28597, false, 127, 255, 87}, {18858, 28598, false, 127, 255, 55}, {19000, 19000, false, 127, 255, 108},
    {19001, 19001, false, 127, 255, 45},
};

// What the PC shows for the control codes 1-31, as Unicode.
constexpr uint16_t kPcGlyphs[31] = {
    0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642,
    0x2640, 0x266A, 0x266C, 0x263C, 0x25B8, 0x25C2, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC,
    0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x2319, 0x2194, 0x25B4, 0x25BE};

const CODEPAGERANGE *lowTable(uint32_t page) { return static_cast<const CODEPAGERANGE *>(QcvtFindCPTable(page, 0)); }
const CODEPAGERANGE *highTable(uint32_t page) { return static_cast<const CODEPAGERANGE *>(QcvtFindCPTable(page, 1)); }
const CODEPAGEREVERSE *reverseTable(uint32_t page) {
  return static_cast<const CODEPAGEREVERSE *>(QcvtFindCPTable(page, 2));
}

// The tables are packed: their fields are read by value, never bound to a
// reference.
uint16_t entryOf(const CODEPAGERANGE *table, unsigned code) { return table->entries[code - table->first]; }

// (code, native character) of both range tables of a page, codes ascending.
std::vector<std::pair<unsigned, uint16_t>> rangeEntries(uint32_t page) {
  std::vector<std::pair<unsigned, uint16_t>> entries;
  for (const CODEPAGERANGE *table : {lowTable(page), highTable(page)}) {
    if (table == nullptr) continue;
    for (unsigned code = table->first; code <= table->last; ++code) entries.emplace_back(code, entryOf(table, code));
  }
  return entries;
}

// (native character, code) of a reverse table, in table order.
std::vector<std::pair<uint16_t, unsigned>> reverseEntries(uint32_t page) {
  const CODEPAGEREVERSE *table = reverseTable(page);
  std::vector<std::pair<uint16_t, unsigned>> entries;
  const unsigned count = table->count;
  for (unsigned i = 0; i < count; ++i) {
    const uint16_t native = table->entries[i].native;
    entries.emplace_back(native, table->entries[i].code);
  }
  return entries;
}

bool reversible(uint16_t native) {
  const unsigned set = native >> 8;
  return set != 0 && set != kRawByteSet;
}

TEST(CodepageList, RowsNumbersAndRanges) {
  ASSERT_EQ(kCodepageListRows, kRows.size());
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const ListRow &want = kRows[i];
    const auto &row = codepageList[i];
    SCOPED_TRACE(want.product);
    EXPECT_EQ(uint32_t{row.productCodepage}, want.product);
    EXPECT_EQ(uint32_t{row.windowsCodepage}, want.windows);
    EXPECT_EQ(QcvtQXCodepageToWinCodepage(want.product), want.windows);
    EXPECT_EQ(QcvtWinCodepageToQXCodepage(want.windows), want.product);
    EXPECT_EQ(QcvtFindCPTable(want.product, 0), row.lowTable);
    EXPECT_EQ(QcvtFindCPTable(want.product, 1), row.highTable);
    EXPECT_EQ(QcvtFindCPTable(want.product, 2), row.reverseTable);
    ASSERT_NE(row.highTable, nullptr);
    ASSERT_NE(row.reverseTable, nullptr);
    EXPECT_EQ(row.highTable->first, want.first);
    EXPECT_EQ(row.highTable->last, want.last);
    EXPECT_EQ(uint16_t{row.reverseTable->count}, want.reverseEntries);
    ASSERT_EQ(row.lowTable != nullptr, want.low);
    if (want.low) {
      EXPECT_EQ(row.lowTable->first, 1);
      EXPECT_EQ(row.lowTable->last, 31);
    }
  }
}

// Every DOS row shows the PC glyphs for the control codes and the house for
// 0x7F; 333 alone has control-code glyphs of its own.
TEST(CodepageList, DosRowsShareThePcGlyphs) {
  for (const ListRow &row : kRows) {
    if (!row.low) continue;
    SCOPED_TRACE(row.product);
    const CODEPAGERANGE *low = lowTable(row.product);
    int differing = 0;
    for (unsigned code = 1; code <= 31; ++code) {
      differing += KZcharQX6xToUnicode(entryOf(low, code)) != kPcGlyphs[code - 1];
    }
    EXPECT_EQ(differing != 0, row.product == 333) << differing << " glyphs differ";
    if (row.product != 333) EXPECT_EQ(low, lowTable(437));
    const CODEPAGERANGE *high = highTable(row.product);
    if (high->first == 0x7F) EXPECT_EQ(entryOf(high, 0x7F), kHouse);
  }
  EXPECT_EQ(entryOf(lowTable(437), 9), 0x0401);
  EXPECT_EQ(entryOf(lowTable(850), 20), 0x0405);
}

// The reverse table inverts the range tables: sorted strictly ascending, no
// set 0 or 12 characters, and for each native character the highest code
// that maps to it.
TEST(CodepageList, ReverseTablesInvertTheRangeTables) {
  for (const ListRow &row : kRows) {
    SCOPED_TRACE(row.product);
    std::map<uint16_t, unsigned> highest;
    for (auto [code, native] : rangeEntries(row.product)) {
      if (reversible(native)) highest[native] = code;
    }
    const auto reverse = reverseEntries(row.product);
    ASSERT_EQ(reverse.size(), highest.size());
    auto expected = highest.begin();
    for (std::size_t i = 0; i < reverse.size(); ++i, ++expected) {
      const auto [native, code] = reverse[i];
      if (i > 0) EXPECT_LT(reverse[i - 1].first, native) << i;
      EXPECT_TRUE(reversible(native)) << std::hex << native;
      EXPECT_EQ(native, expected->first) << i;
      EXPECT_EQ(code, expected->second) << std::hex << native;
    }
  }
  const auto reverse850 = reverseEntries(850);
  auto pilcrow = std::find_if(reverse850.begin(), reverse850.end(), [](auto entry) { return entry.first == 0x0405; });
  ASSERT_NE(pilcrow, reverse850.end());
  EXPECT_EQ(pilcrow->second, 0xF4u);  // not the control code 0x14 that shows it too
}

// Codes that convert to a character of set 0 or 12 under another byte, and
// so come back as that byte: code → native character, by page.
using Codes = std::map<unsigned, uint16_t>;
const Codes kBarDash = {{0xA6, 0x007C}, {0xAD, 0x002D}}, kDashF0 = {{0xF0, 0x002D}}, kDashAD = {{0xAD, 0x002D}};
const std::map<uint32_t, Codes> kIrreversible = {
    {10001, {{0xCA, 0x0CA0}}}, {775, {{0xA7, 0x007C}, {0xF0, 0x002D}}}, {850, {{0xDD, 0x007C}, {0xF0, 0x002D}}},
    {851, kDashF0}, {8510, kDashF0}, {852, kDashF0}, {853, kDashF0}, {855, kDashF0},
    {857, {{0xDD, 0x007C}, {0xF0, 0x002D}}}, {863, {{0xA0, 0x007C}}}, {864, {{0xA1, 0x002D}, {0xDB, 0x007C}}},
    {869, {{0x8A, 0x007C}, {0xF0, 0x002D}}}, {18852, kDashAD}, {18856, kDashAD},
    {1004, kBarDash}, {1250, kBarDash}, {1251, kBarDash}, {1252, kBarDash}, {1253, kBarDash}, {1254, kBarDash},
    {1255, kBarDash}, {1256, kBarDash}, {1257, kBarDash}, {1258, kBarDash}, {18851, kBarDash}, {18857, kBarDash},
    {18858, kBarDash}, {19000, kBarDash},
};

// Every code of every row goes to a native character through a record
// loaded with the row and back to itself, or to the highest code of the
// codes sharing its native character; the irreversible codes come back as
// the byte of their native character.
TEST(CodepageList, EveryCodeRoundTripsThroughARecord) {
  ScopedProfile singleByte({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
  for (const ListRow &row : kRows) {
    SCOPED_TRACE(row.product);
    CODEPAGETBL record{};
    QcvtSetCodepage(static_cast<int32_t>(row.product), 3, &record);
    ASSERT_EQ(record.highTable, highTable(row.product));
    std::map<uint16_t, unsigned> highest;
    for (auto [code, native] : rangeEntries(row.product)) highest[native] = code;
    const auto found = kIrreversible.find(row.product);
    const Codes exceptions = found == kIrreversible.end() ? Codes{} : found->second;
    for (auto [code, native] : rangeEntries(row.product)) {
      const uint16_t converted = QcvtNtvToQx(&record, code);
      ASSERT_EQ(converted, native) << std::hex << code;
      const uint16_t back = QcvtQxToNtv(&record, converted);
      auto exception = exceptions.find(code);
      if (exception != exceptions.end()) {
        EXPECT_EQ(converted, exception->second) << std::hex << code;
        EXPECT_EQ(back, exception->second & 0xFF) << std::hex << code;
      } else {
        EXPECT_EQ(back, highest[converted]) << std::hex << code << " -> " << converted;
      }
    }
  }
}

// Where a page departs from its chart on purpose: the Unicode value the
// code's native character stands for, or kRaw for a raw byte.
constexpr uint32_t kRaw = 0x10000;
struct ChartedRow {
  uint32_t page;
  uint32_t chart;  // the system code page with the page's characters
  std::vector<std::pair<unsigned, uint32_t>> departures;
  bool presentationForms = false;  // the chart's isolated forms read as the nominal letters
};
const std::vector<ChartedRow> kCharted = {
    {10001, 10000, {{0xA5, 0x2219}, {0xC6, 0x0394}, {0xC9, 0x22EF}, {0xCA, kRaw}, {0xDB, 0x00A4},
                    {0xF6, 0x02C6}, {0xF7, 0x02DC}}},
    {437, 437, {}}, {737, 737, {}}, {775, 775, {}}, {850, 850, {}}, {852, 852, {}}, {855, 855, {}},
    {857, 857, {}}, {860, 860, {}}, {861, 861, {}}, {862, 862, {}}, {863, 863, {}},
    {864, 864, {}, true}, {865, 865, {}}, {866, 866, {}}, {869, 869, {}}, {932, 932, {}},
    {1250, 1250, {}}, {1251, 1251, {}}, {1252, 1252, {}}, {1253, 1253, {}}, {1254, 1254, {}},
    {1255, 1255, {}}, {1256, 1256, {}}, {1257, 1257, {}}, {1258, 1258, {}},
    {18851, 28591, {}}, {18852, 28592, {}}, {18856, 28596, {}},
    {18857, 28597, {{0xA1, 0x02BD}, {0xA2, 0x02BC}, {0xA4, kRaw}, {0xA5, kRaw}, {0xAA, kRaw}}},
    {18858, 28598, {{0xAF, 0x203E}}},
    // Pages without a chart of their own that take one unchanged.
    {851, 851, {}}, {8510, 851, {}}, {8600, 860, {}}, {8601, 860, {}}, {8660, 866, {}},
    {895, 437, {}}, {19000, 1253, {}},
};

// Each high range entry stands for the chart's character, or is a raw byte
// where the chart has no character that a native set carries; U+00A6 and
// U+00AD are written as ASCII, and DOS pages show the house at 0x7F.
TEST(CodepageList, PublicPagesFollowTheirCharts) {
  ScopedProfile western({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
  for (const ChartedRow &row : kCharted) {
    SCOPED_TRACE(row.page);
    const CODEPAGERANGE *high = highTable(row.page);
    const bool dos = lowTable(row.page) != nullptr;
    const std::map<unsigned, uint32_t> departures(row.departures.begin(), row.departures.end());
    for (unsigned code = high->first; code <= high->last; ++code) {
      const uint16_t native = entryOf(high, code);
      const uint8_t byte = static_cast<uint8_t>(code);
      char16_t unit = 0;
      const bool charted = qstr::host::charToUnicode(row.chart, &byte, 1, &unit) == 1 &&
                           !(unit < 0x20 || (unit >= 0x7F && unit <= 0x9F));
      const bool raw = native == ((kRawByteSet << 8) | code);
      auto departure = departures.find(code);
      if (departure != departures.end()) {
        if (departure->second == kRaw) {
          EXPECT_EQ(native >> 8, kRawByteSet) << std::hex << code;
        } else {
          EXPECT_EQ(KZcharQX6xToUnicode(native), departure->second) << std::hex << code;
        }
      } else if (dos && code == 0x7F) {
        EXPECT_EQ(native, kHouse);
      } else if (charted && (unit == 0x00A6 || unit == 0x00AD)) {
        EXPECT_EQ(native, unit == 0x00A6 ? 0x007C : 0x002D) << std::hex << code;
      } else if (raw) {
        // Undefined, or a character that the native sets do not hold.
        const uint16_t carrier = charted ? GetQXCCHARValue(unit) : 0xFFFF;
        EXPECT_TRUE(carrier == 0xFFFF || carrier >> 8 == kRawByteSet) << std::hex << code << " U+" << static_cast<unsigned>(unit);
      } else {
        ASSERT_TRUE(charted) << std::hex << code << " maps to " << native << " but the chart has nothing";
        const uint16_t value = KZcharQX6xToUnicode(native);
        if (row.presentationForms && value != unit) {
          EXPECT_EQ(GetQXCCHARValue(unit), native) << std::hex << code;
        } else {
          EXPECT_EQ(value, unit) << std::hex << code;
        }
      }
    }
  }
}

// The katakana of 932 map onto set 11 in order, and back, on a system
// without double-byte support as on one with it.
TEST(CodepageList, JapaneseHalfWidthKatakana) {
  const CODEPAGERANGE *high = highTable(932);
  for (unsigned code = 161; code <= 223; ++code) EXPECT_EQ(entryOf(high, code), 0x0B00 + code - 161);
  for (const char *dbcs : {"0", "1"}) {
    ScopedProfile profile({{"LANG", "ja_JP"}, {"QSTR14_DBCS", dbcs}});
    CODEPAGETBL record{};
    QcvtSetCodepage(932, 3, &record);
    EXPECT_EQ(QcvtNtvToQx(&record, 0xB1), 0x0B10) << dbcs;
    EXPECT_EQ(QcvtQxToNtv(&record, 0x0B3E), 0xDF) << dbcs;
  }
}

// The library's own records load their tables from the list: a Western
// machine converts with 1252 (ANSI) and 437 (OEM).
TEST(CodepageList, LibraryRecordsConvertThroughTheList) {
  qstr::test::Machine western({{"LANG", "en_US"}});
  struct Case {
    uint16_t(QSTR_CALL *convert)(uint32_t);
    uint32_t input;
    uint16_t output;
  };
  const std::vector<Case> cases = {
      {TpiAnsiToQx, 0x41, 0x41},     {TpiAnsiToQx, 9, 0xF909},      {TpiAnsiToQx, 13, 0xF90D},
      {TpiAnsiToQx, 0, 0xFFFF},      {TpiAnsiToQx, 11, 0xFFFF},     {TpiAnsiToQx, 127, 0xFFFF},
      {TpiAnsiToQx, 0x81, 0x0C81},   {TpiAnsiToQx, 0xA0, 0x0CA0},   {TpiAnsiToQx, 0xE9, 0x0129},
      {TpiAnsiToQx, 0x80, 0x0448},   {TpiOemToQx, 9, 0x0401},       {TpiOemToQx, 0, 0xFFFF},
      {TpiOemToQx, 0x7F, kHouse},    {TpiOemToQx, 0x82, 0x0129},    {TpiGetAnsi, 0x0C9D, 0x9D},
      {TpiGetAnsi, 0xF90A, 10},      {TpiGetAnsi, 0x0129, 0xE9},    {TpiGetAnsi, 0x0401, 0xFFFF},
      {TpiGetOem, 0x0401, 9},        {TpiGetOem, 0x0405, 0x14},     {TpiGetOem, 0x0129, 0x82},
  };
  for (const Case &c : cases) EXPECT_EQ(c.convert(c.input), c.output) << std::hex << c.input;
  uint8_t stream[16] = {};
  EXPECT_EQ(str_AnsiToQx(stream, "A\x81\x7F", sizeof stream), 6u);
  EXPECT_EQ(std::vector<uint8_t>(stream, stream + 6), (std::vector<uint8_t>{0x41, 0xF0, 0x81, 0x0C, 0xF0, 0}));
}

}  // namespace
