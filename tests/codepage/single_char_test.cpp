#include <gtest/gtest.h>

#include <vector>

#include "base/double_byte_pages.h"
#include "base/no_mapping.h"
#include "qstr14/codepage.h"
#include "support/host_profile.h"

namespace {

using qstr::test::ScopedProfile;
constexpr uint16_t kNone = qstr::base::kNoMapping;

// A made-up single-byte page: low range 1-31 → 0x04nn, high range 127-254
// → 0x01nn (code - 127), and a reverse table for a few of them.
struct SyntheticPage {
  CODEPAGERANGE low{};
  CODEPAGERANGE high{};
  CODEPAGEREVERSE reverse{};
  CODEPAGETBL record{};

  explicit SyntheticPage(uint32_t codePage) {
    low.first = 1;
    low.last = 31;
    for (int c = 1; c <= 31; ++c) low.entries[c - 1] = static_cast<uint16_t>(0x0400 + c);
    high.first = 127;
    high.last = 254;
    for (int c = 127; c <= 254; ++c) high.entries[c - 127] = static_cast<uint16_t>(0x0100 + c - 127);
    const std::vector<CODEPAGEREVERSEENTRY> entries = {
        {0x0100, 127}, {0x0101, 128}, {0x0129, 0xA8}, {0x0401, 1}, {0x040C, 0xBE}, {0x0456, 0xBF}, {0x0CA0, 0xA0}};
    reverse.count = static_cast<uint16_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) reverse.entries[i] = entries[i];
    record = {codePage, codePage, &low, &high, &reverse};
  }
};

struct Case {
  uint32_t input;
  uint16_t output;
};
// A page's cases on a system with double-byte support.
struct PageCases {
  uint32_t codePage;
  std::vector<Case> withDbcs;
};

void expectAll(uint16_t(QSTR_CALL *convert)(const CODEPAGETBL *, uint32_t), const CODEPAGETBL &record,
               const std::vector<Case> &cases, const char *what) {
  for (const Case &c : cases) {
    EXPECT_EQ(convert(&record, c.input), c.output) << what << " 0x" << std::hex << c.input;
  }
}

TEST(HostToNative, ThroughTheRecordsTables) {
  ScopedProfile western(qstr::test::Environment{{"LANG", "en_US"}});
  SyntheticPage page(437);
  expectAll(QcvtNtvToQx, page.record,
            {{0, kNone}, {1, 0x0401}, {9, 0x0409}, {31, 0x041F}, {32, 32}, {0x41, 0x41}, {126, 126},
             {127, 0x0100}, {0xA8, 0x0129}, {254, 0x017F}, {255, kNone}, {0x8140, kNone}, {0x10041, 0x41}},
            "437");
  CODEPAGETBL noLow = page.record;
  noLow.lowTable = nullptr;
  expectAll(QcvtNtvToQx, noLow,
            {{9, 0xF909}, {10, 0xF90A}, {12, 0xF90C}, {13, 0xF90D}, {11, kNone}, {0, kNone}, {1, kNone}},
            "no low table");
  const CODEPAGETBL cleared{};
  expectAll(QcvtNtvToQx, cleared, {{0x41, 0x41}, {9, 0xF909}, {13, 0xF90D}, {127, kNone}, {0xE9, kNone}},
            "cleared");
}

