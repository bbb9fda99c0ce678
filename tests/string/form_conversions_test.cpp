#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "support/machine.h"

namespace {

using Elements = std::vector<uint16_t>;
using qstr::test::Machine;
constexpr uint16_t kGuard = 0x5555;

TEST(BytesToNative, WesternSingleBytes) {
  Machine machine({{"LANG", "en_US"}});
  Elements dst(8, kGuard);
  ASSERT_EQ(Q6azTowz("A\xE9\x80", dst.data()), 1);
  EXPECT_EQ(dst, Elements({'A', 0x0129, 0x0448, 0, kGuard, kGuard, kGuard, kGuard}));
  Elements limited(8, kGuard);
  ASSERT_EQ(Q6azTowzN("ABCDE", limited.data(), 3), 1);
  EXPECT_EQ(limited, Elements({'A', 'B', 0, kGuard, kGuard, kGuard, kGuard, kGuard}));
  Elements one(2, kGuard);
  ASSERT_EQ(Q6azTowzN("ABC", one.data(), 1), 1);
  EXPECT_EQ(one, Elements({0, kGuard}));
  EXPECT_EQ(Q6azTowzN("ABC", one.data(), 0), 0);  // no room even for the terminator
  Elements whole(8, kGuard);
  ASSERT_EQ(Q6azTowzN("AB", whole.data(), 100), 1);
  EXPECT_EQ(whole[2], 0);
  Elements empty(2, kGuard);
  ASSERT_EQ(Q6azTowz(nullptr, empty.data()), 1);
  EXPECT_EQ(empty[0], 0);
}

TEST(BytesToNative, InPlaceWithoutDoubleByteSupport) {
  Machine machine({{"LANG", "en_US"}});
  // The native string needs twice the bytes: the buffer is sized for it.
  std::vector<uint16_t> buffer(8, kGuard);
  std::memcpy(buffer.data(), "Caf\xE9", 5);
  ASSERT_EQ(Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data()), 1);
  EXPECT_EQ(Elements(buffer.begin(), buffer.begin() + 5), Elements({'C', 'a', 'f', 0x0129, 0}));
}

TEST(BytesToNative, DoubleByteCharactersJoin) {
  Machine machine({{"LANG", "ja_JP"}});
  Elements dst(8, kGuard);
  ASSERT_EQ(Q6azTowz("a\x88\x9F\xB1", dst.data()), 1);
  EXPECT_EQ(dst, Elements({'a', 0x2B5E, 0x0B10, 0, kGuard, kGuard, kGuard, kGuard}));
  Elements limited(8, kGuard);
  ASSERT_EQ(Q6azTowzN("\x88\x9F\x88\x9F\x88\x9F", limited.data(), 3), 1);  // counted as characters
  EXPECT_EQ(limited, Elements({0x2B5E, 0x2B5E, 0, kGuard, kGuard, kGuard, kGuard, kGuard}));
  Elements lone(4, kGuard);
  ASSERT_EQ(Q6azTowz("a\x88", lone.data()), 1);  // a lead byte before the terminator is dropped
  EXPECT_EQ(lone, Elements({'a', 0, kGuard, kGuard}));
  // In place goes through a temporary copy.
  std::vector<uint16_t> buffer(8, kGuard);
  std::memcpy(buffer.data(), "x\x88\x9Fy", 5);
  ASSERT_EQ(Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data()), 1);
  EXPECT_EQ(Elements(buffer.begin(), buffer.begin() + 4), Elements({'x', 0x2B5E, 'y', 0}));
}

struct ExCase {
  Elements source;
  uint32_t flags;
  std::string bytes;
};

TEST(NativeToBytes, FlagsOfTheExtendedConversion) {
  Machine machine({{"LANG", "en_US"}});
  const std::vector<ExCase> cases = {
      {{'a', 0xF90A, 'b', 0}, 0x01, "a\nb"},   {{'a', 0xF90A, 'b', 0}, 0x05, "a\r\nb"},
      {{0xF90D, 0}, 0x01, "\r"},              {{0xF90D, 0}, 0x05, "\r\n"},
      {{0xF90D, 0}, 0x03, " "},               {{0xF90D, 0}, 0x07, " "},
      {{'a', 0x2400, 'b', 0}, 0x00, "ab"},    {{'a', 0x2400, 'b', 0}, 0x01, "a\x80" "b"},
      {{0x0129, 0x0448, 0}, 0x01, "\xE9\x80"}, {{0x0C81, 0x0084, 0}, 0x01, "\x81\x84"},
  };
  for (const ExCase &c : cases) {
    const uint32_t measured = Q6wzToazEx(c.source.data(), nullptr, c.flags | 0x08);
    std::string dst(16, '\x55');
    const uint32_t written = Q6wzToazEx(c.source.data(), dst.data(), c.flags);
    EXPECT_EQ(written, c.bytes.size()) << "flags " << c.flags;
    EXPECT_EQ(measured, written);
    EXPECT_EQ(dst.substr(0, written + 1), c.bytes + '\0') << "flags " << c.flags;
    std::string untouched(4, '\x55');
    Q6wzToazEx(c.source.data(), untouched.data(), c.flags | 0x08);
    EXPECT_EQ(untouched, std::string(4, '\x55'));
  }
  std::string dst(8, '\x55');
  EXPECT_EQ(Q6wzToaz(Elements({'x', 'y', 0}).data(), dst.data()), 2u);
}

