// The shorter roads that character comparison, lowering, rule lookup and
// position values take, each checked against the plain road over its whole
// domain.
#include <gtest/gtest.h>

#include "asian/ascii_case.h"
#include "asian/country_scope.h"
#include "collate/multilevel_tables.h"
#include "collate/multilevel_values.h"
#include "collate/position_memo.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"
#include "qstr14/frame.h"

namespace {

// xchcmp takes ASCII pairs by a shorter road; it must answer exactly as
// lowering with wtolower and reading values with xch2col do, under plain
// and tailored sequences.
int32_t plainCompare(uint16_t a, uint16_t b, uint32_t caseFlag) {
  const uint16_t la = wtolower(a), lb = wtolower(b);
  const int32_t upperA = caseFlag != 0 && la != a, upperB = caseFlag != 0 && lb != b;
  if (la == lb) return upperA - upperB;
  const uint8_t va = xch2col(la), vb = xch2col(lb);
  if (va != vb) return static_cast<int32_t>(va) - static_cast<int32_t>(vb);
  if (va == 0xFF) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}

TEST(CharacterCompareFastPath, AsciiPairsAnswerAsThePlainRoad) {
  for (const char *language : {"EN", "TR", "CZ", "DK"}) {
    QStrSetLanguage(language);
    lQstrSetupLang();
    for (uint16_t a = 0; a < 0x80; ++a) {
      for (uint16_t b = 0; b < 0x80; ++b) {
        for (uint32_t caseFlag : {0u, 1u}) {
          ASSERT_EQ(xchcmp(a, b, caseFlag), plainCompare(a, b, caseFlag)) << language << " " << a << " " << b;
        }
      }
    }
  }
  QStrSetLanguage("EN");
  lQstrSetupLang();
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
    }
  }
  EXPECT_EQ(qstr::collate::memoizedValues(40), nullptr);
}

}  // namespace
