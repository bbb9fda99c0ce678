// Item sizes and character stepping in document streams and native strings.
#include <gtest/gtest.h>

#include <vector>

#include "qstr14/charset.h"
#include "support/stream_builder.h"

namespace {

using qstr::test::StreamBuilder;

// Every kind of item, with data bytes that look like others, walked forward
// (ufsize), backward (ubsize) and by characters (from past the leading
// functions, and past a character group whose code byte is zero).
TEST(DocumentStream, EveryItemReachedEachWay) {
  StreamBuilder s;
  s.function(0x80).variableGroup(0xD0, 7).plain('A').character(0x0100);
  const uint16_t fixedLengths[] = {5, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 8, 8};  // 0xF1-0xFE
  for (uint8_t code = 0xF1; code <= 0xFE; ++code) {
    s.fixedGroup(code, fixedLengths[code - 0xF1], code == 0xF4 ? 0 : 0xF0);
  }
  s.variableGroup(0xEF, 300, 0xF0, 0x41).singleFF().function(0xCF).character(0x0B3E);
  s.variableGroup(0xE0, 8, 0, 0).plain(0x7F).character(0xFFFF).plain('z');
  const std::vector<uint8_t> bytes = s.bytes();
  const uint8_t *const begin = bytes.data(), *const terminator = begin + bytes.size() - 1;

  std::vector<std::size_t> forward, backward, characters;
  for (const uint8_t *p = begin; p < terminator; p += ufsize(p)) forward.push_back(p - begin);
  for (const uint8_t *p = terminator; p > begin;) {
    p -= ubsize(p);
    backward.insert(backward.begin(), p - begin);
  }
  for (const uint8_t *p = Q6dstrFirstCh(begin); *p != 0; p = Q6dstrNextCh(p)) characters.push_back(p - begin);
  EXPECT_EQ(forward, s.starts());
  EXPECT_EQ(backward, s.starts());
  EXPECT_EQ(characters, s.characterStarts());
  const uint8_t zero[] = {0x00}, longGroup[] = {0xEF, 0x55, 0x34, 0x12};
  EXPECT_EQ(ufsize(zero), 1);
  EXPECT_EQ(ufsize(longGroup), 0x1234);
}

// A stream without characters: the first character is its terminator.
TEST(DocumentStream, FirstCharacterOfNone) {
  const std::vector<uint8_t> bytes = StreamBuilder().function(0x90).fixedGroup(0xFB, 6).bytes();
  EXPECT_EQ(Q6dstrFirstCh(bytes.data()), bytes.data() + bytes.size() - 1);
}

// Function elements are 0xF900-0xFFFF; stepping passes over them.
TEST(NativeString, SteppingSkipsFunctionElements) {
  const uint16_t text[] = {0xF8FF, 0xF900, 0x0041, 0xFFFF, 0x0042, 0x0000};
  EXPECT_EQ(Q6wstrFirstCh(text + 1), text + 2);
  EXPECT_EQ(Q6wstrFirstCh(text + 5), text + 5);
  EXPECT_EQ(Q6wstrNextCh(text), text + 2);
  EXPECT_EQ(Q6wstrNextCh(text + 2), text + 4);
  EXPECT_EQ(Q6wstrNextCh(text + 4), text + 5);
  EXPECT_EQ(Q6wstrPrevCh(text, text + 4), text + 2);
  EXPECT_EQ(Q6wstrPrevCh(text, text + 2), text);
  EXPECT_EQ(Q6wstrPrevCh(text, text), text);
  EXPECT_EQ(Q6wstrPrevCh(text + 3, text + 2), text + 3);
}

}  // namespace
