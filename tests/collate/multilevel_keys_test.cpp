// Sort keys order random strings as the comparison does, which is an order; the rule index and
// memo answer as the functions.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "asian/country_scope.h"
#include "collate/multilevel/contraction.h"
#include "collate/multilevel/position_memo.h"
#include "collate/tables/multilevel_tables.h"
#include "collate/values/multilevel_values.h"
#include "support/collation_keys.h"

namespace {

using namespace qstr::collate;
using qstr::test::keyOrderFault;
using qstr::test::units;

struct Group {
  std::vector<uint16_t> languages;
  std::u16string alphabet;
  unsigned exactPercent = 75;
};

// Small alphabets make rare patterns common: restarting pairs ("lll"), ignorables near secondaries.
const Group kGroups[] = {
    {{29, 3, 5, 16, 14}, u"lLchm\u0197\u0101\u0117\u0125", 10},
    {{19, 2}, u"\u0900\u091B\u092C\u8912\u891B\u8D00\u0D00\u0DC2a", 10},
    {{0, 6, 21, 23, 30, 31, 33, 22, 29, 3, 5, 28, 14, 13, 16, 7, 18},
     u"abchlzACHLeE -1\u0129\u0128\u012F\u011E\u011F\u0122\u0124\u0125\u013F\u0146\u0151\u0163\u01AB\u01B1"
     u"\u01CF\u01EE\u01EF\u0117\u018A\u018B\u01A6\u01A7\u0196\u0197\u0101\u0A3A\u0A3B\u0A00\u0801\u0835"
     u"\u0200\u0201\uF901\uF909"},
    {{19, 2, 11, 32},
     u"\u0900\u0901\u0904\u090A\u090B\u091B\u0927\u0955\u0957\u0D00\u0D0C\u0D26\u0D2F\u0D30\u0D33\u0D40"
     u"\u0DA4\u0DA5\u0DA7\u0DB1\u0DB5\u0DC2\u0E00\u0E2A\u0E2C\u0E40\u0E41aAb\u0129\u0200\uF901\uF909"},
    {{34, 36, 39},
     u"\u255E\u255F\u2560\u2561\u2568\u2569\u2600\u2601\u260A\u260B\u2630\u0B06\u0B15\u0B29\u0B3D\u0B3E"
     u"\u241B\u2412\u2413\u2418\u2401\u240A\u2520\u2540\u3021\u3022aA\u0129\u0200\uF909"},
};

std::mt19937 randomEngine(20240611);

size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(randomEngine); }

std::u16string randomString(const std::u16string &alphabet) {
  std::u16string s(pick(7), u'a');
  for (char16_t &unit : s) unit = alphabet[pick(alphabet.size())];
  return s;
}

// A string near `s`: a unit or two edited, or a case flipped.
std::u16string nearString(std::u16string s, const std::u16string &alphabet) {
  for (size_t edits = 1 + pick(2); edits > 0; --edits) {
    const size_t at = pick(s.size() + 1);
    const bool inside = at < s.size();
    switch (pick(4)) {
      case 0: s.insert(s.begin() + at, alphabet[pick(alphabet.size())]); break;
      case 1: if (inside) s.erase(s.begin() + at); break;
      case 2: if (inside) s[at] = alphabet[pick(alphabet.size())]; break;
      default:
        if (inside && s[at] < 0x80) s[at] ^= 0x20;
        else if (inside && s[at] >= 0x0100 && s[at] < 0x0B00) s[at] ^= 1;
    }
  }
  return s;
}

