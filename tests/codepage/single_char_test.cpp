// Single characters through a code page record both ways: its tables, the
// controls of a record without a low table, and the East Asian pages'
// double-byte rules, only on a system with double-byte support.
#include <gtest/gtest.h>

#include <vector>

#include "base/no_mapping.h"
#include "qstr14/codepage.h"
#include "support/host_profile.h"

namespace {

using qstr::test::ScopedProfile;
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
  bool toNative;  // a host code to its native character, or the reverse
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
      EXPECT_EQ(convert(r.record, c), c.output) << c.toNative << std::hex << " 0x" << c.input;
    }
  }
}

// With double-byte support the East Asian pages place double-byte codes and
// write 0x5C for the currency sign of 932 and 949; without, they convert as
// any page with the same tables does.
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
        EXPECT_EQ(convert(page.record, c), c.output) << p.codePage << std::hex << " 0x" << c.input;
      }
    }
    ScopedProfile single({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
    for (const Case &c : p.cases) {
      EXPECT_EQ(convert(page.record, c), convert(plain.record, c)) << p.codePage << std::hex << " " << c.input;
    }
  }
}

}  // namespace
