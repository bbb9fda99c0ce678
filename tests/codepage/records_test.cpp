// The DOS and Windows code pages chosen and stored, the records loaded from them, single characters through
// a record both ways, and every row of the code page list.
#include <gtest/gtest.h>

#include <map>

#include "base/no_mapping.h"
#include "codepage/codepage_list.h"
#include "codepage/fast_lookup.h"
#include "qstr14/codepage.h"
#include "qstr14/frame.h"
#include "qstr14/strings.h"
#include "registry/ckzkey.h"
#include "support/machine.h"

namespace {

using namespace qstr::codepage;
using qstr::registry::CKZKey;
using qstr::test::Machine;
using qstr::test::ScopedProfile;

constexpr uint32_t kCodePageType = 0x80000002;

void store(const char *name, uint32_t type, const std::vector<uint8_t> &data) {
  CKZKey key(QcvtGetRegistryLoc(), 0x2001F);
  ASSERT_EQ(key.SetValue(name, type, data.data(), static_cast<uint32_t>(data.size()), 0, 1), 0);
}

std::vector<uint8_t> storedWindowsCodePage(uint32_t *type = nullptr) {
  CKZKey key(QcvtGetRegistryLoc(), 0x2001F);
  std::vector<uint8_t> data(16);
  uint32_t size = static_cast<uint32_t>(data.size());
  if (key.QueryValue("Windows Code Page", type, nullptr, data.data(), &size, 0) != 0) return {};
  data.resize(size);
  return data;
}

// A default is not stored; a double-byte system converts both forms with the Windows code page.
TEST(CodePageSelection, DefaultsByCountryThenSystem) {
  struct Case {
    const char *locale;
    uint32_t windows, dos;
  };
  const std::vector<Case> cases = {
      {"ja_JP", 932, 932}, {"ko_KR", 949, 934}, {"zh_TW", 950, 938}, {"zh_CN", 936, 936},
      {"ar_SA", 1256, 710}, {"he_IL", 1255, 862}, {"en_US", 1252, 437}, {"ru_RU", 1251, 866}};
  for (const Case &c : cases) {
    Machine machine({{"LANG", c.locale}});
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(QcvtGetWinCodepage(), c.windows);
    EXPECT_EQ(QcvtGetDOSCodepage(), c.dos);
    EXPECT_TRUE(storedWindowsCodePage().empty());
  }
  Machine machine({{"LANG", "ja_JP"}});
  store("DOS Code Page", kCodePageType, {0xB5, 0x01});  // 437
  TpiSetCodepage();
  EXPECT_EQ(QtpiGetOemCodepageTbl()->toQxCodepage, 932u);
  EXPECT_EQ(QtpiGetAnsiCodepageTbl()->toQxCodepage, 932u);
}

// A stored value counts when two bytes and not 0, a shorter one as the low byte, under the language.
TEST(CodePageSelection, StoredValuesAndTheirLocation) {
  const std::vector<std::pair<std::vector<uint8_t>, uint32_t>> cases = {
      {{0x52, 0x03, 0, 0}, 437}, {{0, 0}, 437}, {{0x52}, 82}};
  for (const auto &[data, dos] : cases) {
    Machine machine({{"LANG", "en_US"}});
    store("DOS Code Page", kCodePageType, data);
    EXPECT_EQ(QcvtGetDOSCodepage(), dos);
  }
  Machine machine({{"LANG", "en_US"}});
  const std::string data = "HKEY_CURRENT_USER\\Software\\Orvane\\Quorvel Flarion\\Conversions\\14\\CodePageData\\";
  EXPECT_EQ(QcvtGetRegistryLoc(), data + "EN");
  QStrSetLanguage("DE");
  EXPECT_EQ(QcvtGetRegistryLoc(), data + "DE");
  store("DOS Code Page", kCodePageType, {0x52, 0x03});
  EXPECT_EQ(QcvtGetDOSCodepage(), 850u);
  QStrSetLanguage("EN");
  EXPECT_EQ(QcvtGetDOSCodepage(), 437u);
}

TEST(CodePageSelection, WindowsCodePageIsCachedUntilStoredUnlessLocked) {
  Machine machine({{"LANG", "en_US"}});
  EXPECT_EQ(QcvtGetWinCodepage(), 1252);
  store("Windows Code Page", kCodePageType, {0xE2, 0x04});  // 1250
  EXPECT_EQ(QcvtGetWinCodepage(), 1252);
  EXPECT_EQ(QcvtSetWinCodepage(0x104E3), 1);  // only the low 16 bits: 1251
  EXPECT_EQ(QcvtGetWinCodepage(), 1251);
  uint32_t type = 0;
  EXPECT_EQ(storedWindowsCodePage(&type), (std::vector<uint8_t>{0xE3, 0x04}));
  EXPECT_EQ(type, kCodePageType);
  store("Windows Code Page", kCodePageType | 0x40000000, {0xE2, 0x04});
  resetCodepageSelection();
  EXPECT_EQ(QcvtGetWinCodepage(), 1250);
  EXPECT_EQ(QcvtSetWinCodepage(1252), 0);
  EXPECT_EQ(QcvtGetWinCodepage(), 1250);
}

TEST(CodePageRecords, LoadedOnFirstUseAndDroppedByClear) {
  Machine machine({{"LANG", "en_US"}});
  str_ClrCodePage();  // nothing loaded yet
  CODEPAGETBL *ansi = QtpiGetAnsiCodepageTbl();
  CODEPAGETBL *oem = QtpiGetOemCodepageTbl();
  EXPECT_EQ(ansi->toQxCodepage, 1252u);
  EXPECT_EQ(oem->toQxCodepage, 437u);
  str_ClrCodePage();
  EXPECT_EQ(ansi->toQxCodepage, 0u);
  EXPECT_EQ(oem->fromQxCodepage, 0u);
  EXPECT_EQ(QcvtSetWinCodepage(1250), 1);
  EXPECT_EQ(ansi->toQxCodepage, 0u);
  EXPECT_EQ(TpiAnsiToQx(0xE9), 0x0129);
  EXPECT_EQ(ansi->toQxCodepage, 1250u);
  EXPECT_EQ(TpiOemToQx(0x82), 0x0129);
  EXPECT_EQ(TpiGetAnsi(0x0129), 0xE9);
  EXPECT_EQ(TpiGetOem(0x0129), 0x82);
  const uint16_t text[] = {0x0129, 'a', 0};
  char oemBytes[4] = {};
  EXPECT_EQ(Q6wzTooz(text, oemBytes), 1);
  EXPECT_STREQ(oemBytes, "\x82" "a");
}

// Only the directions asked for change (8 bits count); an unlisted page keeps its number and has no tables.
TEST(CodePageRecords, SetCodepageReplacesOnlyChangedDirections) {
  Machine machine({{"LANG", "en_US"}});
  CODEPAGETBL record{};
  QcvtSetCodepage(1252, 3, &record);
  QcvtSetCodepage(4242, 2, &record);
  EXPECT_EQ(record.toQxCodepage, 4242u);
  EXPECT_EQ(record.highTable, nullptr);
  EXPECT_EQ(record.fromQxCodepage, 1252u);
  EXPECT_NE(record.reverseTable, nullptr);
  QcvtSetCodepage(4242, 0x101, &record);
  EXPECT_EQ(record.fromQxCodepage, 4242u);
}

constexpr uint16_t kNone = qstr::base::kNoMapping;

// A made-up page: 1-31 to 0x04nn, 127-254 to 0x0100 up, a few back.
struct SyntheticPage {
  CODEPAGERANGE low{1, 31, {}};
  CODEPAGERANGE high{127, 254, {}};
  CODEPAGEREVERSE reverse{
      6, {{0x0100, 127}, {0x0101, 128}, {0x0129, 0xA8}, {0x0401, 1}, {0x040C, 0xBE}, {0x0456, 0xBF}}};
  CODEPAGETBL record;

