// Character comparison: telltale results, and the shorter roads that it,
// lowering, rule lookup and position values take, each checked against the
// plain road over its whole domain.
#include <gtest/gtest.h>

#include <vector>

#include "asian/country_scope.h"
#include "asian/quick_lower.h"
#include "collate/multilevel/contraction.h"
#include "collate/multilevel/position_memo.h"
#include "collate/sequence/sort_sequence.h"
#include "collate/tables/multilevel_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"
#include "qstr14/frame.h"

namespace {

int sign(int32_t r) { return (r > 0) - (r < 0); }

class CharacterCompare : public ::testing::Test {
 protected:
  void SetUp() override { qstr::collate::resetSortSequence(); }
  void TearDown() override { qstr::collate::resetSortSequence(); }
};

// Beyond the plain road's agreement below: upper case after lower case,
// only the low byte of the flag and the low 16 bits of a character count.
TEST_F(CharacterCompare, TelltaleSigns) {
  struct Case { uint32_t a, b; uint32_t caseFlag; int expected; };
  const std::vector<Case> cases = {
      {'A', 'a', 1, 1}, {'0', 'A', 0, -1}, {0x0200, 'z', 0, 1}, {0x0128, 'e', 1, 1}, {0x0128, 'E', 1, 0},
      {'e', 0x0128, 0x100, 0}, {'e', 0x0128, 0x101, -1}, {0x10041, 'A', 1, 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(sign(xchcmp(c.a, c.b, c.caseFlag)), c.expected)
        << std::hex << c.a << " " << c.b << " flag " << c.caseFlag;
  }
}

// Full-width letters lower through the country's class table, so they too
// compare equal to their other case without the flag.
TEST_F(CharacterCompare, CaseOfDoubleWidthLettersFollowsTheCountry) {
  {
    qstr::test::ScopedCountry japanese(1);
    EXPECT_EQ(xchcmp(0x2520, 0x2540, 0), 0);
    EXPECT_GT(xchcmp(0x2520, 0x2540, 1), 0);
  }
  qstr::test::ScopedCountry none(0);
  EXPECT_LT(xchcmp(0x2520, 0x2540, 0), 0);  // no case: two characters without a value, by code
}

// xchcmp takes ASCII pairs by a shorter road; it must answer exactly as
// lowering with wtolower and reading values with xch2col do, under plain
// and tailored sequences, for ASCII, mixed and other pairs.
int32_t plainCompare(uint16_t a, uint16_t b, uint32_t caseFlag) {
  const uint16_t la = wtolower(a), lb = wtolower(b);
  const int32_t upperA = caseFlag != 0 && la != a, upperB = caseFlag != 0 && lb != b;
  if (la == lb) return upperA - upperB;
  const uint8_t va = xch2col(la), vb = xch2col(lb);
  if (va != vb) return static_cast<int32_t>(va) - static_cast<int32_t>(vb);
  if (va == 0xFF) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}

TEST(CharacterCompareFastPath, AnswersAsThePlainRoad) {
  for (const char *language : {"EN", "TR", "CZ", "DK"}) {
    QStrSetLanguage(language);
    lQstrSetupLang();
    std::vector<uint16_t> characters = {0x0128, 0x0129, 0x0147, 0x0200, 0x0201, 0x0800, 0x0A00, 0x0A01};
    for (uint16_t c = 0; c <= 0x80; ++c) characters.push_back(c);
    for (uint16_t a : characters) {
      for (uint16_t b : characters) {
        for (uint32_t caseFlag : {0u, 1u}) {
          ASSERT_EQ(xchcmp(a, b, caseFlag), plainCompare(a, b, caseFlag)) << language << " " << a << " " << b;
        }
      }
    }
  }
  // Back to the start-up values, which the EN column does not restore.
  QStrSetLanguage("EN");
  qstr::collate::resetSortSequence();
}

// Lowering below 0x80 by the short road gives wtolower's answer under
// every country ID.
TEST(CharacterCompareFastPath, AsciiLoweringIsWtolowers) {
  for (unsigned countryId = 0; countryId <= 6; ++countryId) {
    qstr::test::ScopedCountry country(countryId);
    for (uint16_t c = 0; c < 0x80; ++c) ASSERT_EQ(qstr::asian::lowerQuickly(c), wtolower(c)) << countryId << " " << c;
  }
}

// The indexed rule table answers as the plain search of its rows does, for
// every key of every row.
TEST(RuleTableIndex, AgreesWithTheSearchEverywhere) {
  for (uint16_t row = 0; row < 40; ++row) {
    for (uint32_t key = 0; key <= 0xFFFF; ++key) {
      const uint16_t k = static_cast<uint16_t>(key);
      ASSERT_EQ(qstr::collate::getColRule(k, row), qstr::collate::getColRuleBySearch(k, row)) << row << " " << key;
    }
  }
}

// A character the memo says cannot start a contraction is left alone by
// the machine before every letter that ends a pair or an expansion.
void expectNoContraction(uint16_t ch, uint16_t language) {
  for (const char16_t *rest : {u"", u"h", u"H", u"l", u"L", u"e", u"j", u"s", u"ch", u"ll"}) {
    const auto *text = reinterpret_cast<const uint16_t *>(rest);
    uint16_t changed = ch;
    const uint16_t *pos = text;
    ASSERT_EQ(qstr::collate::getContraction(changed, pos, language), 0) << language << " " << ch;
    ASSERT_EQ(changed, ch);
    ASSERT_EQ(pos, text);
  }
}

// The memoized position values are the functions' own answers, for every
// language and every character they cover.
TEST(PositionMemo, AgreesWithTheFunctionsEverywhere) {
  for (uint16_t language = 0; language < 40; ++language) {
    const qstr::collate::MemoizedValues *memo = qstr::collate::memoizedValues(language);
    ASSERT_NE(memo, nullptr);
    for (uint16_t ch = 0; ch < qstr::collate::kMemoizedEnd; ++ch) {
      const uint8_t primary = static_cast<uint8_t>(f_QX60ColVal(ch, language) & 0xFF);
      ASSERT_EQ(memo[ch].primary, primary) << language << " " << ch;
      ASSERT_EQ(memo[ch].caseValue, f_wislower(ch) & 0xFF) << language << " " << ch;
      ASSERT_EQ(memo[ch].secondary, qstr::collate::getDiaValue(ch, primary, language)) << language << " " << ch;
      ASSERT_EQ(memo[ch].pairSecondary, qstr::collate::getDiaValue(ch, (primary + 1) & 0xFF, language))
          << language << " " << ch;
      if (!memo[ch].mayContract) expectNoContraction(ch, language);
      const bool contracts = qstr::collate::mayContract(language);
      ASSERT_EQ(memo[ch].followerRow, contracts ? qstr::collate::rowAfterFirst(ch, language) : 0)
          << language << " " << ch;
    }
  }
  EXPECT_EQ(qstr::collate::memoizedValues(40), nullptr);
}

// Where the machine reads a second character, every character that the
// quick test says stops it does leave the first alone (and some character
// does not stop it: the quick test is not always yes).
TEST(ContractionMachine, FollowerTestAgreesWithTheMachineForEveryFollower) {
  for (uint16_t language = 0; language < 40; ++language) {
    if (!qstr::collate::mayContract(language)) continue;
    for (uint16_t ch = 1; ch < qstr::collate::kMemoizedEnd; ++ch) {
      const uint8_t row = qstr::collate::rowAfterFirst(ch, language);
      if (row == 0) continue;
      unsigned goesOn = 0;
      for (uint32_t follower = 0; follower < 0x10000; ++follower) {
        if (qstr::collate::isMarker(static_cast<uint16_t>(follower))) continue;  // never a follower
        const uint16_t text[] = {static_cast<uint16_t>(follower), 0, 0};
        uint16_t changed = ch;
        const uint16_t *pos = text;
        const uint16_t held = qstr::collate::getContraction(changed, pos, language);
        const bool leftAlone = held == 0 && changed == ch && pos == text;
        if (!qstr::collate::stopsWithoutActing(row, static_cast<uint16_t>(follower))) {
          ++goesOn;
          continue;
        }
        ASSERT_TRUE(leftAlone) << "language " << language << ", " << ch << " before " << follower;
      }
      EXPECT_GT(goesOn, 0u) << "language " << language << ", " << ch;
    }
  }
}

}  // namespace
