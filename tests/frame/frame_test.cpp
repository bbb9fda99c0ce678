// The frame: the country ID from the system language, double-byte support and the keyboard; the
// keyboard's code page and character set; the language clients set; the entry point.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/country.h"
#include "frame/state.h"
#include "qstr14/frame.h"
#include "support/host_profile.h"

namespace {

using qstr::test::Environment;
using qstr::test::ScopedProfile;
namespace frame = qstr::frame;

TEST(CountryId, BySystemLanguageThenKeyboard) {
  struct CountryCase {
    const char *langId, *dbcs;
    const char *keyboard;  // "": the system's
    uint8_t country;
  };
  const std::vector<CountryCase> cases = {
      {"0x0411", "0", "", 1}, {"0x0412", "0", "", 2}, {"0x0404", "0", "", 3},
      {"0x0804", "0", "", 4}, {"0x0401", "0", "", 5}, {"0x040D", "0", "", 6},
      {"0x0409", "0", "", 0},
      {"0x0409", "0", "0x0804", 0},  // the keyboard counts only with double-byte support
      {"0x0409", "1", "0x0804", 4},  {"0x0409", "1", "0x0404", 3},
      {"0x0409", "1", "0x0411", 0},  // a Japanese keyboard does not count
      {"0x0409", "1", "0x0045", 0},  // unknown: ANSI code page 1252
      {"0x0C04", "1", "", 3},        // Hong Kong: decided by the keyboard (950)
      {"0x0C04", "0", "", 0},   {"0x0C01", "0", "", 0} /* not the listed Arabic */,
      {"0x0411", "1", "", 1},
  };
  for (const CountryCase &c : cases) {
    Environment env = {{"LANG", "en_US"}, {"QSTR14_LANGID", c.langId}, {"QSTR14_DBCS", c.dbcs}};
    if (*c.keyboard) env["QSTR14_KEYBOARD_LANGID"] = c.keyboard;
    ScopedProfile profile(env);
    frame::resetCountryDetection();
    EXPECT_EQ(QtpiGetCountryID(), c.country) << c.langId << c.dbcs << c.keyboard;
  }
  // The last row's answer is kept until reset.
  ScopedProfile korean(Environment{{"LANG", "ko_KR"}});
  EXPECT_EQ(QtpiGetCountryID(), 1);
  frame::resetCountryDetection();
  EXPECT_EQ(QtpiGetCountryID(), 2);
  frame::resetCountryDetection();
}

TEST(KeyboardInfo, CodePageAndCharset) {
  struct Case {
    const char *keyboard, *acp;
    uint16_t codePage;
    uint8_t charset;
  };
  // The keyboard language's code page by its exact ID, else its primary language, else the ANSI
  // code page; that page's character set, 1 for none (437).
  const std::vector<Case> cases = {
      {"0x0411", "1252", 932, 128},  {"0x0409", "932", 1252, 0},    {"0x0412", "1252", 949, 129},
      {"0x0C04", "1252", 950, 136},  {"0x1004", "1252", 936, 134},  {"0x0419", "1252", 1251, 204},
      {"0x0415", "1252", 1250, 238}, {"0x1C0A", "932", 1252, 0},    {"0x0045", "950", 950, 136},
      {"0x0045", "437", 437, 1},     {"0x0045", "1361", 1361, 130},
  };
  for (const Case &c : cases) {
    ScopedProfile profile({{"LANG", "en_US"}, {"QSTR14_KEYBOARD_LANGID", c.keyboard}, {"QSTR14_ACP", c.acp}});
    uint16_t codePage = 0, onlyCodePage = 0;
    uint8_t charset = 0;
    QshGetInfoFromKeyboard(&codePage, &charset);
    EXPECT_EQ(codePage, c.codePage) << c.keyboard;
    EXPECT_EQ(charset, c.charset) << c.keyboard;
    QshGetInfoFromKeyboard(&onlyCodePage, nullptr);
    EXPECT_EQ(onlyCodePage, c.codePage);
    QshGetInfoFromKeyboard(nullptr, nullptr);
  }
}

// The first QStrInit sets the language until QStrUnInit; QStrSetLanguage always does (keeping the
// initialised flag), cut to 7 characters in the live buffer, the rest cleared.
TEST(Lifecycle, CallSequencesLeaveTheExpectedLanguage) {
  enum Kind { Init, UnInit, Set };
  struct Step {
    Kind kind;
    const char *argument, *after;
  };
  const std::vector<std::vector<Step>> sequences = {
      {{Init, "DE", "DE"}, {Init, "FR", "DE"}, {UnInit, nullptr, "DE"}, {Init, "FR", "FR"}},
      {{UnInit, nullptr, "EN"}, {Set, nullptr, "EN"}},
      {{Set, "CZ", "CZ"}, {Init, "DE", "DE"}, {Set, "SV", "SV"}, {Init, "FR", "SV"}},
      {{Set, "ABCDEFGHIJ", "ABCDEFG"}, {Set, "X", "X"}},
  };
  for (const std::vector<Step> &sequence : sequences) {
    frame::resetFrameState();
    const char *language = QStrGetLanguage();
    EXPECT_STREQ(language, "EN");
    for (const Step &step : sequence) {
      if (step.kind == UnInit) QStrUnInit();
      if (step.kind != UnInit) EXPECT_EQ((step.kind == Init ? QStrInit : QStrSetLanguage)(step.argument), 1);
      EXPECT_EQ(QStrGetLanguage(), language);
      EXPECT_EQ(std::string(language, frame::kLanguageBufferSize),
                std::string(step.after).append(frame::kLanguageBufferSize - std::strlen(step.after), '\0'));
    }
  }
  frame::resetFrameState();
}

TEST(EntryPoint, AttachAtLoadAndAnyReason) {
  EXPECT_NE(frame::moduleHandle(), nullptr);
  EXPECT_NE(frame::processHeapHandle(), nullptr);
  EXPECT_EQ(frame::entryPoint(frame::moduleHandle(), frame::kThreadDetach, nullptr), 1);
}

}  // namespace