TEST(NativeToBytes, LimitsNeverSplitADoubleByteCharacter) {
  Machine machine({{"LANG", "ja_JP"}});
  const Elements twoKanji = {0x2B5E, 0x2B5E, 0};
  struct Case {
    uint32_t capacity;
    std::string bytes;
  };
  for (const Case &c : std::vector<Case>{{1, ""}, {2, ""}, {3, "\x88\x9F"}, {4, "\x88\x9F"}, {5, "\x88\x9F\x88\x9F"},
                                         {0x10003, "\x88\x9F"}}) {
    std::string dst(8, '\x55');
    ASSERT_EQ(Q6wzToazNB(twoKanji.data(), dst.data(), c.capacity), 1);
    EXPECT_EQ(dst.substr(0, c.bytes.size() + 1), c.bytes + '\0') << c.capacity;
    EXPECT_EQ(dst.find_first_not_of('\x55', std::min<std::size_t>(c.capacity & 0xFFFF, 8)), std::string::npos);
  }
  std::string dst(8, '\x55');
  EXPECT_EQ(Q6wzToazNB(nullptr, dst.data(), 8), 0);
  EXPECT_EQ(Q6wzToazNB(twoKanji.data(), nullptr, 8), 0);
  EXPECT_EQ(Q6wzToazNB(twoKanji.data(), dst.data(), 0), 0);
  EXPECT_EQ(dst, std::string(8, '\x55'));
  // Limited by source characters: two double-byte characters give 4 bytes.
  std::string limited(8, '\x55');
  ASSERT_EQ(Q6wzToazN(twoKanji.data(), limited.data(), 3), 1);
  EXPECT_EQ(limited.substr(0, 6), std::string("\x88\x9F\x88\x9F\0\x55", 6));
}

TEST(UnicodeForms, WholeAndLimited) {
  Machine machine({{"LANG", "en_US"}});
  const Elements unicode = {'A', 0xE9, 0x20AC, 0};
  Elements dst(6, kGuard);
  ASSERT_EQ(Q6WStrTowz(unicode.data(), dst.data()), 1);
  EXPECT_EQ(dst, Elements({'A', 0x0129, 0x0448, 0, kGuard, kGuard}));
  struct Case {
    uint32_t n;
    Elements expected;
  };
  for (const Case &c : std::vector<Case>{{10, {'A', 0x0129, 0x0448, 0, kGuard}}, {3, {'A', 0x0129, 0, kGuard, kGuard}},
                                         {1, {0, kGuard, kGuard, kGuard, kGuard}}}) {
    Elements limited(5, kGuard);
    ASSERT_EQ(Q6WStrTowzN(unicode.data(), limited.data(), c.n), 1);
    EXPECT_EQ(limited, c.expected) << c.n;
    Elements back(5, kGuard);
    ASSERT_EQ(Q6wzToWStrN(Elements({'A', 0x0129, 0x0448, 0}).data(), back.data(), c.n), 1);
    Elements expectedBack = c.expected;
    for (uint16_t &u : expectedBack) {
      if (u == 0x0129) u = 0xE9;
      if (u == 0x0448) u = 0x20AC;
    }
    EXPECT_EQ(back, expectedBack) << c.n;
  }
  Elements back(6, kGuard);
  ASSERT_EQ(Q6wzToWStr(Elements({'A', 0x0129, 0xF90A, 0}).data(), back.data()), 1);
  EXPECT_EQ(back, Elements({'A', 0xE9, 0xFFFF, 0, kGuard, kGuard}));
  Elements empty(2, kGuard);
  ASSERT_EQ(Q6wzToWStr(Elements({0}).data(), empty.data()), 1);
  EXPECT_EQ(empty, Elements({0, kGuard}));
  ASSERT_EQ(Q6wzToWStrEx(Elements({'Z', 0}).data(), empty.data(), 12345), 1);
  EXPECT_EQ(empty, Elements({'Z', 0}));
}

// 0x0C00 converts to a zero unit, which ends the string: nothing after it
// is written, wherever it falls in the blocks the loops convert at once.
TEST(UnicodeForms, ZeroUnitEndsTheString) {
  Machine machine({{"LANG", "en_US"}});
  for (std::size_t before : {0, 1, 7, 8, 15, 16, 17, 40}) {
    Elements src(before, 'A');
    src.push_back(0x0C00);
    src.insert(src.end(), 40, 'B');
    src.push_back(0);
    Elements expected(before, 'A');
    expected.push_back(0);
    expected.resize(src.size() + 4, kGuard);
    for (int form = 0; form < 3; ++form) {
      Elements dst(src.size() + 4, kGuard);
      if (form == 0) ASSERT_EQ(Q6wzToWStr(src.data(), dst.data()), 1);
      if (form == 1) ASSERT_EQ(Q6wzToWStrEx(src.data(), dst.data(), 0), 1);
      if (form == 2) ASSERT_EQ(Q6wzToWStrN(src.data(), dst.data(), 200), 1);
      EXPECT_EQ(dst, expected) << "form " << form << ", " << before << " before";
    }
  }
}

}  // namespace
