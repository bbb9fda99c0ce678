// Choosing the DOS and Windows code pages (registry value, else the
// country's defaults, else the system's), the registry location they are
// stored under, and the library's ANSI and OEM records loaded from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qstr14/codepage.h"
#include "qstr14/frame.h"
#include "qstr14/strings.h"
#include "registry/ckzkey.h"
#include "support/machine.h"

namespace {

using qstr::registry::CKZKey;
using qstr::test::Machine;

constexpr uint32_t kCodePageType = 0x80000002;

// Stores a value under the current registry location.
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

// A default is not stored. A double-byte system converts both forms with
// the Windows code page, even with a DOS code page stored.
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
    EXPECT_EQ(QcvtGetWinCodepage(), c.windows) << c.locale;
    EXPECT_EQ(QcvtGetDOSCodepage(), c.dos) << c.locale;
    EXPECT_TRUE(storedWindowsCodePage().empty()) << c.locale;
  }
  Machine machine({{"LANG", "ja_JP"}});
  store("DOS Code Page", kCodePageType, {0xB5, 0x01});  // 437
  TpiSetCodepage();
  EXPECT_EQ(QtpiGetOemCodepageTbl()->toQxCodepage, 932u);
  EXPECT_EQ(QtpiGetAnsiCodepageTbl()->toQxCodepage, 932u);
}

// A stored value counts when it is two bytes and not 0; a shorter one
// fills the low byte only. The value is read under the language's location.
TEST(CodePageSelection, StoredValuesAndTheirLocation) {
  struct Case {
    std::vector<uint8_t> data;
    uint32_t dos;
  };
  for (const Case &c : std::vector<Case>{{{0x52, 0x03, 0, 0}, 437}, {{0, 0}, 437}, {{0x52}, 82}}) {
    Machine machine({{"LANG", "en_US"}});
    store("DOS Code Page", kCodePageType, c.data);
    EXPECT_EQ(QcvtGetDOSCodepage(), c.dos) << c.data.size() << " bytes";
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

// The Windows code page is read once, until stored through the library;
// a locked value reads as any other but is not replaced.
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
  qstr::codepage::resetCodepageSelection();
  EXPECT_EQ(QcvtGetWinCodepage(), 1250);  // read back from the registry
  EXPECT_EQ(QcvtSetWinCodepage(1252), 0);
  EXPECT_EQ(QcvtGetWinCodepage(), 1250);
}

// Loaded on first use and dropped by a clear; a stored Windows code page
// takes effect at the next load. The records serve the single characters
// and the native strings of each form.
TEST(CodePageRecords, LoadedOnFirstUseAndDroppedByClear) {
  Machine machine({{"LANG", "en_US"}});
  str_ClrCodePage();  // nothing loaded yet: nothing to do
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

// -1 is the current Windows code page; an unlisted page keeps its number
// with null tables; only the low 8 bits of the directions count.
TEST(CodePageRecords, SetCodepageReplacesOnlyChangedDirections) {
  Machine machine({{"LANG", "en_US"}});
  const auto *sentinelRange = reinterpret_cast<const CODEPAGERANGE *>(&machine);
  const auto *sentinelReverse = reinterpret_cast<const CODEPAGEREVERSE *>(&machine);
  CODEPAGETBL record{1252, 1252, sentinelRange, sentinelRange, sentinelReverse};
  QcvtSetCodepage(-1, 3, &record);
  EXPECT_EQ(record.lowTable, sentinelRange);
  EXPECT_EQ(record.reverseTable, sentinelReverse);
  QcvtSetCodepage(4242, 2, &record);
  EXPECT_EQ(record.toQxCodepage, 4242u);
  EXPECT_EQ(record.highTable, nullptr);
  EXPECT_EQ(record.fromQxCodepage, 1252u);
  EXPECT_EQ(record.reverseTable, sentinelReverse);
  QcvtSetCodepage(4242, 0x101, &record);
  EXPECT_EQ(record.fromQxCodepage, 4242u);
}

}  // namespace