TEST(HostToNative, DoubleBytePagesOnlyOnADoubleByteSystem) {
  const std::vector<PageCases> pages = {
      {932, {{0x8140, 0x2400}, {0x889F, 0x2B5E}, {0xE040, 0x4300}, {0xF040, 0x2BBC}, {0xFCFC, 0x51C7},
             {0x817F, kNone}, {0xA0, 0x0121}, {0x8100, kNone}}},
      {949, {{0xA1A1, 0x5300}, {0xB0A1, 0x5A5E}, {0xA1A0, kNone}}},
      {936, {{0xA1A1, 0x8200}, {0xB0A1, 0x8787}, {0x81A1, 0x2BBC}, {0x8140, kNone}}},
      {950, {{0xA140, 0xA500}, {0xA1A1, 0xA53F}, {0x8140, 0x2BBC}, {0xA17F, kNone}}},
  };
  for (const PageCases &p : pages) {
    SyntheticPage page(p.codePage);
    {
      ScopedProfile dbcs({{"LANG", "en_US"}, {"QSTR14_DBCS", "1"}});
      expectAll(QcvtNtvToQx, page.record, p.withDbcs, "double-byte system");
    }
    ScopedProfile single({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
    for (const Case &c : p.withDbcs) {
      if (c.input > 0xFF) EXPECT_EQ(QcvtNtvToQx(&page.record, c.input), kNone) << std::hex << c.input;
    }
    EXPECT_EQ(QcvtNtvToQx(&page.record, 0xA0), 0x0121);  // single bytes use the high table either way
  }
}

TEST(NativeToHost, ThroughTheRecordsTables) {
  ScopedProfile western(qstr::test::Environment{{"LANG", "en_US"}});
  SyntheticPage page(1252);
  expectAll(QcvtQxToNtv, page.record,
            {{0x0080, 0x20}, {0x0041, 0x41}, {0x0084, 0x84}, {0x00FF, 0xFF}, {0x0C9D, 0x9D}, {0x0CA0, 0xA0},
             {0xF90A, 10}, {0xF909, 9}, {0xF90B, kNone}, {0x0129, 0xA8}, {0x0100, 127}, {0x0401, 1},
             {0x0102, kNone}, {0x040C, 0xBE}, {0x0456, 0xBF}, {0x2400, kNone}, {0x10129, 0xA8}},
            "1252");
  const CODEPAGETBL cleared{};
  expectAll(QcvtQxToNtv, cleared, {{0x41, 0x41}, {0xF90D, 13}, {0x0129, kNone}, {0x0C81, 0x81}}, "cleared");
}

TEST(NativeToHost, DoubleBytePages) {
  const std::vector<PageCases> pages = {
      {932, {{0x2400, 0x8140}, {0x2BFC, 0xF081}, {0x2CBC, 0xF081}, {0x040C, 0x5C}, {0x0456, 0xBF},
             {0x24BC, kNone}, {0x0129, 0xA8}}},
      {949, {{0x5A5E, 0xB0A1}, {0x0456, 0x5C}, {0x040C, 0xBE}}},
      {936, {{0x8787, 0xB0A1}, {0x2BBC, 0x81A1}, {0x040C, 0xBE}}},
      {950, {{0xA6D8, 0xA440}, {0x2BBC, 0x8140}, {0x0456, 0xBF}}},
  };
  for (const PageCases &p : pages) {
    SyntheticPage page(p.codePage);
    {
      ScopedProfile dbcs({{"LANG", "en_US"}, {"QSTR14_DBCS", "1"}});
      expectAll(QcvtQxToNtv, page.record, p.withDbcs, "double-byte system");
    }
    ScopedProfile single({{"LANG", "en_US"}, {"QSTR14_DBCS", "0"}});
    EXPECT_EQ(QcvtQxToNtv(&page.record, 0x040C), 0xBE);
    EXPECT_EQ(QcvtQxToNtv(&page.record, 0x2400), kNone);
  }
}

// Every host code that a double-byte rule accepts comes back unchanged.
TEST(HostCodeRoundTrip, DoubleBytePagesEveryCode) {
  ScopedProfile dbcs({{"LANG", "en_US"}, {"QSTR14_DBCS", "1"}});
  for (uint32_t codePage : qstr::base::kDoubleByteCodePages) {
    const CODEPAGETBL record{codePage, codePage, nullptr, nullptr, nullptr};
    int accepted = 0;
    for (uint32_t code = 0x100; code <= 0xFFFF; ++code) {
      const uint16_t native = QcvtNtvToQx(&record, code);
      if (native == kNone) continue;
      ++accepted;
      ASSERT_EQ(QcvtQxToNtv(&record, native), code) << codePage << " 0x" << std::hex << code;
    }
    EXPECT_GT(accepted, 8000) << codePage;
  }
}

}  // namespace