TEST(MultilevelKeys, OrderAsTheComparisonForEveryLanguageGroup) {
  qstr::test::ScopedCountry japan(1);
  for (const Group &group : kGroups) {
    for (uint16_t language : group.languages) {
      for (uint16_t flags = 0; flags < 4; ++flags) {
        SCOPED_TRACE(testing::Message() << language << "/" << flags);
        const uint16_t caseFlag = flags & 1, kanaFlag = flags >> 1;
        const auto compare = [&](const std::u16string &a, const std::u16string &b) {
          return QxQS6Cmpcoll(units(a.c_str()), units(b.c_str()), language, caseFlag, kanaFlag);
        };
        unsigned checked = 0, pairs = 600;
        for (unsigned i = 0; i < pairs; ++i) {
          const std::u16string a = randomString(group.alphabet);
          const std::u16string b = i % 3 == 0 ? randomString(group.alphabet) : nearString(a, group.alphabet);
          const std::u16string c = nearString(b, group.alphabet);
          const auto where = [&] { return testing::PrintToString(a + u'|' + b + u'|' + c); };
          bool exact = false;
          const bool nullA = i % 97 == 0, nullB = i % 89 == 0;
          ASSERT_EQ(keyOrderFault(a, b, nullA, nullB, language, caseFlag, kanaFlag, &exact), "") << where();
          checked += exact;
          // Spanish and Catalan are no order: "Ll.." = "lL..", "lL.." > "lLL..", "Ll.." < "lLL..".
          if (language == 3 || language == 29) continue;
          const int ab = compare(a, b), bc = compare(b, c), ac = compare(a, c);
          if (ab <= 0 && bc <= 0) ASSERT_LE(ac, 0) << where();
          if (ab >= 0 && bc >= 0) ASSERT_GE(ac, 0) << where();
        }
        EXPECT_GE(checked * 100, pairs * group.exactPercent);
      }
    }
  }
}

// Keys may be inexact only where a pair's letter may start a pair again, or right to left.
TEST(MultilevelKeys, WhereKeysAreAlwaysExact) {
  for (uint16_t language : {0, 5, 14, 34}) EXPECT_EQ(QsKeyAlwaysExact(language, 1, 1), 1) << language;
  for (uint16_t language : {29, 3, 19}) EXPECT_EQ(QsKeyAlwaysExact(language, 0, 0), 0) << language;
}

// A buffer too short gets the key's start, nothing past it, and the full size back.
TEST(MultilevelKeys, ShortBufferGetsTheStartAndTheFullSize) {
  uint8_t full[128], partial[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  const size_t length = QsKeyBuild(units(u"Hello"), 0, 1, 0, full, sizeof full, nullptr);
  EXPECT_EQ(QsKeyBuild(units(u"Hello"), 0, 1, 0, partial, 3, nullptr), length);
  EXPECT_EQ(std::vector<uint8_t>(partial, partial + 3), std::vector<uint8_t>(full, full + 3));
  EXPECT_EQ(partial[3], 0xAA);
}

// A character the memo says starts no contraction starts none.
TEST(PositionMemo, AgreesWithTheFunctionsEverywhere) {
  for (uint16_t row = 0; row < 40; ++row) {
    for (uint32_t key = 0; key <= 0xFFFF; ++key) {
      ASSERT_EQ(getColRule(key, row), getColRuleBySearch(key, row)) << row << " " << key;
    }
  }
  for (uint16_t language = 0; language < 40; ++language) {
    const MemoizedValues *memo = memoizedValues(language);
    ASSERT_NE(memo, nullptr);
    for (uint16_t ch = 0; ch < kMemoizedEnd; ++ch) {
      SCOPED_TRACE(testing::Message() << language << " " << ch);
      const uint8_t primary = static_cast<uint8_t>(f_QX60ColVal(ch, language) & 0xFF);
      ASSERT_EQ(memo[ch].primary, primary);
      ASSERT_EQ(memo[ch].caseValue, f_wislower(ch) & 0xFF);
      ASSERT_EQ(memo[ch].secondary, getDiaValue(ch, primary, language));
      ASSERT_EQ(memo[ch].pairSecondary, getDiaValue(ch, (primary + 1) & 0xFF, language));
      ASSERT_EQ(memo[ch].followerRow, mayContract(language) ? rowAfterFirst(ch, language) : 0);
      if (memo[ch].mayContract) continue;
      for (const char16_t *rest : {u"", u"h", u"H", u"l", u"L", u"e", u"j", u"s", u"ch", u"ll"}) {
        uint16_t first = ch;
        const uint16_t *pos = units(rest);
        ASSERT_EQ(getContraction(first, pos, language), 0);
      }
    }
  }
  EXPECT_EQ(memoizedValues(40), nullptr);
}

}  // namespace
