// The version-6 sort sequence: cell look-ups, tailoring to a language, and character comparison.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "collate/sequence/sort_sequence.h"
#include "collate/tables/collation_block.h"
#include "collate/tables/sort_sequence_tables.h"
#include "frame/state.h"
#include "qstr14/asian.h"
#include "qstr14/collate.h"
#include "qstr14/frame.h"

namespace {

using namespace qstr::collate;

class SortSequence : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    resetSortSequence();
    qstr::frame::resetFrameState();
  }
};

// The column all tailored cells hold now, or -1.
int columnInCells() {
  for (int column = 0; column < 11; ++column) {
    bool all = true;
    for (unsigned i = 0; i < kTailoredCount && all; ++i) {
      all = xch2col(kTailoring[i][1] << 8 | kTailoring[i][0]) == kTailoring[i][2 + column];
    }
    if (all) return column;
  }
  return -1;
}

// The look-up's edges; blockValue agrees everywhere.
TEST_F(SortSequence, ValuesAtTheEdgesOfTheBlocks) {
  const std::pair<uint16_t, uint8_t> cases[] = {
      {0x0020, 32}, {0x007E, 72}, {0x001F, 0xFF}, {0x007F, 0xFF}, {0x0200, 0xFF}, {0x0C41, 0xFF},
      {0x041A, 0xFF}, {0x0A3A, 236},
  };
  for (const auto &[character, value] : cases) EXPECT_EQ(xch2col(character), value) << character;
  for (uint32_t c = 0; c <= 0xFFFF; ++c) ASSERT_EQ(blockValue(coltbl, uint16_t(c)), xch2col(c)) << c;
}

// The start-up value of 0x014B (181, no column's) lasts until "EN" follows another language.
TEST_F(SortSequence, StartupValuesLastUntilAnotherLanguage) {
  EXPECT_EQ(tailoredLanguage(), "EN");
  EXPECT_EQ(xch2col(0x014B), 181);
  setsseq("EN");
  EXPECT_EQ(xch2col(0x014B), 181);
  setsseq("DK");
  setsseq("EN");
  EXPECT_EQ(xch2col(0x014B), 134);
}

// Codes are kept by their first two bytes; unknown ones take column 0. A cell changed behind
// setsseq's back shows it rewrites exactly when the code differs from the kept one.
TEST_F(SortSequence, TailorsOnlyWhenTheCodeDiffers) {
  uint8_t *cell = nullptr;
  ASSERT_EQ(fndcolv(0x011E, &cell), 0);
  struct Case { const char *first, *kept; int column; const char *second; bool rewrites; };
  const Case cases[] = {
      {"DK", "DK", 1, "dk", true}, {"dk", "dk", 1, nullptr, false}, {"tr", "tr", 6, "TR", true},
      {"MA", "MA", 10, "MA", false}, {"DAN", "DA", 0, "DAN", true}, {"DKX", "DK", 1, "DK", false},
      {"D", "D", 0, "D", false}, {"", "", 0, "", false},
  };
  for (const Case &c : cases) {
    setsseq(c.first);
    EXPECT_EQ(tailoredLanguage(), c.kept);
    EXPECT_EQ(columnInCells(), c.column) << &c - cases;
    const uint8_t value = *cell;
    *cell = 1;
    setsseq(c.second);
    EXPECT_EQ(*cell, c.rewrites ? value : 1) << &c - cases;
    *cell = value;
    setsseq("EN");
  }
}

// Q6wstrCollateCh sets up the current language first (xch2col does not).
TEST_F(SortSequence, CurrentLanguageTakesEffectAtTheNextSetUp) {
  QStrSetLanguage("DK");
  EXPECT_EQ(xch2col(0x011E), 109);
  EXPECT_EQ(Q6wstrCollateCh(0x011E), 187);
  QStrSetLanguage("PL");
  lQstrSetupLang();
  EXPECT_EQ(xch2col(0x015E), 110);
  EXPECT_EQ(Q6wstrCollateCh(0), 0);
  EXPECT_EQ(Q6wstrCollateCh(0x10000), 0);
}

TEST_F(SortSequence, ConcurrentSwitchesLeaveCellsOfTheKeptLanguage) {
  const std::map<std::string, int> columns = {{"DK", 1}, {"PL", 9}, {"TR", 6}, {"IS", 2}};
  for (int round = 0; round < 20; ++round) {
    std::vector<std::thread> threads;
    for (const auto &[language, column] : columns) {
      threads.emplace_back([code = language.c_str()] {
        for (int i = 0; i < 50; ++i) {
          setsseq(code);
          setsseq("EN");
        }
        setsseq(code);
      });
    }
    for (std::thread &t : threads) t.join();
    ASSERT_EQ(columnInCells(), columns.at(tailoredLanguage())) << tailoredLanguage();
  }
}

// fndcolv gives the cell, else 1 and the block, or null without one.
TEST_F(SortSequence, FindsCellsBlocksAndMissingBlocks) {
  uint8_t *setOne = static_cast<uint8_t *>(coltbl[1].pointer);
  struct Case { uint16_t character; int found; const uint8_t *cell; };
  const Case cases[] = {
      {0x0117, 0, setOne + 2}, {0x01F2, 1, setOne}, {0x0300, 1, nullptr},
  };
  for (const Case &c : cases) {
    uint8_t *cell = reinterpret_cast<uint8_t *>(1);
    EXPECT_EQ(fndcolv(c.character, &cell), c.found) << c.character;
    EXPECT_EQ(cell, c.cell) << c.character;
  }
}

// The plain road: lowered values, by code without one, then upper after lower case.
int32_t plainCompare(uint16_t a, uint16_t b, uint32_t caseFlag) {
  const uint16_t la = wtolower(a), lb = wtolower(b);
  const int32_t upperA = caseFlag != 0 && la != a, upperB = caseFlag != 0 && lb != b;
  if (la == lb) return upperA - upperB;
  const uint8_t va = xch2col(la), vb = xch2col(lb);
  if (va != vb) return static_cast<int32_t>(va) - static_cast<int32_t>(vb);
  if (va == 0xFF) return static_cast<int32_t>(la) - static_cast<int32_t>(lb);
  return upperA - upperB;
}

// xchcmp's shorter road for ASCII pairs answers as the plain one, tailored too.
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
  resetSortSequence();  // the start-up values, not EN's column
  EXPECT_EQ(xchcmp('e', 0x0128, 0x100), 0);
  EXPECT_LT(xchcmp('e', 0x0128, 0x101), 0);
  EXPECT_EQ(xchcmp(0x10041, 'A', 1), 0);
}

}  // namespace
