#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "qstr14/codepage.h"
#include "qstr14/frame.h"
#include "registry/ckzkey.h"
#include "support/machine.h"

namespace {

using qstr::registry::CKZKey;
using qstr::test::Machine;

constexpr uint32_t kKeyReadWrite = 0x2001F;

// Writes a value under the current registry location.
void store(const char *name, uint32_t type, const std::vector<uint8_t> &data) {
  CKZKey key(QcvtGetRegistryLoc(), kKeyReadWrite);
  ASSERT_NE(key.Key(), 0u);
  ASSERT_EQ(key.SetValue(name, type, data.data(), static_cast<uint32_t>(data.size()), 0, 1), 0);
}

// A value under the current registry location; empty when there is none.
std::vector<uint8_t> read(const char *name, uint32_t *type) {
  CKZKey key(QcvtGetRegistryLoc(), kKeyReadWrite);
  std::vector<uint8_t> data(16);
  uint32_t size = static_cast<uint32_t>(data.size());
  if (key.QueryValue(name, type, nullptr, data.data(), &size, 0) != 0) return {};
  data.resize(size);
  return data;
}

struct CountryDefaults {
  const char *locale;
  uint32_t windows;
  uint32_t dos;
};

TEST(CodePageSelection, DefaultsByCountryThenSystem) {
  const std::vector<CountryDefaults> cases = {
      {"ja_JP", 932, 932}, {"ko_KR", 949, 934}, {"zh_TW", 950, 938}, {"zh_CN", 936, 936},
      {"ar_SA", 1256, 710}, {"he_IL", 1255, 862}, {"en_US", 1252, 437}, {"de_DE", 1252, 850},
      {"ru_RU", 1251, 866}, {"zh_HK", 950, 938},  // Hong Kong: country 3 through the keyboard
  };
  for (const CountryDefaults &c : cases) {
    Machine machine({{"LANG", c.locale}});
    EXPECT_EQ(QcvtGetWinCodepage(), c.windows) << c.locale;
    EXPECT_EQ(QcvtGetDOSCodepage(), c.dos) << c.locale;
    uint32_t type = 0;
    EXPECT_TRUE(read("Windows Code Page", &type).empty()) << "defaults are never written back";
  }
}

TEST(CodePageSelection, WindowsCodePageIsCachedUntilStored) {
  Machine machine({{"LANG", "en_US"}});
  EXPECT_EQ(QcvtGetWinCodepage(), 1252);
  store("Windows Code Page", 0x80000002, {0xE2, 0x04});  // 1250
  EXPECT_EQ(QcvtGetWinCodepage(), 1252);
  EXPECT_EQ(QcvtSetWinCodepage(0x104E3), 1);  // only the low 16 bits: 1251
  EXPECT_EQ(QcvtGetWinCodepage(), 1251);
  uint32_t type = 0;
  EXPECT_EQ(read("Windows Code Page", &type), (std::vector<uint8_t>{0xE3, 0x04}));
  EXPECT_EQ(type, 0x80000002u);
  qstr::codepage::resetCodepageSelection();
  EXPECT_EQ(QcvtGetWinCodepage(), 1251);  // read back from the registry
}

TEST(CodePageSelection, StoredValuesMustBeTwoNonZeroBytes) {
  struct Case {
    std::vector<uint8_t> data;
    uint32_t dos;
  };
  const std::vector<Case> cases = {
      {{0x52, 0x03}, 850}, {{0x52, 0x03, 0, 0}, 437}, {{0, 0}, 437},
      {{0x52}, 82},  // a shorter value fills the low byte only
  };
  for (const Case &c : cases) {
    Machine machine({{"LANG", "en_US"}});
    store("DOS Code Page", 0x80000002, c.data);
    EXPECT_EQ(QcvtGetDOSCodepage(), c.dos) << c.data.size() << " bytes";
  }
}

TEST(CodePageSelection, LockedWindowsCodePageIsNotReplaced) {
  Machine machine({{"LANG", "en_US"}});
  store("Windows Code Page", 0x80000002 | 0x40000000, {0xE2, 0x04});
  EXPECT_EQ(QcvtGetWinCodepage(), 1250);  // a locked value reads as any other
  EXPECT_EQ(QcvtSetWinCodepage(1252), 0);
  EXPECT_EQ(QcvtGetWinCodepage(), 1250);
}

TEST(CodePageSelection, RegistryLocationFollowsTheLanguage) {
  Machine machine({{"LANG", "en_US"}});
  const std::string data = "HKEY_CURRENT_USER\\Software\\Orvane\\Quorvel Flarion\\Conversions\\14\\CodePageData\\";
  EXPECT_EQ(QcvtGetRegistryLoc(), data + "EN");
  QStrSetLanguage("DE");
  EXPECT_EQ(QcvtGetRegistryLoc(), data + "DE");
  EXPECT_EQ(QcvtGetRegistryLoc(), QcvtGetRegistryLoc());  // one buffer
  store("DOS Code Page", 0x80000002, {0x52, 0x03});
  EXPECT_EQ(QcvtGetDOSCodepage(), 850u);
  QStrSetLanguage("EN");
  EXPECT_EQ(QcvtGetDOSCodepage(), 437u);
  QStrSetLanguage("ABCDEFGHIJ");
  EXPECT_LT(std::strlen(QcvtGetRegistryLoc()), 100u);
}

TEST(CodePageRecords, LoadedOnFirstUseAndDroppedByClear) {
  Machine machine({{"LANG", "en_US"}});
  str_ClrCodePage();  // nothing loaded yet: nothing to do
  CODEPAGETBL *ansi = QtpiGetAnsiCodepageTbl();
  CODEPAGETBL *oem = QtpiGetOemCodepageTbl();
  EXPECT_EQ(ansi->toQxCodepage, 1252u);
  EXPECT_EQ(ansi->fromQxCodepage, 1252u);
  EXPECT_EQ(oem->toQxCodepage, 437u);
  str_ClrCodePage();
  EXPECT_EQ(ansi->toQxCodepage, 0u);
  EXPECT_EQ(oem->fromQxCodepage, 0u);
  // A stored Windows code page takes effect at the next load.
  EXPECT_EQ(QcvtSetWinCodepage(1250), 1);
  EXPECT_EQ(ansi->toQxCodepage, 0u);
  EXPECT_EQ(TpiAnsiToQx('A'), 'A');
  EXPECT_EQ(ansi->toQxCodepage, 1250u);
}

TEST(CodePageRecords, DoubleByteSystemsUseTheWindowsCodePageForBoth) {
  Machine machine({{"LANG", "ja_JP"}});
  store("DOS Code Page", 0x80000002, {0xB5, 0x01});  // 437
  TpiSetCodepage();
  EXPECT_EQ(QtpiGetOemCodepageTbl()->toQxCodepage, 932u);
  EXPECT_EQ(QtpiGetAnsiCodepageTbl()->toQxCodepage, 932u);
}

TEST(CodePageRecords, KoreanCodePagesAreNotListed) {
  Machine machine({{"LANG", "ko_KR"}, {"QSTR14_DBCS", "0"}});
  TpiSetCodepage();
  const CODEPAGETBL *ansi = QtpiGetAnsiCodepageTbl();
  const CODEPAGETBL *oem = QtpiGetOemCodepageTbl();
  EXPECT_EQ(ansi->toQxCodepage, 949u);
  EXPECT_EQ(oem->toQxCodepage, 934u);
  for (const CODEPAGETBL *record : {ansi, oem}) {
    EXPECT_EQ(record->lowTable, nullptr);
    EXPECT_EQ(record->highTable, nullptr);
    EXPECT_EQ(record->reverseTable, nullptr);
  }
}

TEST(CodePageRecords, SetCodepageReplacesOnlyChangedDirections) {
  Machine machine({{"LANG", "en_US"}});
  const auto *sentinelRange = reinterpret_cast<const CODEPAGERANGE *>(&machine);
  const auto *sentinelReverse = reinterpret_cast<const CODEPAGEREVERSE *>(&machine);
  CODEPAGETBL record{1252, 1252, sentinelRange, sentinelRange, sentinelReverse};
  QcvtSetCodepage(-1, 3, &record);  // the current Windows code page: nothing changes
  EXPECT_EQ(record.lowTable, sentinelRange);
  EXPECT_EQ(record.reverseTable, sentinelReverse);
  QcvtSetCodepage(4242, 2, &record);  // not listed: number kept, tables null
  EXPECT_EQ(record.toQxCodepage, 4242u);
  EXPECT_EQ(record.highTable, nullptr);
  EXPECT_EQ(record.fromQxCodepage, 1252u);
  EXPECT_EQ(record.reverseTable, sentinelReverse);
  QcvtSetCodepage(4242, 0x101, &record);  // only the low 8 bits of the directions count
  EXPECT_EQ(record.fromQxCodepage, 4242u);
  QcvtClrCodepage(&record);
  EXPECT_EQ(record.toQxCodepage, 0u);
  EXPECT_EQ(record.reverseTable, nullptr);
}

// The listed pages are checked row by row with the list; numbers and tables
// of pages that are not listed.
TEST(CodePageNumbers, UnlistedPages) {
  EXPECT_EQ(QcvtQXCodepageToWinCodepage(5), 5u);
  EXPECT_EQ(QcvtWinCodepageToQXCodepage(5), 5u);
  EXPECT_EQ(QcvtQXCodepageToWinCodepage(28591), 28591u);  // the Windows column is not searched
  EXPECT_EQ(QcvtFindCPTable(28591, 1), nullptr);
  for (uint32_t which : {0u, 1u, 2u, 3u}) EXPECT_EQ(QcvtFindCPTable(99, which), nullptr);
  EXPECT_EQ(QcvtFindCPTable(1252, 3), nullptr);
}

}  // namespace
