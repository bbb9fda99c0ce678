#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qstr14/strings.h"
#include "support/stream_builder.h"

namespace {

using Native = std::vector<uint16_t>;
using qstr::test::StreamBuilder;

Native terminated(Native s) {
  s.push_back(0);
  return s;
}

Native ascii(const std::string &text) { return Native(text.begin(), text.end()); }

TEST(NativeEquality, ToTheTerminators) {
  struct Case {
    Native a, b;
    int32_t equ, iequ;
  };
  const std::vector<Case> cases = {
      {ascii("ab"), ascii("ab"), 1, 1},        {ascii("ab"), ascii("aB"), 0, 1},
      {ascii("ab"), ascii("abc"), 0, 0},       {ascii("abc"), ascii("ab"), 0, 0},
      {{}, {}, 1, 1},                          {{0xF90A}, {}, 1, 1},
      {{'a', 0xFE01, 'b'}, ascii("ab"), 1, 1}, {{0x011A}, {0x011B}, 0, 1},
      {{0x0118}, {0x0119}, 0, 0},              {ascii("a"), {0x0141}, 0, 0},
      {{0x0A00, 0x0801}, {0x0A01, 0x0800}, 0, 1},
  };
  for (const Case &c : cases) {
    const Native a = terminated(c.a), b = terminated(c.b);
    EXPECT_EQ(Q6wstrequ(a.data(), b.data()), c.equ);
    EXPECT_EQ(Q6wstriequ(a.data(), b.data()), c.iequ);
    EXPECT_EQ(Q6wstriequ(b.data(), a.data()), c.iequ);
  }
}

TEST(NativeEquality, WithinNElements) {
  struct Case {
    Native a, b;
    uint32_t n;
    int32_t nequ, niequ;
  };
  const std::vector<Case> cases = {
      {ascii("ab"), ascii("ab"), 2, 1, 1},
      {{0xF900, 'a', 'b'}, ascii("ab"), 2, 0, 1},   // the bound comes before two characters
      {ascii("ab"), ascii("ab"), 0, 0, 0},
      {ascii("ab"), ascii("ax"), 1, 1, 1},
      {ascii("ab"), ascii("ax"), 2, 0, 0},
      {ascii("aB"), ascii("Ab"), 2, 0, 1},
      {ascii("a"), ascii("a"), 5, 1, 1},          // both end inside the bound
      {ascii("ab"), ascii("a"), 5, 0, 0},
      {ascii("ab"), ascii("abc"), 2, 1, 1},
      {{0xF900, 0xF900, 'a'}, ascii("a"), 2, 0, 0},  // a's first character lies at n
      {ascii("a"), {0xF900, 0xF900, 'a'}, 2, 0, 0},
      {ascii("abc"), {'a', 0xF900, 'b', 'c'}, 3, 0, 1},  // b's bound reached after "ab"
  };
  for (const Case &c : cases) {
    const Native a = terminated(c.a), b = terminated(c.b);
    EXPECT_EQ(Q6wstrnequ(a.data(), b.data(), c.n), c.nequ) << "n=" << c.n;
    EXPECT_EQ(Q6wstrniequ(a.data(), b.data(), c.n), c.niequ) << "n=" << c.n;
  }
}

struct StreamCase {
  StreamBuilder a, b;
  int32_t equ, iequ;
};

TEST(StreamEquality, ExactAndIgnoringCase) {
  const std::vector<StreamCase> cases = {
      {StreamBuilder().plain('a').function(0x85).plain('b'), StreamBuilder().plain('a').function(0x86).plain('b'), 1, 1},
      {StreamBuilder().plain('A'), StreamBuilder().character(0x0041), 0, 1},
      {StreamBuilder().plain('A'), StreamBuilder().character(0x0061), 0, 1},
      {StreamBuilder().character(0x011A), StreamBuilder().character(0x011B), 0, 1},
      {StreamBuilder().plain('a'), StreamBuilder().character(0x0141), 0, 0},
      {StreamBuilder().plain('A').plain('b'), StreamBuilder().plain('a').plain('B'), 0, 1},
      {StreamBuilder().plain('a'), StreamBuilder().plain('a').plain('b'), 0, 0},
      {StreamBuilder().variableGroup(0xD0, 9, 0, 'x').plain('a'), StreamBuilder().fixedGroup(0xF4, 3, 'y').plain('a'), 1, 1},
      {StreamBuilder().character(0x0100), StreamBuilder().character(0x0100).plain('a'), 0, 0},
      {StreamBuilder(), StreamBuilder().function(0x80), 1, 1},
  };
  for (const StreamCase &c : cases) {
    const std::vector<uint8_t> a = c.a.bytes(), b = c.b.bytes();
    EXPECT_EQ(Q6dstrequ(a.data(), b.data()), c.equ);
    EXPECT_EQ(Q6dstriequ(a.data(), b.data()), c.iequ);
    EXPECT_EQ(Q6dstriequ(b.data(), a.data()), c.iequ);
    EXPECT_EQ(Q6dstrcequ(a.data(), b.data(), 100), c.equ);
    EXPECT_EQ(Q6dstrciequ(a.data(), b.data(), 100), c.iequ);
    EXPECT_EQ(Q6dstrnequ(a.data(), b.data(), 100), c.equ);
    EXPECT_EQ(Q6dstrniequ(a.data(), b.data(), 100), c.iequ);
  }
}

TEST(StreamEquality, Limits) {
  const std::vector<uint8_t> ab = StreamBuilder().plain('a').plain('b').bytes();
  const std::vector<uint8_t> aX = StreamBuilder().plain('a').plain('X').bytes();
  const std::vector<uint8_t> fnAB = StreamBuilder().function(0x85).plain('A').plain('B').bytes();
  struct Case {
    const std::vector<uint8_t> &a, &b;
    int32_t limit;
    int32_t nequ, niequ, cequ, ciequ;
  };
  const std::vector<Case> cases = {
      {ab, aX, 0, 1, 1, 1, 1},     {ab, aX, 1, 1, 1, 1, 1},  {ab, aX, 2, 0, 0, 0, 0},
      {ab, aX, -1, 1, 1, 1, 1},    {ab, fnAB, 1, 1, 1, 0, 1}, {ab, fnAB, 2, 0, 1, 0, 1},  // n = 1: b's first character lies at its bound
      {fnAB, ab, 1, 1, 1, 0, 1},   // a's bound: only the function lies inside one byte
      {ab, ab, 10, 1, 1, 1, 1},
  };
  for (const Case &c : cases) {
    const auto n = static_cast<uint32_t>(c.limit);
    if (c.limit >= 0) {
      EXPECT_EQ(Q6dstrnequ(c.a.data(), c.b.data(), n), c.nequ) << c.limit;
      EXPECT_EQ(Q6dstrniequ(c.a.data(), c.b.data(), n), c.niequ) << c.limit;
    }
    EXPECT_EQ(Q6dstrcequ(c.a.data(), c.b.data(), c.limit), c.cequ) << c.limit;
    EXPECT_EQ(Q6dstrciequ(c.a.data(), c.b.data(), c.limit), c.ciequ) << c.limit;
  }
}

}  // namespace
