// The host profile derived from the environment (locale, code pages, language IDs, registry path,
// the overrides that parse) and the host services that read it.
#include <gtest/gtest.h>

#include <tuple>

#include "host/host.h"
#include "support/host_profile.h"

namespace {

using qstr::host::HostProfile;
using qstr::test::Environment;
using qstr::test::profileFrom;
namespace host = qstr::host;

TEST(HostProfile, DerivedFromTheLocale) {
  struct LocaleCase {
    Environment env;
    const char *locale;
    uint16_t langId;
    uint32_t acp, oemcp;
    bool dbcs;
  };
  const std::vector<LocaleCase> cases = {
      {{}, "en_US", 0x0409, 1252, 437, false},
      {{{"LANG", "C.UTF-8"}}, "en_US", 0x0409, 1252, 437, false},
      {{{"LANG", "zh_HK.UTF-8"}}, "zh_HK", 0x0C04, 950, 950, true},
      {{{"LANG", "sv_FI@euro"}}, "sv_FI", 0x081D, 1252, 850, false},
      {{{"LANG", "fr_SN.UTF-8"}}, "fr_FR", 0x040C, 1252, 850, false},  // unlisted: the language's first
      {{{"LANG", "ja"}}, "ja_JP", 0x0411, 932, 932, true},
      // Precedence: QSTR14_LOCALE, LC_ALL, LC_CTYPE, LANG; empty counts as unset; unknown falls back.
      {{{"LANG", "de_DE"}, {"LC_CTYPE", "fr_FR"}}, "fr_FR", 0x040C, 1252, 850, false},
      {{{"LANG", "de_DE"}, {"LC_CTYPE", "fr_FR"}, {"LC_ALL", "it_IT"}}, "it_IT", 0x0410, 1252, 850, false},
      {{{"LC_ALL", "it_IT"}, {"QSTR14_LOCALE", "ko_KR"}}, "ko_KR", 0x0412, 949, 949, true},
      {{{"LC_ALL", ""}, {"LANG", "pl_PL"}}, "pl_PL", 0x0415, 1250, 852, false},
      {{{"LANG", "xx_YY"}}, "en_US", 0x0409, 1252, 437, false},
      {{{"QSTR14_LOCALE", "klingon"}, {"LANG", "da_DK"}}, "da_DK", 0x0406, 1252, 850, false},
  };
  for (const LocaleCase &c : cases) {
    HostProfile p = profileFrom(c.env);
    EXPECT_EQ(std::tie(p.locale.value, p.langId.value, p.keyboardLangId.value),
              std::tie(c.locale, c.langId, c.langId)) << c.locale;
    EXPECT_EQ(std::tie(p.ansiCodePage.value, p.oemCodePage.value, p.dbcsEnabled.value),
              std::tie(c.acp, c.oemcp, c.dbcs)) << c.locale;
  }
  HostProfile p = profileFrom({{"QSTR14_LOCALE", "klingon"}, {"LANG", "da_DK"}});
  EXPECT_EQ(p.locale.source, "LANG");
  EXPECT_NE(p.locale.note.find("QSTR14_LOCALE"), std::string::npos);
}

// Double-byte support follows the ANSI code page, the keyboard the system language.
TEST(HostProfile, OverridesAreUsedOnlyWhenTheyParse) {
  const std::vector<std::tuple<std::string, const char *, bool>> cases = {  // variables QSTR14_<name>
      {"ACP", "932", true},      {"ACP", "0x3A4", true},    {"ACP", "932x", false},     {"ACP", "93a", false},
      {"ACP", "0", false},       {"ACP", "65535", true},    {"ACP", "65536", false},    {"OEMCP", "850", true},
      {"ACP", "99999999999999999999", false},               {"OEMCP", " 850", false},
      {"LANGID", "0x0411", true}, {"LANGID", "0", true},    {"LANGID", "0x", false},
      {"LANGID", "0x10000", false}, {"KEYBOARD_LANGID", "0x0804", true}, {"KEYBOARD_LANGID", "zh", false},
      {"DBCS", "1", true},       {"DBCS", "0", true},       {"DBCS", "2", false},       {"ISA", "plain", true},
      {"ISA", "SSE2", true},     {"ISA", "avx512", true},   {"ISA", "avx2", false},     {"ISA", "sse2 ", false},
  };
  const HostProfile base = profileFrom({{"LANG", "en_US"}});
  for (const auto &[name, text, used] : cases) {
    const std::string variable = "QSTR14_" + name;
    HostProfile p = profileFrom({{"LANG", "en_US"}, {variable, text}});
    SCOPED_TRACE(variable + "=" + text);
    auto check = [&](const auto &field, const auto &baseField) {
      EXPECT_EQ(field.source == variable, used);
      EXPECT_EQ(field.note.empty(), used);
      if (!used) EXPECT_EQ(field.value, baseField.value);
    };
    if (name == "ACP") check(p.ansiCodePage, base.ansiCodePage);
    if (name == "OEMCP") check(p.oemCodePage, base.oemCodePage);
    if (name == "LANGID") check(p.langId, base.langId);
    if (name == "KEYBOARD_LANGID") check(p.keyboardLangId, base.keyboardLangId);
    if (name == "DBCS") check(p.dbcsEnabled, base.dbcsEnabled);
    if (name == "ISA") check(p.vectorIsa, base.vectorIsa);
  }
  EXPECT_TRUE(profileFrom({{"LANG", "en_US"}, {"QSTR14_ACP", "949"}}).dbcsEnabled.value);
  EXPECT_FALSE(profileFrom({{"LANG", "ja_JP"}, {"QSTR14_ACP", "1252"}}).dbcsEnabled.value);
  EXPECT_FALSE(profileFrom({{"LANG", "ja_JP"}, {"QSTR14_DBCS", "0"}}).dbcsEnabled.value);
  EXPECT_EQ(profileFrom({{"LANG", "en_US"}, {"QSTR14_LANGID", "0x0C04"}}).keyboardLangId.value, 0x0C04);
}

TEST(HostProfile, RegistryPath) {
  const std::vector<std::pair<Environment, std::string>> cases = {
      {{{"QSTR14_REGISTRY", "/tmp/r.reg"}, {"HOME", "/home/u"}}, "/tmp/r.reg"},
      {{{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/cfg/qstr14/registry.reg"},
      {{{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}}, "/home/u/.config/qstr14/registry.reg"},
      {{}, ":memory:"},
  };
  for (const auto &[env, path] : cases) EXPECT_EQ(profileFrom(env).registryPath.value, path);
}

// A language's default ANSI code page is text with its terminator.
TEST(HostServices, InstalledProfileAndLocaleDefaults) {
  qstr::test::ScopedProfile profile({{"LANG", "ja_JP"}, {"QSTR14_KEYBOARD_LANGID", "0x0804"}});
  EXPECT_EQ(host::ansiCodePage(), 932u);
  EXPECT_EQ(host::oemCodePage(), 932u);
  EXPECT_EQ(host::systemDefaultLangId(), 0x0411);
  EXPECT_EQ(host::keyboardLayout(), 0x08040804u);
  EXPECT_EQ(host::dbcsEnabled(), 1);
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(host::localeDefaultAnsiCodePage(0x0409, small, 4), 0);  // "1252" leaves no room
  EXPECT_EQ(host::localeDefaultAnsiCodePage(0x0411, small, 4), 4);
  EXPECT_EQ(std::string(small, 4), std::string("932", 4));
}

}  // namespace
