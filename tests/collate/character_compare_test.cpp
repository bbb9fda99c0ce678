#include <gtest/gtest.h>

#include <vector>

#include "asian/country_scope.h"
#include "collate/sort_sequence.h"
#include "qstr14/collate.h"

namespace {

int sign(int32_t r) { return (r > 0) - (r < 0); }

class CharacterCompare : public ::testing::Test {
 protected:
  void SetUp() override { qstr::collate::resetSortSequence(); }
  void TearDown() override { qstr::collate::resetSortSequence(); }
};

TEST_F(CharacterCompare, TelltaleSigns) {
  struct Case { uint32_t a, b; uint32_t caseFlag; int expected; };
  const std::vector<Case> cases = {
      {'A', 'a', 1, 1},       {'a', 'A', 1, -1},      {'A', 'a', 0, 0},      {'a', 'A', 0, 0},
      {'0', 'A', 0, -1},      {'9', 'a', 1, -1},      {'!', '0', 0, -1},     {'[', 'z', 0, 1},
      {0x0200, 0x0201, 0, -1}, {0x0201, 0x0200, 1, 1}, {0x0200, 'z', 0, 1},  {0x0200, 0x0200, 1, 0},
      {0x0129, 'e', 1, 0},    {0x0128, 'e', 1, 1},    {0x0128, 'E', 1, 0},   {0x0128, 'e', 0, 0},
      {'e', 0x0128, 0x100, 0}, {'e', 0x0128, 0x101, -1},  // only the low byte of the flag counts
      {0x10041, 'A', 1, 0},   {0x0A00, 'z', 0, 1},    {0x0800, '0', 0, -1},  {0x0147, 'v', 0, -1},
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

}  // namespace
