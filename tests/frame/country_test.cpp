#include <gtest/gtest.h>

#include <vector>

#include "frame/country.h"
#include "qstr14/frame.h"
#include "support/host_profile.h"

namespace {

using qstr::test::Environment;
using qstr::test::ScopedProfile;

uint8_t detectUnder(const Environment &env) {
  ScopedProfile profile(env);
  qstr::frame::resetCountryDetection();
  return QtpiGetCountryID();
}

struct CountryCase {
  const char *langId;
  const char *dbcs;
  const char *keyboard;  // keyboard language ID, or null for the system's
  uint8_t country;
};

TEST(CountryId, BySystemLanguageThenKeyboard) {
  const std::vector<CountryCase> cases = {
      {"0x0411", "0", nullptr, 1}, {"0x0411", "1", nullptr, 1},
      {"0x0412", "0", nullptr, 2}, {"0x0404", "0", nullptr, 3},
      {"0x0804", "0", nullptr, 4}, {"0x0401", "0", nullptr, 5},
      {"0x040D", "0", nullptr, 6},
      {"0x0409", "0", nullptr, 0},
      {"0x0409", "0", "0x0804", 0},  // no double-byte support: the keyboard is not asked
      {"0x0409", "1", "0x0804", 4},  // 936 → GB 2312
      {"0x0409", "1", "0x0404", 3},  // 950 → Big5
      {"0x0409", "1", "0x0411", 0},  // 932: a Japanese keyboard does not count
      {"0x0409", "1", "0x0412", 0},
      {"0x0409", "1", "0x0045", 0},  // unknown keyboard language: ANSI code page 1252
      {"0x0C04", "1", nullptr, 3},   // Hong Kong: decided by the keyboard (950)
      {"0x1004", "1", nullptr, 4},   // Singapore: keyboard 936
      {"0x0C04", "0", nullptr, 0},
      {"0x0C01", "0", nullptr, 0},   // Arabic (Egypt) is not the listed sublanguage
      {"0x0801", "1", nullptr, 0},
  };
  for (const CountryCase &c : cases) {
    Environment env = {{"LANG", "en_US"}, {"QSTR14_LANGID", c.langId}, {"QSTR14_DBCS", c.dbcs}};
    if (c.keyboard) env["QSTR14_KEYBOARD_LANGID"] = c.keyboard;
    EXPECT_EQ(detectUnder(env), c.country)
        << "language " << c.langId << " dbcs " << c.dbcs << " keyboard " << (c.keyboard ? c.keyboard : "-");
  }
  qstr::frame::resetCountryDetection();
}

TEST(CountryId, DetectedOnceThenCached) {
  EXPECT_EQ(detectUnder({{"LANG", "ja_JP"}}), 1);
  ScopedProfile korean(Environment{{"LANG", "ko_KR"}});
  EXPECT_EQ(QtpiGetCountryID(), 1);
  qstr::frame::resetCountryDetection();
  EXPECT_EQ(QtpiGetCountryID(), 2);
  qstr::frame::resetCountryDetection();
}

TEST(KeyboardInfo, CodePageAndCharset) {
  struct Case {
    const char *keyboard;
    const char *acp;
    uint16_t codePage;
    uint8_t charset;
  };
  const std::vector<Case> cases = {
      {"0x0411", "1252", 932, 128}, {"0x0412", "1252", 949, 129}, {"0x0804", "1252", 936, 134},
      {"0x0404", "1252", 950, 136}, {"0x0409", "932", 1252, 0},   {"0x0419", "1252", 1251, 204},
      // Unknown language: the ANSI code page; 437 has no character set: 1.
      {"0x0045", "950", 950, 136},  {"0x0045", "437", 437, 1},
  };
  for (const Case &c : cases) {
    ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_KEYBOARD_LANGID", c.keyboard}, {"QSTR14_ACP", c.acp}});
    uint16_t codePage = 0;
    uint8_t charset = 0;
    QshGetInfoFromKeyboard(&codePage, &charset);
    EXPECT_EQ(codePage, c.codePage) << c.keyboard;
    EXPECT_EQ(charset, c.charset) << c.keyboard;
    uint16_t onlyCodePage = 0;
    QshGetInfoFromKeyboard(&onlyCodePage, nullptr);
    EXPECT_EQ(onlyCodePage, c.codePage);
    QshGetInfoFromKeyboard(nullptr, nullptr);
  }
}

}  // namespace
