// The code page list as the conversions use it: numbers and tables through
// the exported look-ups, every byte of every row through a record and back,
// and the direct tables against the record walk (the rows themselves are
// checked by their generator).
#include <gtest/gtest.h>

#include <map>

#include "codepage/codepage_list.h"
#include "codepage/fast_lookup.h"
#include "qstr14/codepage.h"
#include "support/machine.h"

namespace {

using namespace qstr::codepage;
using qstr::test::ScopedProfile;

// A byte goes to a native character and back to the highest byte of that
// character, or for ASCII and raw bytes (sets 0 and 12) to the byte it holds.
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

// Direct tables exist only for the list's tables, and the native-to-host
// one not where double-byte rules apply (0x040C is 0x5C on page 932).
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
