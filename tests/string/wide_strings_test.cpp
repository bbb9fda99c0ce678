#include <gtest/gtest.h>

#include <vector>

#include "qstr14/charset.h"
#include "qstr14/strings.h"
#include "support/stream_builder.h"

namespace {

using Elements = std::vector<uint16_t>;
constexpr uint16_t kGuard = 0x5555;

TEST(WideStrings, LengthsCountBytes) {
  const uint16_t text[] = {0x0041, 0xF90A, 0x0129, 0};
  EXPECT_EQ(wwstrlen(text), 6u);
  EXPECT_EQ(wwstrlen(nullptr), 0u);
  EXPECT_EQ(wwstrlen(text + 3), 0u);
}

TEST(WideStrings, BoundedCompareCountsBytes) {
  const uint16_t a[] = {1, 2, 3, 0};
  const uint16_t b[] = {1, 2, 9, 0};
  struct Case {
    int32_t n, result;
  };
  for (const Case &c : std::vector<Case>{{4, 0}, {5, 0}, {6, 3 - 9}, {7, 3 - 9}, {0, 0}, {-2, 0}, {100, 3 - 9}}) {
    EXPECT_EQ(wwstrncmp(a, b, c.n), c.result) << c.n;
  }
  const uint16_t high[] = {0xFFFF, 0};
  EXPECT_EQ(wwstrcmp(high, a), 0xFFFF - 1);  // elements compare unsigned
  EXPECT_EQ(wwstrcmp(a, a), 0);
  const uint16_t prefix[] = {1, 2, 0};
  EXPECT_EQ(wwstrcmp(prefix, a), -3);
}

TEST(WideStrings, BoundedCopyAndConcatenationCountElements) {
  const uint16_t src[] = {7, 8, 0};
  struct Case {
    uint32_t n;
    Elements copied;     // wwstrncpy into a guarded buffer of 6
    Elements appended;   // wwstrncat after {1, 0}
  };
  const std::vector<Case> cases = {
      {0, {kGuard, kGuard, kGuard, kGuard, kGuard, kGuard}, {1, 0, kGuard, kGuard, kGuard, kGuard}},
      {1, {7, kGuard, kGuard, kGuard, kGuard, kGuard}, {1, 7, 0, kGuard, kGuard, kGuard}},
      {2, {7, 8, kGuard, kGuard, kGuard, kGuard}, {1, 7, 8, 0, kGuard, kGuard}},
      {4, {7, 8, 0, 0, kGuard, kGuard}, {1, 7, 8, 0, kGuard, kGuard}},
  };
  for (const Case &c : cases) {
    Elements dst(6, kGuard);
    EXPECT_EQ(wwstrncpy(dst.data(), src, c.n), dst.data());
    EXPECT_EQ(dst, c.copied) << c.n;
    Elements cat(6, kGuard);
    cat[0] = 1;
    cat[1] = 0;
    EXPECT_EQ(wwstrncat(cat.data(), src, c.n), cat.data());
    EXPECT_EQ(cat, c.appended) << c.n;
  }
  Elements dst(6, kGuard);
  EXPECT_EQ(wwstrcpy(nullptr, src), nullptr);
  EXPECT_EQ(wwstrcat(dst.data(), nullptr), nullptr);
  wwstrcpy(dst.data(), src);
  wwstrcat(dst.data(), src);
  EXPECT_EQ(dst, (Elements{7, 8, 7, 8, 0, kGuard}));
}

TEST(WideStrings, Search) {
  const uint16_t text[] = {1, 2, 1, 2, 3, 0};
  struct Case {
    Elements needle;
    int position;  // -1: not found
  };
  for (const Case &c : std::vector<Case>{{{1, 2, 3, 0}, 2}, {{1, 0}, 0}, {{2, 3, 0}, 3}, {{3, 4, 0}, -1},
                                         {{0}, -1}, {{1, 2, 1, 2, 3, 1, 0}, -1}}) {
    uint16_t *found = wwstrstr(text, c.needle.data());
    EXPECT_EQ(found, c.position < 0 ? nullptr : text + c.position);
  }
  EXPECT_EQ(wwstrstr(nullptr, text), nullptr);
  EXPECT_EQ(wwstrstr(text, nullptr), nullptr);
  EXPECT_EQ(wwstrchr(text, 2), text + 1);
  EXPECT_EQ(wwstrrchr(text, 2), text + 3);
  EXPECT_EQ(wwstrchr(text, 0), nullptr);
  EXPECT_EQ(wwstrrchr(text, 0), nullptr);
  EXPECT_EQ(wwstrrchr(nullptr, 1), nullptr);
  EXPECT_EQ(wwstrchr(text, 0x10001), text);  // only the low 16 bits count
}

TEST(MemoryBlocks, NullToleranceAndOverlap) {
  uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  QXwmemcpy(bytes + 2, bytes, 5);  // overlapping: memmove semantics
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8), (std::vector<uint8_t>{1, 2, 1, 2, 3, 4, 5, 8}));
  QXwhmemcpy(bytes, bytes + 1, 3);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8), (std::vector<uint8_t>{2, 1, 2, 2, 3, 4, 5, 8}));
  QXwmemcpy(nullptr, bytes, 3);
  QXwhmemmove(bytes, nullptr, 3);
  QXwhmemset(nullptr, 0, 3);
  QXwmemset(bytes, 0x1FF, 2);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[2], 2);
  uint8_t copy[8];
  QXwmemmove(copy, bytes, 8);
  EXPECT_EQ(QXwmemcmp(copy, bytes, 8), 0);
  EXPECT_EQ(QXwmemcmp(nullptr, bytes, 8), 0);
  copy[7] = 0;
  EXPECT_GT(QXwmemcmp(bytes, copy, 8), 0);

  const uint16_t elements[] = {5, 6, 7, 0, 9};
  EXPECT_EQ(QXwmemwchr(elements, 7, 3), elements + 2);
  EXPECT_EQ(QXwmemwchr(elements, 7, 2), nullptr);
  EXPECT_EQ(QXwmemwchr(elements, 9, 5), elements + 4);  // the terminator does not stop it
  EXPECT_EQ(QXwmemwchr(elements, 5, 0), nullptr);
  EXPECT_EQ(QXwmemwchr(elements, 5, 0x10000), nullptr);  // n counts its low 16 bits
  EXPECT_EQ(QXwmemwchr(nullptr, 5, 3), nullptr);
}

TEST(DocumentStreamStrings, CopyWholeItemsWithTheirZeroBytes) {
  qstr::test::StreamBuilder builder;
  builder.plain('a').fixedGroup(0xFD, 8, 0).character(0x0100).variableGroup(0xD1, 9, 0, 0).plain('b');
  std::vector<uint8_t> stream = builder.bytes();
  EXPECT_EQ(wdstrlen(stream.data()), stream.size() - 1);
  const uint8_t empty[] = {0};
  EXPECT_EQ(wdstrlen(empty), 0u);

  std::vector<uint8_t> dst(stream.size() + 4, 0x55);
  EXPECT_EQ(wdstrcpy(dst.data(), stream.data()), dst.data());
  EXPECT_TRUE(std::equal(stream.begin(), stream.end(), dst.begin()));
  EXPECT_EQ(dst[stream.size()], 0x55);

  std::vector<uint8_t> joined(2 * stream.size() + 2, 0x55);
  wdstrcpy(joined.data(), stream.data());
  wdstrcat(joined.data(), stream.data());
  EXPECT_EQ(wdstrlen(joined.data()), 2 * (stream.size() - 1));
  EXPECT_EQ(joined[2 * stream.size() - 1], 0x55);
}

}  // namespace
