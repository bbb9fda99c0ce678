// The multi-level comparison: one case per rule of each language group
// (case, accents, markers, tailoring, contractions, expansions,
// right-to-left ignorables), null strings, language codes, and the
// passing over of a common start.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "collate/multilevel/multilevel_compare.h"
#include "collate/multilevel_strings.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

namespace {

using qstr::test::Native;

struct Case {
  uint16_t language;
  Native a, b;
  int32_t plain;      // result with both flags clear
  int32_t withCase;   // result with the case flag set
};

TEST(MultilevelCompare, ByLanguageGroup) {
  const uint16_t sheva = 0x091B;  // a Hebrew point: ignorable
  const uint16_t alef = 0x0900, bet = 0x0901;
  const std::vector<Case> cases = {
      // Plain order.
      {0, {"abc"}, {"ab"}, 1, 1},
      {0, {"a"}, {"A"}, 0, -1},                 // lower case first when case counts
      {0, {"Ab"}, {"aa"}, 1, 1},                // a primary difference beats an earlier case one
      {0, {"a", 0x0129}, {"A", 0x0128}, 0, -1},  // e acute both sides: only case
      {0, {"e"}, {0x0129}, -1, -1},             // plain letter before the accented one
      {0, {0x0129, "a"}, {"eb"}, -1, -1},       // primary first: a < b wins over the accent
      {0, {0x0129, "b"}, {"eb"}, 1, 1},         // then the first secondary difference
      {0, {"A", 0x0129}, {"a", 0x0128}, 0, 1},  // accents alike whatever their case
      {0, {"A", 0x0129}, {"a", 0x012F}, -1, -1},  // secondary (acute, grave) before case
      {0, {"a", 0xF901, "b"}, {"ab"}, 0, 0},    // markers are passed over
      {0, {0xF9FF, "ab", 0xFE01}, {"ab"}, 0, 0},
      {0, {"a", 0xF909}, {"a"}, 1, 1},          // the tab marker is a character (primary 0)
      {0, {"a", 0xF909}, {"a!"}, -1, -1},
      {0, {"z"}, {0x0200}, -1, -1},             // a character without value sorts last
      {0, {0x0200}, {0x0201}, -1, -1},          // two of them by code
      // Reversed case order.
      {18, {"a"}, {"A"}, 0, 1}, {18, {"Ab"}, {"ab"}, 0, -1}, {0, {"Ab"}, {"ab"}, 0, 1},
      // Tailoring.
      {6, {0x0124}, {"z"}, 1, 1},                // Danish ae after z
      {0, {0x0124}, {"z"}, -1, -1},
      {30, {0x011E}, {"z"}, 1, 1},               // Swedish a diaeresis after z
      {16, {0x011E}, {"b"}, -1, -1},             // German: a diaeresis is an a
      {5, {0x0162}, {"cz"}, 1, 1},               // Czech c caron after every c
      {1, {0x0162}, {"cz"}, -1, -1},             // a language with no group of its own
      {33, {0x01EF}, {"h"}, 1, 1},               // Turkish dotless i between h and i
      {31, {0x0A3A}, {0x0A40}, 1, 1},            // soft sign after ya in group 18
      {27, {0x0A3A}, {0x0A40}, -1, -1},
      // Contractions.
      {29, {"cz"}, {"ch"}, -1, -1},  // "ch" after every other c sequence
      {29, {"ch"}, {"d"}, -1, -1}, {29, {"CH"}, {"ch"}, 0, 1},
      {29, {"Ch"}, {"cH"}, 0, 1},    // only the first letter's case counts
      {29, {"lz"}, {"ll"}, -1, -1}, {29, {"lla"}, {"lz"}, 1, 1},
      {3, {"llz"}, {"lma"}, 1, 1},   // Catalan: "ll" too
      {3, {0x0197, "lz"}, {"lma"}, 1, 1},
      {5, {"ch"}, {"h"}, 1, 1},      // Czech: "ch" between h and i
      {5, {"ch"}, {"hz"}, 1, 1},
      {0, {"ch"}, {"d"}, -1, -1},    // no contraction in the plain order
      {16, {"ch"}, {"cz"}, -1, -1},  // nor in German
      // Expansions.
      {14, {0x0125}, {"ae"}, 0, 0},        // French ae ligature as "ae"
      {14, {0x0124}, {"ae"}, 0, 1},        // its capital as "AE"
      {14, {0x0125}, {"af"}, -1, -1},
      {13, {0x01A7, "z"}, {"oez"}, 0, 0},  // Canadian French oe
      {16, {0x0117}, {"ss"}, 0, 0},        // German sharp s as "ss"
      {16, {"a", 0x0117, "e"}, {"asst"}, -1, -1},
      {7, {0x018B, "s"}, {"ijs"}, 0, 0},   // Dutch ij
      {0, {0x0125}, {"ae"}, 1, 1},         // plain order: ae is a letter of its own
      // Right to left.
      {19, {alef}, {bet}, -1, -1},
      {19, {alef, sheva}, {alef}, 1, 1},         // trailing ignorable: the longer sorts last
      {19, {alef, sheva, bet}, {alef, bet}, 1, 1},  // decided by the secondary level
      {19, {alef, sheva, "a"}, {alef, "b"}, -1, -1},  // ignorables do not count at the primary level
      {19, {sheva, alef}, {alef, sheva}, 1, 1},
      {2, {0x0D2F}, {0x0D30}, 0, 0},             // positional forms of beh
      {2, {0x0D2F}, {0x0E2C}, 0, 0},             // the same beh in set 14
      {2, {0x0DB1}, {0x0DA5}, -1, -1},           // alef before alef with madda (secondary)
      {2, {0x0DB5}, {0x0D2F}, 1, 1},             // peh: a beh told apart by its code
      {2, {0x0D2F}, {0x0D33}, -1, -1},           // beh before teh
      {19, {0x0A00}, {0x0A02}, -1, -1},          // Cyrillic has no value here: by code
      {0, {alef}, {bet}, -1, -1},                // no block outside the right-to-left table
      // Late diaeresis: a diaeresis (rank 6, or 9) against a ring (rank 8)
      // and a macron (17).
      {0, {0x011E}, {0x0122}, -1, -1},
      {5, {0x0146}, {0x01C4}, 1, 1},  // Czech: u diaeresis after u ring
      {22, {0x0146}, {0x01C4}, -1, -1},
      {5, {0x0146}, {0x01C0}, -1, -1},  // still before the macron
      {30, {0x0146}, {"x"}, 1, 1},      // Swedish sorts it as a y
      {30, {0x0146}, {"z"}, -1, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("language " + std::to_string(c.language) + ": '" + c.a.describe() + "' vs '" + c.b.describe() + "'");
    EXPECT_EQ(QxQS6Cmpcoll(c.a.get(), c.b.get(), c.language, 0, 0), c.plain);
    EXPECT_EQ(QxQS6Cmpcoll(c.a.get(), c.b.get(), c.language, 1, 0), c.withCase);
    // Swapping the strings swaps the answer.
    EXPECT_EQ(QxQS6Cmpcoll(c.b.get(), c.a.get(), c.language, 0, 0), -c.plain);
    EXPECT_EQ(QxQS6Cmpcoll(c.b.get(), c.a.get(), c.language, 1, 0), -c.withCase);
  }
}

TEST(MultilevelCompare, NullStrings) {
  const Native a{"a"};
  EXPECT_EQ(QxQS6Cmpcoll(nullptr, nullptr, 0, 0, 0), 0);
  EXPECT_EQ(QxQS6Cmpcoll(nullptr, a.get(), 0, 0, 0), -1);
  EXPECT_EQ(QxQS6Cmpcoll(a.get(), nullptr, 0, 0, 0), 1);
  const Native empty{""};
  EXPECT_EQ(QxQS6Cmpcoll(nullptr, empty.get(), 29, 1, 1), -1);
  EXPECT_EQ(QxQS6Cmpcoll(empty.get(), empty.get(), 19, 1, 0), 0);
  EXPECT_EQ(QxQS6Cmpcoll(empty.get(), a.get(), 19, 0, 0), -1);
}

TEST(MultilevelCompare, LanguageCodes) {
  const std::pair<const char *, uint16_t> codes[] = {{"US", 0}, {"XX", 0}, {"TA", 39}, {"ES", 29},
                                                     {"dk", 0}, {"DKX", 6}, {"", 0}};
  for (const auto &[code, number] : codes) EXPECT_EQ(QxLanguage(code), number) << code;
  char out[3] = {1, 1, 1};
  for (uint16_t n = 0; n < 40; ++n) {
    QxNum2Lang(n, out);
    EXPECT_EQ(out[2], '\0');
    EXPECT_EQ(QxLanguage(out), n);
  }
  QxNum2Lang(40, out);
  EXPECT_STREQ(out, "US");
  QxNum2Lang(0xFFFF, out);
  EXPECT_STREQ(out, "US");
}

TEST(MultilevelCompare, ByLanguageCode) {
  const Native dk{0x0124}, z{"z"}, ch{"ch"}, d{"d"};
  EXPECT_EQ(QxQS6CmpcollLang(dk.get(), z.get(), "DK", 0, 0), 1);
  EXPECT_EQ(QxQS6CmpcollLang(dk.get(), z.get(), "dk", 0, 0), -1);  // exact codes only
  EXPECT_EQ(QxQS6CmpcollLang(dk.get(), z.get(), nullptr, 0, 0), QxQS6Cmpcoll(dk.get(), z.get(), 0, 0, 0));
  EXPECT_EQ(QxQS6CmpcollLang(ch.get(), d.get(), "ES", 0, 0), -1);
  EXPECT_EQ(QxQS6CmpcollLang(nullptr, d.get(), "ES", 0, 0), -1);
}

// Passing over the common start gives what walking from the first position
// gives, in every language. A marker put before one string is passed over
// by the comparison but leaves the strings no common start, so the walk
// begins at the first position. The pairs: random pairs that share a start made of the
// letters of the pairs and expansions, their capitals, accented letters,
// markers and characters from beyond the memo.
TEST(MultilevelCompare, PassingTheCommonStartChangesNothing) {
  const std::vector<uint16_t> alphabet = {'a', 'c', 'h', 'l', 'L', 'C', 'H', 's', 'e', 'i', 'j', ' ',
                                          0x0129, 0x011E, 0x0117, 0xF909, 0xF90A, 0xF920, 0x3042, 0x0F10};
  std::mt19937 random(14);
  auto pick = [&] { return alphabet[random() % alphabet.size()]; };
  for (int round = 0; round < 4000; ++round) {
    std::vector<uint16_t> shared(random() % 6), a, b;
    for (uint16_t &unit : shared) unit = pick();
    a = b = shared;
    for (std::size_t n = random() % 4; n > 0; --n) a.push_back(pick());
    for (std::size_t n = random() % 4; n > 0; --n) b.push_back(pick());
    a.push_back(0);
    b.push_back(0);
    std::vector<uint16_t> withMarker = a;
    withMarker.insert(withMarker.begin(), 0xF920);
    for (uint16_t language = 0; language < 40; ++language) {
      for (bool caseFlag : {false, true}) {
        const qstr::collate::CollationOptions options{language, caseFlag, false};
        const auto passed = qstr::collate::compareExplained(a.data(), b.data(), options);
        const auto walked = qstr::collate::compareExplained(withMarker.data(), b.data(), options);
        ASSERT_EQ(passed.result, walked.result) << Native(a).describe() << " / " << Native(b).describe() << " in "
                                                << language;
        ASSERT_EQ(passed.level, walked.level) << Native(a).describe() << " / " << Native(b).describe();
      }
    }
  }
}

}  // namespace
