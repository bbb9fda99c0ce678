// Character comparison, and the shorter roads that it, lowering, the rule
// index and the position memo take, each checked against the plain road
// over its whole domain.
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

using namespace qstr::collate;

// The plain road: lower with wtolower, read values with xch2col; without a
// value, by code; upper case after lower case when the flag asks.
int32_t plainCompare(uint16_t a, uint16_t b, uint32_t caseFlag) {
  const uint16_t la = wtolower(a), lb = wtolower(b);
  const int32_t upperA = caseFlag != 0 && la != a, upperB = caseFlag != 0 && lb != b;
  if (la == lb) return upperA - upperB;
  const uint8_t va = xch2col(la), vb = xch2col(lb);
  if (va != vb) return static_cast<int32_t>(va) - static_cast<int32_t>(vb);
  if (va == 0xFF) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}

// xchcmp takes ASCII pairs by a shorter road, under plain and tailored
// sequences; only the flag's low byte and a character's low 16 bits count.
TEST(CharacterCompare, AnswersAsThePlainRoad) {
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
  QStrSetLanguage("EN");
  resetSortSequence();  // the start-up values, which the EN column does not restore
  EXPECT_EQ(xchcmp('e', 0x0128, 0x100), 0);
  EXPECT_LT(xchcmp('e', 0x0128, 0x101), 0);
  EXPECT_EQ(xchcmp(0x10041, 'A', 1), 0);
}

// Full-width letters lower through the country's class table, and so
// compare equal to their other case without the flag; short-road lowering
// below 0x80 is wtolower's under every country ID.
TEST(CharacterCompare, CaseOfDoubleWidthLettersFollowsTheCountry) {
  {
    qstr::test::ScopedCountry japanese(1);
    EXPECT_EQ(xchcmp(0x2520, 0x2540, 0), 0);
    EXPECT_GT(xchcmp(0x2520, 0x2540, 1), 0);
  }
  {
    qstr::test::ScopedCountry none(0);
    EXPECT_LT(xchcmp(0x2520, 0x2540, 0), 0);  // no case: two characters without a value, by code
  }
  for (unsigned countryId = 0; countryId <= 6; ++countryId) {
    qstr::test::ScopedCountry country(countryId);
    for (uint16_t c = 0; c < 0x80; ++c) ASSERT_EQ(qstr::asian::lowerQuickly(c), wtolower(c)) << countryId << " " << c;
  }
}

TEST(RuleTableIndex, AgreesWithTheSearchEverywhere) {
  for (uint16_t row = 0; row < 40; ++row) {
    for (uint32_t key = 0; key <= 0xFFFF; ++key) {
      const uint16_t k = static_cast<uint16_t>(key);
      ASSERT_EQ(getColRule(k, row), getColRuleBySearch(k, row)) << row << " " << key;
    }
  }
}

// The memo holds the functions' own answers for every language and
// character; one that says a character starts no contraction is right
// before every letter that ends a pair or an expansion.
TEST(PositionMemo, AgreesWithTheFunctionsEverywhere) {
  for (uint16_t language = 0; language < 40; ++language) {
    const MemoizedValues *memo = memoizedValues(language);
    ASSERT_NE(memo, nullptr);
    for (uint16_t ch = 0; ch < kMemoizedEnd; ++ch) {
      SCOPED_TRACE(testing::Message() << "language " << language << ", " << ch);
      const uint8_t primary = static_cast<uint8_t>(f_QX60ColVal(ch, language) & 0xFF);
      ASSERT_EQ(memo[ch].primary, primary);
      ASSERT_EQ(memo[ch].caseValue, f_wislower(ch) & 0xFF);
      ASSERT_EQ(memo[ch].secondary, getDiaValue(ch, primary, language));
      ASSERT_EQ(memo[ch].pairSecondary, getDiaValue(ch, (primary + 1) & 0xFF, language));
      ASSERT_EQ(memo[ch].followerRow, mayContract(language) ? rowAfterFirst(ch, language) : 0);
      if (memo[ch].mayContract) continue;
      for (const char16_t *rest : {u"", u"h", u"H", u"l", u"L", u"e", u"j", u"s", u"ch", u"ll"}) {
        uint16_t changed = ch;
        const uint16_t *text = reinterpret_cast<const uint16_t *>(rest), *pos = text;
        ASSERT_EQ(getContraction(changed, pos, language), 0);
        ASSERT_EQ(changed, ch);
        ASSERT_EQ(pos, text);
      }
    }
  }
  EXPECT_EQ(memoizedValues(40), nullptr);
}

// Where the machine reads a second character, every follower that the
// quick test says stops it does leave the first alone, and some follower
// does not stop it (the quick test is not always yes).
TEST(ContractionMachine, FollowerTestAgreesWithTheMachineForEveryFollower) {
  for (uint16_t language = 0; language < 40; ++language) {
    if (!mayContract(language)) continue;
    for (uint16_t ch = 1; ch < kMemoizedEnd; ++ch) {
      const uint8_t row = rowAfterFirst(ch, language);
      if (row == 0) continue;
      unsigned goesOn = 0;
      for (uint32_t follower = 0; follower < 0x10000; ++follower) {
        if (isMarker(static_cast<uint16_t>(follower))) continue;  // never a follower
        if (!stopsWithoutActing(row, static_cast<uint16_t>(follower))) {
          ++goesOn;
          continue;
        }
        const uint16_t text[] = {static_cast<uint16_t>(follower), 0, 0};
        uint16_t changed = ch;
        const uint16_t *pos = text;
        const uint16_t held = getContraction(changed, pos, language);
        ASSERT_TRUE(held == 0 && changed == ch && pos == text) << language << ", " << ch << " before " << follower;
      }
      EXPECT_GT(goesOn, 0u) << "language " << language << ", " << ch;
    }
  }
}

}  // namespace
