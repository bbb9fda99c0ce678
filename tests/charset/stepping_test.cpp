#include <gtest/gtest.h>

#include <vector>

#include "qstr14/charset.h"
#include "support/stream_builder.h"

namespace {

using qstr::test::StreamBuilder;

struct SizeCase {
  std::vector<uint8_t> item;
  uint16_t length;
};

TEST(Ufsize, ItemLengthsByFirstByte) {
  const std::vector<SizeCase> cases = {
      {{0x00}, 1}, {{0x41}, 1}, {{0x85}, 1}, {{0xCF}, 1}, {{0xFF}, 1},
      {{0xF0}, 4}, {{0xF6}, 4}, {{0xF7}, 4}, {{0xF8}, 4},
      {{0xF1}, 5}, {{0xF9}, 5}, {{0xFA}, 5},
      {{0xF2}, 3}, {{0xF3}, 3}, {{0xF4}, 3}, {{0xF5}, 3},
      {{0xFB}, 6}, {{0xFC}, 6}, {{0xFD}, 8}, {{0xFE}, 8},
      {{0xD0, 0x00, 0x0A, 0x00}, 10}, {{0xEF, 0x55, 0x34, 0x12}, 0x1234},
  };
  for (const SizeCase &c : cases) {
    EXPECT_EQ(ufsize(c.item.data()), c.length) << "first byte 0x" << std::hex << int(c.item[0]);
  }
}

TEST(Ubsize, LengthOfTheItemBefore) {
  struct Case {
    StreamBuilder stream;
    uint16_t length;
  };
  const std::vector<Case> cases = {
      {StreamBuilder().plain('A'), 1},
      {StreamBuilder().function(0x85), 1},
      {StreamBuilder().singleFF(), 1},
      {StreamBuilder().character(0x0141), 4},
      {StreamBuilder().variableGroup(0xD5, 10), 10},
      {StreamBuilder().fixedGroup(0xFD, 8), 8},
      {StreamBuilder().fixedGroup(0xF2, 3), 3},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> bytes = c.stream.bytes();
    EXPECT_EQ(ubsize(bytes.data() + bytes.size() - 1), c.length);
  }
}

// A stream with one item of every kind, data bytes chosen to look like
// other items (zero, group codes, plain letters).
StreamBuilder everyKind() {
  StreamBuilder s;
  s.function(0x80).variableGroup(0xD0, 7).plain('A').character(0x0100);
  const uint16_t fixedLengths[] = {5, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 8, 8};  // 0xF1-0xFE
  for (uint8_t code = 0xF1; code <= 0xFE; ++code) {
    s.fixedGroup(code, fixedLengths[code - 0xF1], code == 0xF4 ? 0 : 0xF0);
  }
  s.variableGroup(0xEF, 300, 0xF0, 0x41).singleFF().function(0xCF).character(0x0B3E);
  s.variableGroup(0xE0, 8, 0, 0).plain(0x7F).character(0xFFFF).plain('z');
  return s;
}

TEST(DocumentStream, ForwardWithUfsizeReachesEveryItem) {
  StreamBuilder s = everyKind();
  std::vector<uint8_t> bytes = s.bytes();
  const std::size_t terminator = bytes.size() - 1;
  std::vector<std::size_t> seen;
  for (std::size_t offset = 0; offset < terminator; offset += ufsize(bytes.data() + offset)) {
    seen.push_back(offset);
  }
  EXPECT_EQ(seen, s.starts());
}

TEST(DocumentStream, BackwardWithUbsizeReachesEveryItem) {
  StreamBuilder s = everyKind();
  std::vector<uint8_t> bytes = s.bytes();
  std::vector<std::size_t> seen;
  for (const uint8_t *p = bytes.data() + bytes.size() - 1; p > bytes.data();) {
    p -= ubsize(p);
    seen.insert(seen.begin(), static_cast<std::size_t>(p - bytes.data()));
  }
  EXPECT_EQ(seen, s.starts());
}

TEST(DocumentStream, CharacterSteppingStopsOnlyAtCharacters) {
  StreamBuilder s = everyKind();
  std::vector<uint8_t> bytes = s.bytes();
  std::vector<std::size_t> seen;
  for (const uint8_t *p = Q6dstrFirstCh(bytes.data()); *p != 0; p = Q6dstrNextCh(p)) {
    seen.push_back(static_cast<std::size_t>(p - bytes.data()));
  }
  EXPECT_EQ(seen, s.characterStarts());
}

TEST(DocumentStream, NextChExamples) {
  const uint8_t stream[] = {0x41, 0x85, 0x86, 0xF0, 0x07, 0x01, 0xF0, 0x42, 0x00};
  EXPECT_EQ(Q6dstrNextCh(stream), stream + 3);
  EXPECT_EQ(Q6dstrNextCh(stream + 3), stream + 7);
  EXPECT_EQ(Q6dstrNextCh(stream + 7), stream + 8);
}

TEST(DocumentStream, FirstChSkipsLeadingFunctions) {
  std::vector<uint8_t> bytes = StreamBuilder().function(0x81).function(0x82).variableGroup(0xD3, 9).plain('Q').bytes();
  EXPECT_EQ(Q6dstrFirstCh(bytes.data()), bytes.data() + 11);
  const uint8_t empty[] = {0};
  EXPECT_EQ(Q6dstrFirstCh(empty), empty);
  std::vector<uint8_t> onlyFunctions = StreamBuilder().function(0x90).fixedGroup(0xFB, 6).bytes();
  EXPECT_EQ(Q6dstrFirstCh(onlyFunctions.data()), onlyFunctions.data() + 7);
}

TEST(DocumentStream, CharacterGroupWithZeroCodeDoesNotEndTheStream) {
  std::vector<uint8_t> bytes = StreamBuilder().character(0x0100).plain('B').bytes();
  const uint8_t *first = Q6dstrFirstCh(bytes.data());
  ASSERT_EQ(first, bytes.data());
  EXPECT_EQ(*Q6dstrNextCh(first), 'B');
}

TEST(NativeString, SteppingSkipsFunctionElements) {
  const uint16_t text[] = {0xF90A, 0x0041, 0xFE01, 0x0042, 0x0000};
  EXPECT_EQ(Q6wstrFirstCh(text), text + 1);
  EXPECT_EQ(Q6wstrNextCh(text + 1), text + 3);
  EXPECT_EQ(Q6wstrNextCh(text + 3), text + 4);
  EXPECT_EQ(Q6wstrFirstCh(text + 4), text + 4);
  EXPECT_EQ(Q6wstrPrevCh(text, text + 3), text + 1);
  EXPECT_EQ(Q6wstrPrevCh(text, text + 1), text);
  EXPECT_EQ(Q6wstrPrevCh(text, text), text);
  EXPECT_EQ(Q6wstrPrevCh(text + 2, text + 1), text + 2);
}

TEST(NativeString, FunctionBoundaryValues) {
  const uint16_t text[] = {0xF8FF, 0xF900, 0xFFFF, 0x0001, 0x0000};
  EXPECT_EQ(Q6wstrFirstCh(text), text);
  EXPECT_EQ(Q6wstrNextCh(text), text + 3);
  EXPECT_EQ(Q6wstrFirstCh(text + 1), text + 3);
  EXPECT_EQ(Q6wstrPrevCh(text, text + 3), text);
}

}  // namespace
