// The host profile (locale, code pages, language IDs and registry path derived from the
// environment, and the overrides that parse) and the host services: profile queries, atoms, memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "host/host.h"
#include "host/profile.h"
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
      {{{"LANG", "fr_SN.UTF-8"}}, "fr_FR", 0x040C, 1252, 850, false},  // unlisted: the language's first row
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
  // Unknown locales leave a note.
  EXPECT_NE(profileFrom({{"LANG", "xx_YY"}}).locale.note.find("LANG=\"xx_YY\""), std::string::npos);
  HostProfile p = profileFrom({{"QSTR14_LOCALE", "klingon"}, {"LANG", "da_DK"}});
  EXPECT_EQ(p.locale.source, "LANG");
  EXPECT_NE(p.locale.note.find("QSTR14_LOCALE"), std::string::npos);
}

// An override is used, and leaves no note, only when it parses; double-byte support follows the
// ANSI code page, the keyboard the system language.
TEST(HostProfile, OverridesAreUsedOnlyWhenTheyParse) {
  const std::vector<std::tuple<std::string, const char *, bool>> cases = {
      {"QSTR14_ACP", "932", true},       {"QSTR14_ACP", "0x3A4", true},     {"QSTR14_ACP", "932x", false},
      {"QSTR14_ACP", "abc", false},      {"QSTR14_ACP", "0", false},        {"QSTR14_ACP", "65535", true},
      {"QSTR14_ACP", "65536", false},    {"QSTR14_ACP", "99999999999999999999", false},
      {"QSTR14_OEMCP", "850", true},     {"QSTR14_OEMCP", " 850", false},
      {"QSTR14_LANGID", "0x0411", true}, {"QSTR14_LANGID", "1041", true},   {"QSTR14_LANGID", "0", true},
      {"QSTR14_LANGID", "0x10000", false}, {"QSTR14_LANGID", "0x", false},
      {"QSTR14_KEYBOARD_LANGID", "0x0804", true}, {"QSTR14_KEYBOARD_LANGID", "zh", false},
      {"QSTR14_DBCS", "1", true},        {"QSTR14_DBCS", "0", true},        {"QSTR14_DBCS", "2", false},
      {"QSTR14_ISA", "plain", true},     {"QSTR14_ISA", "SSE2", true},      {"QSTR14_ISA", "avx512", true},
      {"QSTR14_ISA", "avx2", false},     {"QSTR14_ISA", "sse2 ", false},
  };
  const HostProfile base = profileFrom({{"LANG", "en_US"}});
  for (const auto &[variable, text, used] : cases) {
    HostProfile p = profileFrom({{"LANG", "en_US"}, {variable, text}});
    auto check = [&](const auto &field, const auto &baseField) {
      EXPECT_EQ(field.source == variable, used) << variable << "=" << text;
      EXPECT_EQ(field.note.empty(), used) << variable << "=" << text;
      if (!used) EXPECT_EQ(field.value, baseField.value) << variable << "=" << text;
    };
    if (variable == "QSTR14_ACP") check(p.ansiCodePage, base.ansiCodePage);
    if (variable == "QSTR14_OEMCP") check(p.oemCodePage, base.oemCodePage);
    if (variable == "QSTR14_LANGID") check(p.langId, base.langId);
    if (variable == "QSTR14_KEYBOARD_LANGID") check(p.keyboardLangId, base.keyboardLangId);
    if (variable == "QSTR14_DBCS") check(p.dbcsEnabled, base.dbcsEnabled);
    if (variable == "QSTR14_ISA") check(p.vectorIsa, base.vectorIsa);
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

// The services read the installed profile; a language's default ANSI code page as text (by its
// exact ID, else its primary language; unlisted: 0), and a code page's character set.
TEST(HostServices, InstalledProfileLocaleDefaultsAndCharsets) {
  qstr::test::ScopedProfile profile({{"LANG", "ja_JP"}, {"QSTR14_KEYBOARD_LANGID", "0x0804"}});
  EXPECT_EQ(host::ansiCodePage(), 932u);
  EXPECT_EQ(host::oemCodePage(), 932u);
  EXPECT_EQ(host::systemDefaultLangId(), 0x0411);
  EXPECT_EQ(host::keyboardLayout(), 0x08040804u);
  EXPECT_EQ(host::dbcsEnabled(), 1);
  for (const auto &[langId, text] : std::vector<std::pair<uint16_t, std::string>>{
           {0x0411, "932"}, {0x0804, "936"}, {0x0C04, "950"}, {0x1004, "936"}, {0x0419, "1251"},
           {0x1C0A, "1252"} /* es, unlisted */, {0x0045, ""} /* Bengali: not listed */}) {
    char buffer[6] = {};
    EXPECT_EQ(host::localeDefaultAnsiCodePage(langId, buffer, 6), text.empty() ? 0 : int(text.size()) + 1);
    EXPECT_EQ(buffer, text);
  }
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(host::localeDefaultAnsiCodePage(0x0409, small, 4), 0);  // no room for the terminator
  EXPECT_EQ(host::localeDefaultAnsiCodePage(0x0411, small, 4), 4);
  EXPECT_EQ(std::string(small, 4), std::string("932", 4));
  for (const auto &[codePage, charset] : std::vector<std::pair<uint32_t, int>>{
           {932, 128}, {949, 129}, {950, 136}, {1251, 204}, {1252, 0}, {1250, 238}, {437, -1}, {0, -1}}) {
    uint32_t found = 999;
    EXPECT_EQ(host::translateCharsetInfo(codePage, &found), charset >= 0) << codePage;
    EXPECT_EQ(found, charset >= 0 ? uint32_t(charset) : 999u) << codePage;
  }
}

// Equal names, whatever their case, share an atom while held, also when added from many threads.
TEST(Atoms, EqualNamesShareAnAtomWhileHeld) {
  std::vector<uint16_t> atoms(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < atoms.size(); ++i) {
    const char *name = i % 2 ? "hkey_current_user\\software\\x" : "HKEY_CURRENT_USER\\Software\\X";
    threads.emplace_back([&atoms, i, name] { atoms[i] = host::addAtom(name); });
  }
  for (std::thread &t : threads) t.join();
  EXPECT_GE(atoms[0], 0xC000);
  EXPECT_EQ(std::count(atoms.begin(), atoms.end(), atoms[0]), 8);
  const uint16_t other = host::addAtom("Another");
  EXPECT_NE(other, atoms[0]);
  for (uint16_t atom : atoms) EXPECT_EQ(host::deleteAtom(atom), 0);
  EXPECT_EQ(host::deleteAtom(atoms[0]), atoms[0]);  // released: deleting again fails
  EXPECT_EQ(host::deleteAtom(other), 0);
  // Integer names up to 0xBFFF are their own atoms; a name of 256 bytes or more is refused.
  for (const auto &[name, atom] : std::vector<std::pair<std::string, int>>{
           {"#123", 123}, {"#49151", 49151}, {"#49152", 0}, {"#0", 0}, {"#12a", -1} /* a string atom */,
           {"", 0}, {std::string(256, 'x'), 0}, {std::string(255, 'x'), -1}}) {
    if (atom >= 0) EXPECT_EQ(host::addAtom(name.c_str()), atom) << name;
    if (atom < 0) EXPECT_GE(host::addAtom(name.c_str()), 0xC000) << name;
  }
  EXPECT_EQ(host::deleteAtom(123), 0);
  EXPECT_EQ(host::addAtom(nullptr), 0);
}

TEST(Memory, PagesGlobalBlocksAndTheHeap) {
  const std::size_t reserved = 0x100000, page = host::kPageSize;
  auto *base = static_cast<uint8_t *>(host::reservePages(reserved));
  ASSERT_NE(base, nullptr);
  ASSERT_TRUE(host::commitPages(base, page));
  EXPECT_EQ(base[0], 0);
  std::memset(base, 0xAB, page);
  ASSERT_TRUE(host::commitPages(base + page + 100, 2 * page));  // covers every page it touches
  std::memset(base + page, 0xCD, 3 * page);
  EXPECT_EQ(base[page - 1], 0xAB);
  host::releasePages(base, reserved);
  EXPECT_EQ(host::reservePages(0), nullptr);
  host::GlobalHandle handle = host::globalAlloc(64);
  auto *data = static_cast<uint8_t *>(host::globalLock(handle));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::count(data, data + 64, 0), 64);
  host::globalUnlock(handle);
  host::globalFree(handle);
  EXPECT_EQ(host::globalLock(nullptr), nullptr);
  auto *block = static_cast<uint8_t *>(host::heapAlloc(host::processHeap(), 32, true));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::count(block, block + 32, 0), 32);
  block[31] = 7;
  block = static_cast<uint8_t *>(host::heapReAlloc(host::processHeap(), block, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[31], 7);
  host::heapFree(host::processHeap(), block);
}

}  // namespace
