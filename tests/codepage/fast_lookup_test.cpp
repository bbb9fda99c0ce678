#include <gtest/gtest.h>

#include "codepage/codepage_list.h"
#include "codepage/fast_lookup.h"
#include "support/host_profile.h"

namespace {

using namespace qstr::codepage;

// The direct tables answer exactly as the record walk does, for every row
// of the list, every single byte and every native character they cover.
TEST(FastLookup, AgreesWithTheRecordWalkForEveryRow) {
  qstr::test::ScopedProfile western({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
  for (const CodepageListRow &row : codepageList) {
    CODEPAGETBL record{};
    QcvtSetCodepage(static_cast<int32_t>(row.productCodepage), 3, &record);
    const uint16_t *bytes = singleByteNatives(record);
    const uint16_t *codes = hostCodesOfNatives(record);
    ASSERT_NE(bytes, nullptr) << row.productCodepage;
    ASSERT_NE(codes, nullptr) << row.productCodepage;
    for (uint32_t b = 0; b < 256; ++b) ASSERT_EQ(bytes[b], QcvtNtvToQx(&record, b)) << row.productCodepage << " " << b;
    for (uint32_t n = 0; n < kIndexedNativeEnd; ++n) {
      ASSERT_EQ(codes[n], QcvtQxToNtv(&record, n)) << row.productCodepage << " " << std::hex << n;
    }
  }
  const CODEPAGETBL cleared{};
  ASSERT_NE(singleByteNatives(cleared), nullptr);
  EXPECT_EQ(singleByteNatives(cleared)[9], 0xF909);
}

TEST(FastLookup, OnlyForListTablesAndWithoutDoubleByteRules) {
  CODEPAGERANGE ownRange{};
  const CODEPAGETBL own{1252, 1252, nullptr, &ownRange, nullptr};
  EXPECT_EQ(singleByteNatives(own), nullptr);
  CODEPAGETBL japanese{};
  QcvtSetCodepage(932, 3, &japanese);
  {
    qstr::test::ScopedProfile dbcs({{"LANG", "en_US"}, {"QSTR14_DBCS", "1"}});
    EXPECT_EQ(hostCodesOfNatives(japanese), nullptr);  // 0x040C is 0x5C there
    EXPECT_NE(singleByteNatives(japanese), nullptr);
  }
  qstr::test::ScopedProfile single({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
  EXPECT_NE(hostCodesOfNatives(japanese), nullptr);
}

}  // namespace
