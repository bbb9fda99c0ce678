// Upper and lower case of native strings, streams and characters, and the
// comparisons that ignore case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asian/country_scope.h"
#include "qstr14/strings.h"
#include "support/stream_builder.h"

namespace {

using Native = std::vector<uint16_t>;
using Bytes = std::vector<uint8_t>;
using qstr::test::StreamBuilder;
constexpr uint16_t kGuard = 0x5555;

Native guarded(Native s) {
  s.push_back(0);
  s.push_back(kGuard);
  return s;
}

// Functions, non-letters and letters without a pair keep their value;
// double-width letters have a case under the Japanese country ID only.
TEST(CaseMapping, NativeStringsKeepFunctionsAndGuards) {
  struct Case { uint8_t country; Native mixed, upper, lower; };
  const std::vector<Case> cases = {
      {0, {'a', 'B', 0xF90A, 0x011A, 0x011B, 0xFE01, 0x0118, 0x0800, 0x0A01, 0x2540},
       {'A', 'B', 0xF90A, 0x011A, 0x011A, 0xFE01, 0x0118, 0x0800, 0x0A00, 0x2540},
       {'a', 'b', 0xF90A, 0x011B, 0x011B, 0xFE01, 0x0118, 0x0801, 0x0A01, 0x2540}},
      {1, {0x2520, 'a', 0x2540}, {0x2520, 'A', 0x2520}, {0x2540, 'a', 0x2540}},
  };
  for (const Case &c : cases) {
    qstr::test::ScopedCountry country(c.country);
    Native s = guarded(c.mixed);
    EXPECT_EQ(Q6wstrupr(s.data()), s.data());
    EXPECT_EQ(s, guarded(c.upper));
    EXPECT_EQ(Q6wstrlwr(s.data()), s.data());
    EXPECT_EQ(s, guarded(c.lower));
    EXPECT_EQ(wwstricmp(guarded(c.upper).data(), guarded(c.lower).data()), 0);
  }
  EXPECT_EQ(Q6wstrUpperCh(0x10061), 'A');  // only the low 16 bits count
}

// Function codes and other groups' data keep every byte, even bytes that
// look like letters; one character changes in place, or is only read.
TEST(CaseMapping, StreamsChangeCharactersOnly) {
  auto stream = [](uint8_t a, uint16_t grouped, uint8_t b) {  // with a guard behind the terminator
    Bytes bytes = StreamBuilder().plain(a).function(0x85).fixedGroup(0xF6, 4, 'a').variableGroup(0xD3, 8, 'b', 'A')
                      .character(grouped).singleFF().plain(b).bytes();
    bytes.push_back(0x55);
    return bytes;
  };
  Bytes s = stream('a', 0x011A, 'Q');
  EXPECT_EQ(Q6dstrupr(s.data()), s.data());
  EXPECT_EQ(s, stream('A', 0x011A, 'Q'));
  EXPECT_EQ(Q6dstrlwr(s.data()), s.data());
  EXPECT_EQ(s, stream('a', 0x011B, 'q'));

  Bytes group = StreamBuilder().character(0x0A00).bytes(), plain = {'x', 'y', 0};
  EXPECT_EQ(Q6dstrLowerCh2(group.data()), 0x0A01);
  EXPECT_EQ(Q6dstrLowerCh(group.data()), group.data());
  EXPECT_EQ(Q6dstrUpperCh(plain.data()), plain.data());
  EXPECT_EQ(Q6dstrLowerCh2(plain.data()), 'x');  // only read
  EXPECT_EQ(group, StreamBuilder().character(0x0A01).bytes());
  EXPECT_EQ(plain, (Bytes{'X', 'y', 0}));
  qstr::test::ScopedCountry japanese(1);  // a double-width letter has a case
  Bytes wide = StreamBuilder().character(0x2540).bytes();
  Q6dstrupr(wide.data());
  EXPECT_EQ(wide, StreamBuilder().character(0x2520).bytes());
}

// Differences of the upper-case forms; wwstrincmp's n counts bytes.
TEST(CaseInsensitiveCompare, ByteAndSixteenBitStrings) {
  struct Bytewise { const char *a, *b; int32_t difference; };
  for (const Bytewise &c : {Bytewise{"Hello", "hELLO", 0}, {"a", "", 'A'}, {"\xE9", "\xC9", 0x20}, {"a[", "A{", '[' - '{'}}) {
    EXPECT_EQ(wstricmp(c.a, c.b), c.difference) << c.a;
  }
  struct Case { Native a, b; int32_t n, icmp, incmp; };
  const Native abX = {'a', 'b', 'X'}, ABy = {'A', 'B', 'y'};
  const std::vector<Case> cases = {
      {abX, ABy, 6, 'X' - 'Y', 'X' - 'Y'}, {abX, ABy, 5, 'X' - 'Y', 0}, {abX, ABy, -2, 'X' - 'Y', 0},
      {{'a', 'b'}, {'a', 'b', 'c'}, 10, -'C', -'C'},
      {{0xF90A}, {0xF90D}, 2, 0xF90A - 0xF90D, 0xF90A - 0xF90D},  // every element counts
      {{0xFFFF}, {'a'}, 2, 0xFFFF - 'A', 0xFFFF - 'A'},          // unsigned differences
  };
  for (const Case &c : cases) {
    const Native a = guarded(c.a), b = guarded(c.b);
    EXPECT_EQ(wwstricmp(a.data(), b.data()), c.icmp);
    EXPECT_EQ(wwstrincmp(a.data(), b.data(), c.n), c.incmp) << c.n;
  }
}

}  // namespace
