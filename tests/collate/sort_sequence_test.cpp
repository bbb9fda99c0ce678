// The version-6 sort sequence: the look-ups of cells and blocks, the
// collation cells each language tailors, and when they are rewritten.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "collate/sequence/sort_sequence.h"
#include "collate/tables/collation_block.h"
#include "collate/tables/sort_sequence_tables.h"
#include "frame/state.h"
#include "qstr14/collate.h"
#include "qstr14/frame.h"

namespace {

using qstr::collate::kTailoring;
using qstr::collate::tailoredLanguage;

class SortSequence : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    qstr::collate::resetSortSequence();
    qstr::frame::resetFrameState();
  }
};

uint16_t tailoredCharacter(unsigned i) { return static_cast<uint16_t>(kTailoring[i][1] << 8 | kTailoring[i][0]); }

// The column every tailored character holds now, or -1 when the cells do
// not all come from one column.
int columnInCells() {
  for (int column = 0; column < 11; ++column) {
    bool all = true;
    for (unsigned i = 0; i < qstr::collate::kTailoredCount && all; ++i) {
      all = xch2col(tailoredCharacter(i)) == kTailoring[i][2 + column];
    }
    if (all) return column;
  }
  return -1;
}

// The blocks' own values are the generator's to check; here the look-up's
// edges: before and past a block, sets without a block, the last set.
TEST_F(SortSequence, ValuesAtTheEdgesOfTheBlocks) {
  struct Case { uint16_t character; uint8_t value; };
  const std::vector<Case> cases = {
      {0x0020, 32}, {0x007E, 72}, {0x001F, 0xFF}, {0x007F, 0xFF}, {0x0200, 0xFF},
      {0x0C41, 0xFF}, {0x041A, 0xFF}, {0x0A3A, 236},
  };
  for (const Case &c : cases) EXPECT_EQ(xch2col(c.character), c.value) << std::hex << c.character;
}

// Scripts in their order: punctuation, Greek, digits, Latin, "[", Cyrillic.
TEST_F(SortSequence, OrderOfTheScripts) {
  const std::vector<uint16_t> ascending = {'!', '~', 0x0800, 0x0832, '0', '9', 'A', 'Z', '[', ']', 0x0A00, 0x0A40};
  for (std::size_t i = 1; i < ascending.size(); ++i) {
    EXPECT_LT(xch2col(ascending[i - 1]), xch2col(ascending[i])) << std::hex << ascending[i];
  }
}

// The read-only look-up that tables built like coltbl use agrees with
// xch2col over every character.
TEST_F(SortSequence, BlockValueAgreesWithXch2col) {
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    ASSERT_EQ(qstr::collate::blockValue(coltbl, static_cast<uint16_t>(c)), xch2col(c)) << std::hex << c;
  }
}

TEST_F(SortSequence, StartupValuesDifferFromColumnZeroInFiveCells) {
  struct Case { uint16_t character; uint8_t startup, column0; };
  const std::vector<Case> cases = {
      {0x01CC, 184, 185}, {0x01CD, 184, 185}, {0x01D0, 184, 185}, {0x01D1, 184, 185}, {0x014B, 181, 134},
  };
  EXPECT_EQ(tailoredLanguage(), "EN");
  for (const Case &c : cases) EXPECT_EQ(xch2col(c.character), c.startup);
  setsseq("EN");  // already tailored to "EN": nothing to do
  for (const Case &c : cases) EXPECT_EQ(xch2col(c.character), c.startup);
  setsseq("DK");
  setsseq("EN");
  for (const Case &c : cases) EXPECT_EQ(xch2col(c.character), c.column0);
}

TEST_F(SortSequence, EachLanguageWritesItsColumn) {
  const std::vector<std::pair<const char *, int>> cases = {
      {"DK", 1}, {"dk", 1}, {"Dk", 1}, {"IS", 2}, {"NO", 3}, {"SU", 4}, {"SV", 4}, {"YK", 5}, {"TR", 6},
      {"tr", 6}, {"CZ", 7}, {"SL", 7}, {"HR", 8}, {"PL", 9}, {"MA", 10}, {"EN", 0}, {"XX", 0}, {"D", 0},
      {"", 0}, {"DKX", 1},
  };
  for (const auto &[language, column] : cases) {
    setsseq(language);
    EXPECT_EQ(columnInCells(), column) << language;
    setsseq("EN");
  }
}

TEST_F(SortSequence, RemembersTheFirstTwoBytesAsGiven) {
  const std::vector<std::pair<const char *, const char *>> cases = {
      {"dk", "dk"}, {"DKX", "DK"}, {"D", "D"}, {"", ""}, {"sv", "sv"}};
  for (const auto &[language, kept] : cases) {
    setsseq(language);
    EXPECT_EQ(tailoredLanguage(), kept);
  }
  setsseq(nullptr);
  EXPECT_EQ(tailoredLanguage(), "sv");
}

