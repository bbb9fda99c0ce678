#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codepage/state.h"
#include "frame/country.h"
#include "host/registry_store.h"
#include "qstr14/codepage.h"
#include "support/host_profile.h"
#include "support/stream_builder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using qstr::test::StreamBuilder;

// A machine with the given locale, a private registry and fresh records.
class Machine {
 public:
  explicit Machine(qstr::test::EnvironmentList vars) {
    qstr::test::Environment env = qstr::test::environment(vars);
    env["QSTR14_REGISTRY"] = ":memory:";
    qstr::host::installHostProfile(qstr::test::profileFrom(env));
    reset();
  }
  ~Machine() {
    qstr::host::resetHostProfile();
    reset();
  }

 private:
  static void reset() {
    qstr::host::registry::resetStore();
    qstr::frame::resetCountryDetection();
    qstr::codepage::resetCodePageState();
  }
};

Bytes group(uint16_t native) {
  return {0xF0, static_cast<uint8_t>(native), static_cast<uint8_t>(native >> 8), 0xF0};
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes &p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct ToStreamCase {
  uint32_t (*convert)(uint8_t *, const char *, uint32_t);
  std::string source;
  uint32_t size;
  Bytes stream;  // without the terminator
};

TEST(HostBytesToStream, WesternCodePages) {
  Machine machine({{"LANG", "en_US"}});
  const std::vector<ToStreamCase> cases = {
      {str_AnsiToQx, "A\x81", 16, concat({{'A'}, group(0x0C81)})},
      {str_AnsiToQx, "A\x7F" "B", 16, {'A', 'B'}},  // 127 has no mapping in 1252: dropped
      {str_AnsiToQx, "\t\xE9", 16, concat({group(0xF909), group(0x0129)})},
      {str_AnsiToQx, "\xA6\xAD", 16, {0x7C, 0x2D}},  // stored as the bytes of their ASCII characters
      {str_AnsiToQx, "AB\xE9", 6, {'A', 'B'}},        // the group needs 4 of the limit 5 after "AB"
      {str_AnsiToQx, "AB\xE9", 7, concat({{'A', 'B'}, group(0x0129)})},
      {str_AnsiToQx, "ABCDEFGH", 4, {'A', 'B', 'C'}},
      {str_OemToQx, "\t\x82", 16, concat({group(0x0401), group(0x0129)})},  // DOS glyphs for control codes
      {TpiAnsiToQxBuff, "x\xE9", 16, concat({{'x'}, group(0x0129)})},
  };
  for (const ToStreamCase &c : cases) {
    Bytes dst(c.size + 8, 0x55);
    EXPECT_EQ(c.convert(dst.data(), c.source.c_str(), c.size), c.stream.size() + 1) << c.source;
    Bytes expected = c.stream;
    expected.push_back(0);
    expected.resize(dst.size(), 0x55);
    EXPECT_EQ(dst, expected) << c.source << " size " << c.size;
  }
  Bytes untouched(4, 0x55);
  EXPECT_EQ(str_AnsiToQx(untouched.data(), "A", 0x10000), 0u);
  EXPECT_EQ(untouched, Bytes(4, 0x55));
}

TEST(HostBytesToStream, DoubleByteCodePages) {
  struct Case {
    const char *locale;
    std::string source;
    Bytes stream;
  };
  const std::vector<Case> cases = {
      {"ja_JP", "a\x88\x9F\xB1", concat({{'a'}, group(0x2B5E), group(0x0B10)})},
      {"ja_JP", "a\x88", {'a'}},  // a lead byte before the terminator never reads past it
      {"ko_KR", "\xB0\xA1", group(0x5A5E)},
      {"zh_CN", "\xB0\xA1", group(0x8787)},
      {"zh_TW", "\xA4\x40", group(0xA6D8)},
  };
  for (const Case &c : cases) {
    Machine machine({{"LANG", c.locale}});
    for (auto convert : {TpiAnsiToQxBuff, TpiOemToQxBuff}) {
      Bytes dst(32, 0x55);
      EXPECT_EQ(convert(dst.data(), c.source.c_str(), 24), c.stream.size() + 1) << c.locale;
      EXPECT_EQ(Bytes(dst.begin(), dst.begin() + static_cast<long>(c.stream.size())), c.stream) << c.locale;
      EXPECT_EQ(dst[c.stream.size()], 0);
    }
  }
}

struct ToHostCase {
  uint32_t (*convert)(char *, const uint8_t *, uint32_t);
  Bytes stream;  // with the terminator
  uint32_t size;
  std::string bytes;
  uint32_t result;
};

TEST(StreamToHostBytes, CountsAndLimits) {
  Machine machine({{"LANG", "en_US"}});
  const std::vector<ToHostCase> cases = {
      {TpiQxToAnsiBuff, concat({{'A'}, group(0x0129), {0}}), 16, "A\xE9", 3},
      // A character without an ANSI code is dropped but still counts one.
      {TpiQxToAnsiBuff, concat({{'A'}, group(0x2400), {0}}), 16, "A", 3},
      {TpiQxToAnsiBuff, {'A', 0xCC, 0xCF, 0x80, 0x84, 0}, 16, "A\xCC\xCF\x80", 5},
      {TpiQxToAnsiBuff, concat({StreamBuilder().fixedGroup(0xF2, 3, 1).bytes()}), 16, "", 1},
      {TpiQxToOemBuff, concat({group(0x0129), group(0x0401), {0}}), 16, "\x82\x09", 3},
      {TpiQxToAnsiBuff, {'A', 'B', 'C', 0}, 3, "AB", 3},
  };
  for (const ToHostCase &c : cases) {
    std::string dst(24, '\x55');
    EXPECT_EQ(c.convert(dst.data(), c.stream.data(), c.size), c.result);
    EXPECT_EQ(dst.substr(0, c.bytes.size() + 1), c.bytes + '\0');
  }
  std::string untouched(4, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(untouched.data(), Bytes{'A', 0}.data(), 0), 0u);
  EXPECT_EQ(untouched, std::string(4, '\x55'));
}

TEST(StreamToHostBytes, DoubleByteResults) {
  Machine machine({{"LANG", "ja_JP"}});
  const Bytes stream = concat({{'a'}, group(0x2400), group(0x2400), {0}});
  std::string dst(16, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(dst.data(), stream.data(), 16), 6u);
  EXPECT_EQ(dst.substr(0, 6), std::string("a\x81\x40\x81\x40\0", 6));
  // The stripping under the same size keeps only what fits as groups: with
  // size 9, "a" and one group (5 of the limit 8).
  std::string tight(16, '\x55');
  EXPECT_EQ(TpiQxToAnsiBuff(tight.data(), stream.data(), 9), 4u);
  EXPECT_EQ(tight.substr(0, 5), std::string("a\x81\x40\0", 4) + tight[4]);
}

// Random host bytes and random streams: always terminated, results as
// counted, nothing written past the size.
TEST(BufferConversions, RandomInputsStayWithinTheSize) {
  for (const char *locale : {"en_US", "ja_JP", "zh_TW"}) {
    Machine machine({{"LANG", locale}});
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
      std::string source(random() % 60, '\0');
      for (char &c : source) c = static_cast<char>(1 + random() % 255);
      const uint32_t size = 1 + random() % 64;
      Bytes stream(size + 16, 0x55);
      const uint32_t stored = TpiAnsiToQxBuff(stream.data(), source.c_str(), size);
      ASSERT_GE(stored, 1u);
      ASSERT_LE(stored, size);
      EXPECT_EQ(stream[stored - 1], 0);
      for (std::size_t i = size; i < stream.size(); ++i) ASSERT_EQ(stream[i], 0x55) << locale;
      // Back to host bytes, in place of nothing but the caller's buffer.
      std::string back(size + 16, '\x55');
      const uint32_t written = TpiQxToAnsiBuff(back.data(), stream.data(), size);
      ASSERT_GE(written, 1u);
      ASSERT_LE(written, size);
      for (std::size_t i = size; i < back.size(); ++i) ASSERT_EQ(back[i], '\x55') << locale;
    }
  }
}

}  // namespace
