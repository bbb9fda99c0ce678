#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/profile.h"
#include "support/host_profile.h"

namespace {

using qstr::host::HostProfile;
HostProfile deriveFrom(const qstr::test::Environment &vars) { return qstr::test::profileFrom(vars); }

struct LocaleCase {
  std::map<std::string, std::string> env;
  const char *locale;
  uint16_t langId;
  uint32_t acp;
  uint32_t oemcp;
  bool dbcs;
};

TEST(HostProfile, DerivedFromTheLocale) {
  const std::vector<LocaleCase> cases = {
      {{}, "en_US", 0x0409, 1252, 437, false},
      {{{"LANG", "C.UTF-8"}}, "en_US", 0x0409, 1252, 437, false},
      {{{"LANG", "de_DE.UTF-8"}}, "de_DE", 0x0407, 1252, 850, false},
      {{{"LANG", "ja_JP.eucJP"}}, "ja_JP", 0x0411, 932, 932, true},
      {{{"LANG", "ko_KR.UTF-8"}}, "ko_KR", 0x0412, 949, 949, true},
      {{{"LANG", "zh_CN.GB18030"}}, "zh_CN", 0x0804, 936, 936, true},
      {{{"LANG", "zh_TW.UTF-8"}}, "zh_TW", 0x0404, 950, 950, true},
      {{{"LANG", "zh_HK.UTF-8"}}, "zh_HK", 0x0C04, 950, 950, true},
      {{{"LANG", "cs_CZ.UTF-8"}}, "cs_CZ", 0x0405, 1250, 852, false},
      {{{"LANG", "ru_RU.KOI8-R"}}, "ru_RU", 0x0419, 1251, 866, false},
      {{{"LANG", "el_GR.UTF-8"}}, "el_GR", 0x0408, 1253, 737, false},
      {{{"LANG", "he_IL.UTF-8"}}, "he_IL", 0x040D, 1255, 862, false},
      {{{"LANG", "ar_SA.UTF-8"}}, "ar_SA", 0x0401, 1256, 720, false},
      {{{"LANG", "sv_FI.UTF-8@euro"}}, "sv_FI", 0x081D, 1252, 850, false},
      // A territory not listed takes the language's first row.
      {{{"LANG", "fr_SN.UTF-8"}}, "fr_FR", 0x040C, 1252, 850, false},
      {{{"LANG", "ja"}}, "ja_JP", 0x0411, 932, 932, true},
      // Precedence: QSTR14_LOCALE, LC_ALL, LC_CTYPE, LANG.
      {{{"LANG", "de_DE"}, {"LC_CTYPE", "fr_FR"}}, "fr_FR", 0x040C, 1252, 850, false},
      {{{"LANG", "de_DE"}, {"LC_CTYPE", "fr_FR"}, {"LC_ALL", "it_IT"}}, "it_IT", 0x0410, 1252, 850, false},
      {{{"LC_ALL", "it_IT"}, {"QSTR14_LOCALE", "ko_KR"}}, "ko_KR", 0x0412, 949, 949, true},
      // Empty variables count as unset; unknown names fall back.
      {{{"LC_ALL", ""}, {"LANG", "pl_PL"}}, "pl_PL", 0x0415, 1250, 852, false},
      {{{"LANG", "xx_YY"}}, "en_US", 0x0409, 1252, 437, false},
      {{{"QSTR14_LOCALE", "klingon"}, {"LANG", "da_DK"}}, "da_DK", 0x0406, 1252, 850, false},
  };
  for (const LocaleCase &c : cases) {
    HostProfile p = deriveFrom(c.env);
    std::string where = "locale case " + std::string(c.locale);
    EXPECT_EQ(p.locale.value, c.locale) << where;
    EXPECT_EQ(p.langId.value, c.langId) << where;
    EXPECT_EQ(p.keyboardLangId.value, c.langId) << where;
    EXPECT_EQ(p.ansiCodePage.value, c.acp) << where;
    EXPECT_EQ(p.oemCodePage.value, c.oemcp) << where;
    EXPECT_EQ(p.dbcsEnabled.value, c.dbcs) << where;
  }
}

TEST(HostProfile, UnknownLocalesLeaveANote) {
  EXPECT_NE(deriveFrom({{"LANG", "xx_YY"}}).locale.note.find("LANG=\"xx_YY\""), std::string::npos);
  HostProfile p = deriveFrom({{"QSTR14_LOCALE", "klingon"}, {"LANG", "da_DK"}});
  EXPECT_EQ(p.locale.source, "LANG");
  EXPECT_NE(p.locale.note.find("QSTR14_LOCALE"), std::string::npos);
}

struct OverrideCase {
  const char *variable;
  const char *text;
  bool used;
};

TEST(HostProfile, OverridesAreUsedOnlyWhenTheyParse) {
  const std::vector<OverrideCase> cases = {
      {"QSTR14_ACP", "932", true},       {"QSTR14_ACP", "0x3A4", true},
      {"QSTR14_ACP", "abc", false},      {"QSTR14_ACP", "932x", false},
      {"QSTR14_ACP", "-5", false},       {"QSTR14_ACP", "0", false},
      {"QSTR14_ACP", "70000", false},    {"QSTR14_ACP", "99999999999999999999", false},
      {"QSTR14_OEMCP", "850", true},     {"QSTR14_OEMCP", " 850", false},
      {"QSTR14_LANGID", "0x0411", true}, {"QSTR14_LANGID", "1041", true},
      {"QSTR14_LANGID", "0x10000", false}, {"QSTR14_LANGID", "0x", false},
      {"QSTR14_KEYBOARD_LANGID", "0x0804", true}, {"QSTR14_KEYBOARD_LANGID", "zh", false},
      {"QSTR14_DBCS", "1", true},        {"QSTR14_DBCS", "0", true},
      {"QSTR14_DBCS", "2", false},       {"QSTR14_DBCS", "yes", false},
      {"QSTR14_ISA", "plain", true},     {"QSTR14_ISA", "SSE2", true},
      {"QSTR14_ISA", "avx512", true},    {"QSTR14_ISA", "avx2", false},
      {"QSTR14_ISA", "sse2 ", false},
  };
  const HostProfile base = deriveFrom({{"LANG", "en_US"}});
  for (const OverrideCase &c : cases) {
    HostProfile p = deriveFrom({{"LANG", "en_US"}, {c.variable, c.text}});
    std::string variable = c.variable;
    auto check = [&](const auto &field, const auto &baseField) {
      EXPECT_EQ(field.source == variable, c.used) << variable << "=" << c.text;
      EXPECT_EQ(field.note.empty(), c.used) << variable << "=" << c.text;
      if (!c.used) EXPECT_EQ(field.value, baseField.value) << variable << "=" << c.text;
    };
    if (variable == "QSTR14_ACP") check(p.ansiCodePage, base.ansiCodePage);
    if (variable == "QSTR14_OEMCP") check(p.oemCodePage, base.oemCodePage);
    if (variable == "QSTR14_LANGID") check(p.langId, base.langId);
    if (variable == "QSTR14_KEYBOARD_LANGID") check(p.keyboardLangId, base.keyboardLangId);
    if (variable == "QSTR14_DBCS") check(p.dbcsEnabled, base.dbcsEnabled);
    if (variable == "QSTR14_ISA") check(p.vectorIsa, base.vectorIsa);
  }
}

// Values that follow an override: double-byte support follows the ANSI
// code page, the keyboard the system language.
TEST(HostProfile, DerivedValuesFollowTheOverrides) {
  EXPECT_TRUE(deriveFrom({{"LANG", "en_US"}, {"QSTR14_ACP", "949"}}).dbcsEnabled.value);
  EXPECT_FALSE(deriveFrom({{"LANG", "ja_JP"}, {"QSTR14_ACP", "1252"}}).dbcsEnabled.value);
  EXPECT_FALSE(deriveFrom({{"LANG", "ja_JP"}, {"QSTR14_DBCS", "0"}}).dbcsEnabled.value);
  EXPECT_EQ(deriveFrom({{"LANG", "en_US"}, {"QSTR14_LANGID", "0x0C04"}}).keyboardLangId.value, 0x0C04);
}

TEST(HostProfile, RegistryPath) {
  struct Case {
    std::map<std::string, std::string> env;
    std::string path;
  };
  const std::vector<Case> cases = {
      {{{"QSTR14_REGISTRY", "/tmp/r.reg"}, {"HOME", "/home/u"}}, "/tmp/r.reg"},
      {{{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/cfg/qstr14/registry.reg"},
      {{{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}}, "/home/u/.config/qstr14/registry.reg"},
      {{{"HOME", "/home/u"}}, "/home/u/.config/qstr14/registry.reg"},
      {{}, ":memory:"},
  };
  for (const Case &c : cases) EXPECT_EQ(deriveFrom(c.env).registryPath.value, c.path);
}

TEST(HostServices, ReadTheInstalledProfile) {
  qstr::test::ScopedProfile profile({{"LANG", "ja_JP"}, {"QSTR14_KEYBOARD_LANGID", "0x0804"}});
  EXPECT_EQ(qstr::host::ansiCodePage(), 932u);
  EXPECT_EQ(qstr::host::oemCodePage(), 932u);
  EXPECT_EQ(qstr::host::systemDefaultLangId(), 0x0411);
  EXPECT_EQ(qstr::host::keyboardLayout() & 0xFFFF, 0x0804u);
  EXPECT_EQ(qstr::host::dbcsEnabled(), 1);
}

TEST(HostServices, LocaleDefaultAnsiCodePage) {
  struct Case {
    uint16_t langId;
    const char *text;
  };
  for (const Case &c : std::vector<Case>{{0x0411, "932"}, {0x0804, "936"}, {0x0404, "950"},
                                         {0x0C04, "950"}, {0x1004, "936"}, {0x0409, "1252"},
                                         {0x0419, "1251"}, {0x1C0A, "1252"} /* es, unlisted */}) {
    char buffer[6] = {};
    EXPECT_EQ(qstr::host::localeDefaultAnsiCodePage(c.langId, buffer, 6),
              static_cast<int>(std::string(c.text).size() + 1));
    EXPECT_STREQ(buffer, c.text);
  }
  char small[3];
  EXPECT_EQ(qstr::host::localeDefaultAnsiCodePage(0x0409, small, 3), 0);
  char buffer[6];
  EXPECT_EQ(qstr::host::localeDefaultAnsiCodePage(0x0045 /* Bengali: not listed */, buffer, 6), 0);
}

TEST(HostServices, TranslateCharsetInfo) {
  struct Case {
    uint32_t codePage;
    bool known;
    uint32_t charset;
  };
  for (const Case &c : std::vector<Case>{{932, true, 128}, {949, true, 129}, {936, true, 134},
                                         {950, true, 136}, {1252, true, 0}, {1251, true, 204},
                                         {437, false, 0}, {0, false, 0}}) {
    uint32_t charset = 999;
    EXPECT_EQ(qstr::host::translateCharsetInfo(c.codePage, &charset), c.known) << c.codePage;
    EXPECT_EQ(charset, c.known ? c.charset : 999u) << c.codePage;
  }
}

}  // namespace