// A cell changed behind the sequence's back shows whether setsseq
// rewrote the cells: it does exactly when the code differs from the one
// kept, which a code of three letters always does.
TEST_F(SortSequence, RewritesOnlyWhenTheCodeDiffers) {
  uint8_t *cell = nullptr;
  ASSERT_EQ(fndcolv(0x011E, &cell), 0);
  struct Case { const char *first, *second; bool rewrites; };
  const std::vector<Case> cases = {
      {"DK", "DK", false}, {"DK", "dk", true}, {"DAN", "DAN", true}, {"DKX", "DK", false}, {"D", "D", false},
  };
  for (const Case &c : cases) {
    setsseq(c.first);
    const uint8_t value = *cell;
    *cell = 1;
    setsseq(c.second);
    EXPECT_EQ(*cell, c.rewrites ? value : 1) << c.first << " then " << c.second;
    *cell = value;
    setsseq("EN");
  }
}

TEST_F(SortSequence, CurrentLanguageTakesEffectAtTheNextSetUp) {
  QStrSetLanguage("DK");
  EXPECT_EQ(xch2col(0x011E), 109);  // xch2col does no set-up
  EXPECT_EQ(Q6wstrCollateCh(0x011E), 187);
  QStrSetLanguage("PL");
  lQstrSetupLang();
  EXPECT_EQ(tailoredLanguage(), "PL");
  EXPECT_EQ(xch2col(0x015E), 110);
  EXPECT_EQ(Q6wstrCollateCh(0), 0);
  EXPECT_EQ(Q6wstrCollateCh(0x10000), 0);  // only the low 16 bits count
}

TEST_F(SortSequence, ConcurrentSwitchesLeaveCellsOfTheKeptLanguage) {
  const char *languages[] = {"DK", "PL", "TR", "IS"};
  for (int round = 0; round < 20; ++round) {
    std::vector<std::thread> threads;
    for (const char *language : languages) {
      threads.emplace_back([language] {
        for (int i = 0; i < 50; ++i) {
          setsseq(language);
          setsseq("EN");
        }
        setsseq(language);
      });
    }
    for (std::thread &t : threads) t.join();
    const std::string kept = tailoredLanguage();
    const int expected = kept == "DK" ? 1 : kept == "PL" ? 9 : kept == "TR" ? 6 : 2;
    ASSERT_EQ(columnInCells(), expected) << kept;
  }
}

TEST_F(SortSequence, FindsCellsBlocksAndMissingBlocks) {
  uint8_t *setOne = static_cast<uint8_t *>(coltbl[1].pointer);
  struct Case { uint16_t character; int found; const uint8_t *cell; };
  const Case cases[] = {
      {0x0117, 0, setOne + 2}, {0x01F1, 0, setOne + 2 + 218},
      {0x01F2, 1, setOne},  // one past the block: the block
      {0x0116, 1, setOne},  {0x0300, 1, nullptr},  // no block
  };
  for (const Case &c : cases) {
    uint8_t *cell = reinterpret_cast<uint8_t *>(1);
    EXPECT_EQ(fndcolv(c.character, &cell), c.found) << std::hex << c.character;
    EXPECT_EQ(cell, c.cell) << std::hex << c.character;
  }
}

// Every cell of every block, in table order.
std::vector<uint8_t *> allCells() {
  std::vector<uint8_t *> cells;
  for (const QSTR_KEYED_POINTER *r = coltbl; r->key != 0xFF; ++r) {
    auto *block = static_cast<uint8_t *>(r->pointer);
    for (unsigned i = 0; i < block[1]; ++i) cells.push_back(block + 2 + i);
  }
  return cells;
}

TEST_F(SortSequence, WritesOnlyTheTailoredCells) {
  std::set<const uint8_t *> tailored;
  for (unsigned i = 0; i < qstr::collate::kTailoredCount; ++i) {
    uint8_t *cell = nullptr;
    ASSERT_EQ(fndcolv(tailoredCharacter(i), &cell), 0);
    tailored.insert(cell);
  }
  const std::vector<uint8_t *> cells = allCells();
  std::vector<uint8_t> startup;
  for (const uint8_t *cell : cells) startup.push_back(*cell);
  for (const char *language : {"DK", "IS", "NO", "SV", "YK", "TR", "CZ", "HR", "PL", "MA", "EN"}) {
    setsseq(language);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (!tailored.count(cells[i])) ASSERT_EQ(*cells[i], startup[i]) << language << " changed cell " << i;
    }
  }
}

}  // namespace
