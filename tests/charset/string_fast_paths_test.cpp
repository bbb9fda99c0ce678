// The whole-string loops against the one-character functions they stand for.
// The loop tests run once per tier of vector instructions the processor has
// (CTest registers them again under each QSTR14_ISA cap).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "charset/east_asian_placement.h"
#include "charset/unicode_mapping.h"
#include "codepage/fast_lookup.h"
#include "codepage/state.h"
#include "host/host.h"
#include "qstr14/strings.h"
#include "simd/unit_count.h"
#include "support/host_profile.h"
#include "support/machine.h"

namespace {

using qstr::simd::unitCount;
using qstr::test::ScopedProfile;

// Every start within a block (16 or 64 bytes), every length up to a few
// blocks past the short-string head that AVX-512 leaves to SSE2, limits
// below, at and above the length: the length scan of the tier in use finds
// the terminator the string was given, never a unit with one zero byte.
TEST(UnitCount, AgreesWithAPlainWalkAtEveryAlignment) {
  constexpr uint16_t kUnits[] = {0x4141, 0x0041, 0x4100, 0x0001, 0x8000};
  constexpr uint32_t kBufferUnits = 352;
  alignas(64) uint16_t buffer[kBufferUnits];
  for (uint32_t start = 0; start < 32; ++start) {
    for (uint32_t length = 0; start + length < kBufferUnits - 1; ++length) {
      for (uint32_t k = 0; k < kBufferUnits; ++k) buffer[k] = kUnits[(k + length) % 5];
      buffer[start + length] = 0;
      for (uint32_t limit : {0u, length / 2, length, length + 1, 0xFFFFFFFFu}) {
        const uint32_t expected = length < limit ? length : limit;
        ASSERT_EQ(unitCount(buffer + start, limit), expected) << "start " << start << " length " << length
                                                              << " limit " << limit;
      }
    }
  }
}

// Every value but 0 through each string loop, in the code pages whose
// tables the loops build, switching back and forth between them: the same
// answers as the one-character functions.
TEST(StringLoops, AgreeWithTheCharacterFunctionsInEveryCodePage) {
  struct Loop {
    const char *what;
    uint32_t (*strings)(const uint16_t *, uint32_t, uint16_t *);
    uint16_t (*character)(uint16_t, uint32_t);
  };
  const Loop loops[] = {{"natives to UTF-16", qstr::charset::nativeStringToUnicode, qstr::charset::nativeToUnicode},
                        {"UTF-16 to natives", qstr::charset::unicodeStringToNative, qstr::charset::unicodeToNative}};
  std::vector<uint16_t> every, out(0x10000);
  for (uint32_t value = 1; value < 0x10000; ++value) every.push_back(static_cast<uint16_t>(value));
  every.push_back(0);
  for (const Loop &loop : loops) {
    for (const char *lang : {"en_US", "cs_CZ", "ja_JP", "en_US", "ko_KR", "zh_TW", "zh_CN", "ru_RU", "ja_JP"}) {
      ScopedProfile profile({{"LANG", lang}});
      const uint32_t codePage = qstr::host::ansiCodePage();
      // A value that converts to 0 ends the string: the next run starts
      // after it.
      for (uint32_t start = 0; start < 0xFFFF;) {
        const uint32_t end = start + loop.strings(every.data() + start, 0xFFFFFFFF, out.data() + start);
        for (uint32_t i = start; i <= end && i < 0xFFFF; ++i) {
          ASSERT_EQ(out[i], i < end ? loop.character(every[i], codePage) : 0) << loop.what << " in " << lang << ": " << every[i];
        }
        if (end < 0xFFFF) ASSERT_EQ(loop.character(every[end], codePage), 0) << loop.what << " in " << lang;
        start = end + 1;
      }
    }
  }
}

// Q6wzToaz writes runs of one-byte codes straight from the direct table;
// Q6wzToazN converts character by character. Every native but the two line
// codes (which Q6wzToaz spells out) gives the same bytes both ways.
TEST(NativeStringToBytes, RunsAgreeWithTheCharacterByCharacterConversion) {
  constexpr uint32_t kChunk = 4096;
  for (const char *lang : {"en_US", "cs_CZ", "ja_JP"}) {
    ScopedProfile profile({{"LANG", lang}});
    for (uint32_t first = 1; first < 0x10000; first += kChunk) {
      std::vector<uint16_t> natives;
      for (uint32_t n = first; n < first + kChunk && n < 0x10000; ++n) {
        if (n != 0xF90A && n != 0xF90D) natives.push_back(static_cast<uint16_t>(n));
      }
      natives.push_back(0);
      std::vector<char> runs(2 * kChunk + 1), plain(2 * kChunk + 1);
      const uint32_t written = Q6wzToaz(natives.data(), runs.data());
      ASSERT_EQ(Q6wzToazN(natives.data(), plain.data(), 0xFFFF), 1);
      // Some natives have the host code 0: compare all the bytes written.
      const auto end = runs.begin() + written + 1;
      const auto differs = std::mismatch(runs.begin(), end, plain.begin()).first;
      ASSERT_TRUE(differs == end) << lang << " from " << first << ", byte " << differs - runs.begin();
    }
  }
}

// The double-byte table of the ANSI record of each East Asian system
// answers as the record walk does for every code from 0x8000; without
// double-byte support there is none.
TEST(DoubleByteNatives, AgreesWithTheRecordWalkOnEveryEastAsianSystem) {
  for (const char *lang : {"ja_JP", "ko_KR", "zh_TW", "zh_CN"}) {
    qstr::test::Machine machine({{"LANG", lang}, {"QSTR14_DBCS", "1"}});
    const CODEPAGETBL &record = qstr::codepage::loadedAnsiRecord();
    const uint16_t *natives = qstr::codepage::doubleByteNatives(record);
    ASSERT_NE(natives, nullptr) << lang;
    for (uint32_t code = qstr::codepage::kFirstDoubleByteCode; code <= 0xFFFF; ++code) {
      ASSERT_EQ(natives[code - qstr::codepage::kFirstDoubleByteCode], QcvtNtvToQx(&record, code)) << lang << " " << code;
    }
  }
  qstr::test::Machine single({{"LANG", "ja_JP"}, {"QSTR14_DBCS", "0"}});
  EXPECT_EQ(qstr::codepage::doubleByteNatives(qstr::codepage::loadedAnsiRecord()), nullptr);
}

TEST(AnsiLeadBytes, AgreeWithTheHostInEveryCodePage) {
  for (const char *lang : {"ja_JP", "en_US", "zh_TW", "ko_KR", "ja_JP"}) {
    ScopedProfile profile({{"LANG", lang}});
    const bool *leadBytes = qstr::codepage::ansiLeadBytes();
    for (unsigned b = 0; b < 256; ++b) {
      ASSERT_EQ(leadBytes[b], qstr::host::isDbcsLeadByte(static_cast<uint8_t>(b))) << lang << " " << b;
    }
  }
}

}  // namespace
