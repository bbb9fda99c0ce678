#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "qstr14/strings.h"

namespace {

using Native = std::vector<uint16_t>;

Native terminated(Native s) {
  s.push_back(0);
  return s;
}

TEST(NativeSearch, CountsCharactersOnly) {
  EXPECT_EQ(Q6wstrchrcnt(terminated({0xF900, 'a', 0xF901, 'b'}).data()), 2u);
  EXPECT_EQ(Q6wstrchrcnt(terminated({}).data()), 0u);
  EXPECT_EQ(Q6wstrchrcnt(terminated({0xFFFF, 0xF900}).data()), 0u);
  EXPECT_EQ(Q6wstrchrcnt(terminated({0xF8FF, 0x0100}).data()), 2u);
}

TEST(NativeSearch, SubstringTelltales) {
  struct Case {
    Native haystack, needle;
    int at;  // index of the match in haystack, -1 for none
  };
  const std::vector<Case> cases = {
      {{'a', 'a', 'a', 'b'}, {'a', 'a', 'b'}, 1}, {{'a', 'b'}, {}, -1},       {{}, {'a'}, -1},
      {{0xF900}, {'a'}, -1},                       {{'a', 'b'}, {0xF900}, -1}, {{'a', 0xF900, 'b'}, {'a', 'b'}, 0},
      {{0xFE01, 'x', 'a', 'b'}, {0xF90A, 'a', 0xF90A, 'b'}, 2},               {{'a', 'b', 'c'}, {'b', 'c', 'd'}, -1},
      {{'a', 'b', 'a', 'b', 'c'}, {'a', 'b', 'c'}, 2},                        {{'x', 'y'}, {'x', 'y'}, 0},
      {{'x'}, {'x', 'y'}, -1},
  };
  for (const Case &c : cases) {
    Native h = terminated(c.haystack), n = terminated(c.needle);
    EXPECT_EQ(Q6wstrstr(h.data(), n.data()), c.at < 0 ? nullptr : h.data() + c.at) << c.at;
  }
}

// Without elements of 0xF900 and above the search finds what a plain
// search over the characters finds.
TEST(NativeSearch, AgreesWithAPlainSearchOnRandomStrings) {
  std::mt19937 random(11);
  for (int round = 0; round < 2000; ++round) {
    Native h(random() % 12), n(1 + random() % 3);
    for (auto &e : h) e = static_cast<uint16_t>('a' + random() % 2);
    for (auto &e : n) e = static_cast<uint16_t>('a' + random() % 2);
    int expected = -1;
    for (std::size_t i = 0; i + n.size() <= h.size() && expected < 0; ++i) {
      if (std::equal(n.begin(), n.end(), h.begin() + static_cast<long>(i))) expected = static_cast<int>(i);
    }
    Native ht = terminated(h), nt = terminated(n);
    ASSERT_EQ(Q6wstrstr(ht.data(), nt.data()), expected < 0 ? nullptr : ht.data() + expected);
  }
}

}  // namespace
