// The multi-level comparison, one case per rule, and language codes.
#include <gtest/gtest.h>

#include <utility>

#include "support/collation_keys.h"

namespace {

using qstr::test::units;

struct Case {
  uint16_t language;
  const char16_t *a, *b;
  int32_t plain, withCase;
};

// e acute U+0129 (capital U+0128); Hebrew alef U+0900 and sheva U+091B (ignorable).
TEST(MultilevelCompare, ByLanguageGroup) {
  const Case cases[] = {
      // Plain order: primary, secondary, case; markers passed over but the tab; no value last.
      {0, u"abc", u"ab", 1, 1}, {0, u"a", u"A", 0, -1}, {0, u"Ab", u"aa", 1, 1}, {0, u"e", u"\u0129", -1, -1},
      {0, u"\u0129a", u"eb", -1, -1}, {0, u"A\u0129", u"a\u0128", 0, 1}, {0, u"A\u0129", u"a\u012F", -1, -1},
      {0, u"\uF9FFa\uF901b\uFE01", u"ab", 0, 0}, {0, u"a\uF909", u"a", 1, 1}, {0, u"a\uF909", u"a!", -1, -1},
      {0, u"z", u"\u0200", -1, -1}, {0, u"\u0200", u"\u0201", -1, -1},
      {18, u"a", u"A", 0, 1},  // upper case first
      // Tailoring: Danish ae, German a diaeresis, Czech c caron; none without a group.
      {6, u"\u0124", u"z", 1, 1}, {0, u"\u0124", u"z", -1, -1}, {16, u"\u011E", u"b", -1, -1},
      {5, u"\u0162", u"cz", 1, 1}, {1, u"\u0162", u"cz", -1, -1},
      // Contractions: Spanish "ch", "ll" (case of the first letter), Catalan "ll", Czech "ch".
      {29, u"cz", u"ch", -1, -1}, {29, u"ch", u"d", -1, -1}, {29, u"Ch", u"cH", 0, 1},
      {29, u"lz", u"ll", -1, -1}, {3, u"llz", u"lma", 1, 1}, {3, u"\u0197lz", u"lma", 1, 1},
      {5, u"ch", u"hz", 1, 1}, {16, u"ch", u"cz", -1, -1},
      // Expansions: French ae and AE, Canadian French oe, German sharp s, Dutch ij.
      {14, u"\u0125", u"ae", 0, 0}, {14, u"\u0124", u"ae", 0, 1}, {13, u"\u01A7z", u"oez", 0, 0},
      {16, u"a\u0117e", u"asse", 0, 0}, {7, u"\u018Bs", u"ijs", 0, 0}, {0, u"\u0125", u"ae", 1, 1},
      // Right to left: ignorables from the secondary level on; Arabic forms, alef, beh, peh.
      {19, u"\u0900\u091B", u"\u0900", 1, 1}, {19, u"\u0900\u091B\u0901", u"\u0900\u0901", 1, 1},
      {19, u"\u0900\u091Ba", u"\u0900b", -1, -1}, {2, u"\u0D2F", u"\u0D30", 0, 0},
      {2, u"\u0D2F", u"\u0E2C", 0, 0}, {2, u"\u0DB1", u"\u0DA5", -1, -1}, {2, u"\u0DB5", u"\u0D2F", 1, 1},
      // Late diaeresis (Czech) between ring and macron; Swedish u diaeresis as a y.
      {5, u"\u0146", u"\u01C4", 1, 1}, {22, u"\u0146", u"\u01C4", -1, -1}, {5, u"\u0146", u"\u01C0", -1, -1},
      {30, u"\u0146", u"x", 1, 1}, {30, u"\u0146", u"z", -1, -1},
  };
  for (const Case &c : cases) {
    const uint16_t *a = units(c.a), *b = units(c.b);
    SCOPED_TRACE(&c - cases);
    EXPECT_EQ(QxQS6Cmpcoll(a, b, c.language, 0, 0), c.plain);
    EXPECT_EQ(QxQS6Cmpcoll(a, b, c.language, 1, 0), c.withCase);
    EXPECT_EQ(QxQS6Cmpcoll(b, a, c.language, 1, 0), -c.withCase);
  }
}

// Two capital letters (a third ignored); unknown codes and numbers are "US".
TEST(MultilevelCompare, LanguageCodes) {
  const std::pair<const char *, uint16_t> codes[] = {{"XX", 0}, {"dk", 0}, {"DKX", 6}, {"", 0}};
  for (const auto &[code, number] : codes) EXPECT_EQ(QxLanguage(code), number) << code;
  char out[3] = {1, 1, 1};
  for (uint16_t n = 0; n < 40; ++n) {
    QxNum2Lang(n, out);
    EXPECT_EQ(out[2], '\0');
    EXPECT_EQ(QxLanguage(out), n);
  }
  QxNum2Lang(40, out);
  EXPECT_STREQ(out, "US");
  const uint16_t *ae = units(u"\u0124"), *z = units(u"z");
  EXPECT_EQ(QxQS6CmpcollLang(ae, z, "DK", 0, 0), 1);
  EXPECT_EQ(QxQS6CmpcollLang(ae, z, nullptr, 0, 0), QxQS6Cmpcoll(ae, z, 0, 0, 0));
}

}  // namespace