  explicit SyntheticPage(uint32_t codePage) : record{codePage, codePage, &low, &high, &reverse} {
    for (uint16_t c = 1; c <= 31; ++c) low.entries[c - 1] = 0x0400 + c;
    for (uint16_t c = 127; c <= 254; ++c) high.entries[c - 127] = 0x0100 + c - 127;
  }
};

struct Case {
  bool toNative;
  uint32_t input;
  uint16_t output;
};

uint16_t convert(const CODEPAGETBL &record, const Case &c) {
  return c.toNative ? QcvtNtvToQx(&record, c.input) : QcvtQxToNtv(&record, c.input);
}

TEST(SingleChar, ThroughTheRecordsTables) {
  ScopedProfile western({{"LANG", "en_US"}});
  const SyntheticPage page(437);
  CODEPAGETBL noLow = page.record;
  noLow.lowTable = nullptr;
  const CODEPAGETBL cleared{};
  struct RecordCases {
    const CODEPAGETBL &record;
    std::vector<Case> cases;
  };
  const std::vector<RecordCases> records = {
      {page.record,
       {{true, 0, kNone}, {true, 1, 0x0401}, {true, 31, 0x041F}, {true, 32, 32}, {true, 126, 126},
        {true, 127, 0x0100}, {true, 254, 0x017F}, {true, 255, kNone}, {true, 0x10041, 0x41},
        {false, 0x0080, 0x20}, {false, 0xF90B, kNone}, {false, 0x0129, 0xA8}, {false, 0x0102, kNone},
        {false, 0x2400, kNone}, {false, 0x10129, 0xA8}}},
      {noLow, {{true, 9, 0xF909}, {true, 10, 0xF90A}, {true, 12, 0xF90C}, {true, 13, 0xF90D}, {true, 11, kNone}}},
      {cleared, {{true, 13, 0xF90D}, {true, 127, kNone}, {false, 0xF909, 9}, {false, 0x0129, kNone}}},
  };
  for (const RecordCases &r : records) {
    for (const Case &c : r.cases) {
      EXPECT_EQ(convert(r.record, c), c.output) << std::hex << c.input;
    }
  }
}

// Without double-byte support the East Asian pages convert as any page with the same tables.
TEST(SingleChar, DoubleBytePagesOnlyOnADoubleByteSystem) {
  struct PageCases {
    uint32_t codePage;
    std::vector<Case> cases;
  };
  const std::vector<PageCases> pages = {
      {932, {{true, 0x8140, 0x2400}, {true, 0x817F, kNone}, {true, 0xA0, 0x0121}, {false, 0x2400, 0x8140},
             {false, 0x040C, 0x5C}, {false, 0x0456, 0xBF}}},
      {949, {{true, 0xB0A1, 0x5A5E}, {false, 0x0456, 0x5C}, {false, 0x040C, 0xBE}}},
      {936, {{true, 0xB0A1, 0x8787}, {false, 0x2BBC, 0x81A1}}},
      {950, {{true, 0xA1A1, 0xA53F}, {false, 0xA6D8, 0xA440}}},
  };
  const SyntheticPage plain(437);
  for (const PageCases &p : pages) {
    const SyntheticPage page(p.codePage);
    {
      ScopedProfile dbcs({{"LANG", "en_US"}, {"QSTR14_DBCS", "1"}});
      for (const Case &c : p.cases) {
        EXPECT_EQ(convert(page.record, c), c.output) << p.codePage << std::hex << " " << c.input;
      }
    }
    ScopedProfile single({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
    for (const Case &c : p.cases) {
      EXPECT_EQ(convert(page.record, c), convert(plain.record, c)) << p.codePage << std::hex << " " << c.input;
    }
  }
}

// A byte goes to its native character and back to the highest byte of it (ASCII and raw bytes: itself).
TEST(CodepageList, EveryRowLooksUpAndRoundTripsAndAgreesWithTheDirectTables) {
  ScopedProfile western({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
  for (const CodepageListRow &row : codepageList) {
    const uint32_t page = row.productCodepage;
    SCOPED_TRACE(page);
    EXPECT_EQ(QcvtQXCodepageToWinCodepage(page), row.windowsCodepage);
    EXPECT_EQ(QcvtWinCodepageToQXCodepage(row.windowsCodepage), page);
    const void *tables[] = {row.lowTable, row.highTable, row.reverseTable, nullptr};
    for (uint32_t which = 0; which < 4; ++which) EXPECT_EQ(QcvtFindCPTable(page, which), tables[which]);
    CODEPAGETBL record{};
    QcvtSetCodepage(static_cast<int32_t>(page), 3, &record);
    const uint16_t *bytes = singleByteNatives(record);
    const uint16_t *codes = hostCodesOfNatives(record);
    ASSERT_NE(bytes, nullptr);
    ASSERT_NE(codes, nullptr);
    std::map<uint16_t, unsigned> highest;
    for (unsigned b = 1; b < 256; ++b) highest[QcvtNtvToQx(&record, b)] = b;
    for (unsigned b = 0; b < 256; ++b) {
      const uint16_t native = QcvtNtvToQx(&record, b);
      ASSERT_EQ(bytes[b], native) << b;
      if (b == 0 || native == 0xFFFF) continue;
      const unsigned back = native >> 8 == 0 || native >> 8 == 12 ? native & 0xFFu : highest[native];
      ASSERT_EQ(QcvtQxToNtv(&record, native), back) << std::hex << native;
    }
    for (uint32_t n = 0; n < kIndexedNativeEnd; ++n) ASSERT_EQ(codes[n], QcvtQxToNtv(&record, n)) << std::hex << n;
  }
  // Unlisted numbers are their own; the Windows column is not searched.
  EXPECT_EQ(QcvtQXCodepageToWinCodepage(28591), 28591u);
  EXPECT_EQ(QcvtWinCodepageToQXCodepage(5), 5u);
  const CODEPAGETBL cleared{};
  ASSERT_NE(singleByteNatives(cleared), nullptr);
  EXPECT_EQ(singleByteNatives(cleared)[9], 0xF909);
}

TEST(FastLookup, OnlyForListTablesAndWithoutDoubleByteRules) {
  CODEPAGERANGE ownRange{};
  EXPECT_EQ(singleByteNatives(CODEPAGETBL{1252, 1252, nullptr, &ownRange, nullptr}), nullptr);
  CODEPAGETBL japanese{};
  QcvtSetCodepage(932, 3, &japanese);
  ScopedProfile dbcs({{"LANG", "en_US"}, {"QSTR14_DBCS", "1"}});
  EXPECT_EQ(hostCodesOfNatives(japanese), nullptr);
  EXPECT_NE(singleByteNatives(japanese), nullptr);
}

}  // namespace
