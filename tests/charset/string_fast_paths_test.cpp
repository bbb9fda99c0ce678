// The fast paths (vector and string loops, prebuilt tables) agree with the plain forms on every input;
// CTest reruns all but DoubleByteNatives under each lower QSTR14_ISA tier.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "charset/unicode_mapping.h"
#include "codepage/fast_lookup.h"
#include "host/host.h"
#include "qstr14/strings.h"
#include "simd/kernels.h"
#include "simd/unit_count.h"
#include "support/host_profile.h"
#include "support/machine.h"

namespace {

namespace simd = qstr::simd;
using qstr::test::ScopedProfile;

// Fast and plain (by default: true) agree on [first, last]; reports the first difference.
template <typename Fast, typename Plain = bool (*)(uint32_t)>
void expectSameOnDomain(const std::string &what, uint32_t first, uint32_t last, Fast fast,
                        Plain plain = [](uint32_t) { return true; }) {
  for (uint32_t v = first; v <= last; ++v) {
    const auto got = fast(v), expected = plain(v);
    if (got != expected) {
      ADD_FAILURE() << what << " at " << v;
      return;
    }
  }
}

// Lengths up to a streamed output; the output apart from, over or after the input.
TEST(BytesThroughTable, AgreesWithThePlainWalk) {
  std::mt19937 random(7);
  std::vector<uint16_t> table(256);
  for (uint16_t &v : table) v = static_cast<uint16_t>(random());
  const std::size_t counts[] = {0, 1, 31, 63, 64, 65, 127, 128, 129, 4099,
                                simd::kStreamingOutputBytes / 2 + 77};
  expectSameOnDomain("count", 0, 5 * std::size(counts) - 1, [&](uint32_t k) {
    const std::ptrdiff_t offsets[] = {-1, 0, 2, 62, 0x400};  // -1: a buffer apart
    const std::ptrdiff_t offset = offsets[k / std::size(counts)];
    const std::size_t count = counts[k % std::size(counts)];
    std::vector<uint8_t> buffer(2 * count + 0x800 + 64, 0xEE);
    uint8_t *bytes = buffer.data() + 32;
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i < 256 ? i : random());
    std::vector<uint16_t> expected(count), apart(count + 2, 0xEEEE);
    simd::bytesThroughTablePlain(table.data(), bytes, expected.data(), count);
    uint16_t *out = offset < 0 ? apart.data() + 1 : reinterpret_cast<uint16_t *>(bytes + offset);
    const uint8_t *after = reinterpret_cast<uint8_t *>(out + count);
    const uint8_t afterBefore = offset < 0 ? 0xEE : *after;
    simd::bytesThroughTable(table.data(), bytes, out, count);
    const bool guarded = offset < 0 ? apart.front() == 0xEEEE && apart[count + 1] == 0xEEEE
                                    : buffer[31] == 0xEE && (after < bytes + count || *after == afterBefore);
    return std::vector<uint16_t>(out, out + count) == expected && guarded;
  });
}

// A value outside the table (or entry 0) anywhere ends the walk; output at every alignment, streamed or not.
TEST(UnitsThroughTable, AgreesWithThePlainWalkUpToTheFirstValueOutside) {
  std::mt19937 random(11);
  for (std::size_t size : {0x1000, 0x10000}) {
    simd::LookupTable table(size);
    for (std::size_t i = 0; i < size; ++i) table[i] = static_cast<uint16_t>(1 + random() % 0xFFFF);
    constexpr uint16_t kZeroEntry = 0x0C00;
    table[kZeroEntry] = 0;
    for (std::size_t count : {0, 1, 15, 16, 17, 40, 127, 128, 129, 160, 333}) {
      for (std::size_t outside = 0; outside <= count; outside += outside < 48 ? 1 : 29) {
        std::vector<uint16_t> input(count);
        for (uint16_t &v : input) v = static_cast<uint16_t>(random() % size);
        if (count > 0) input[0] = static_cast<uint16_t>(size - 1);  // read with its spare neighbour
        if (outside < count) input[outside] = uint16_t(size < 0x10000 ? size + outside % 4 : kZeroEntry);
        std::vector<uint16_t> expected(count + 1, 0xEEEE);
        const std::size_t plain = simd::unitsThroughTablePlain(table, input.data(), expected.data(), count);
        const std::string where = std::to_string(size) + "/" + std::to_string(count) + "/" + std::to_string(outside);
        expectSameOnDomain(where, 0, 31, [&](uint32_t k) {
          std::vector<uint16_t> buffer(count + 1 + k % 16, 0xEEEE);
          uint16_t *out = buffer.data() + k % 16;
          const std::size_t n = simd::unitsThroughTable(table, input.data(), out, count, k >= 16);
          return std::make_pair(n, std::vector<uint16_t>(out, out + count + 1));
        }, [&](uint32_t) { return std::make_pair(plain, expected); });
      }
    }
  }
}

// Every start in a 64-byte block, lengths past the widest head, limits around the length.
TEST(UnitCount, AgreesWithAPlainWalkAtEveryAlignment) {
  constexpr uint16_t kUnits[] = {0x4141, 0x0041, 0x4100, 0x0001, 0x8000};
  constexpr uint32_t kBufferUnits = 352;
  alignas(64) uint16_t buffer[kBufferUnits];
  for (uint32_t start = 0; start < 32; ++start) {
    for (uint32_t length = 0; start + length < kBufferUnits - 1; ++length) {
      for (uint32_t k = 0; k < kBufferUnits; ++k) buffer[k] = kUnits[(k + length) % 5];
      buffer[start + length] = 0;
      for (uint32_t limit : {0u, length / 2, length, length + 1, 0xFFFFFFFFu}) {
        ASSERT_EQ(simd::unitCount(buffer + start, limit), std::min(length, limit)) << start << "/" << length;
      }
    }
  }
}

// Every value through each loop, code pages switched back and forth; a 0 answer ends the string.
TEST(StringLoops, AgreeWithTheCharacterFunctionsInEveryCodePage) {
  struct Loop {
    uint32_t (*strings)(const uint16_t *, uint32_t, uint16_t *);
    uint16_t (*character)(uint16_t, uint32_t);
  };
  const Loop loops[] = {{qstr::charset::nativeStringToUnicode, qstr::charset::nativeToUnicode},
                        {qstr::charset::unicodeStringToNative, qstr::charset::unicodeToNative}};
  std::vector<uint16_t> every, out(0x10000);
  for (uint32_t value = 1; value <= 0x10000; ++value) every.push_back(static_cast<uint16_t>(value));
  for (const Loop &loop : loops) {
    for (const char *lang : {"en_US", "cs_CZ", "ja_JP", "en_US", "ko_KR", "zh_TW", "zh_CN", "ru_RU", "ja_JP"}) {
      ScopedProfile profile({{"LANG", lang}});
      const uint32_t codePage = qstr::host::ansiCodePage();
      for (uint32_t start = 0; start < 0xFFFF;) {
        const uint32_t end = start + loop.strings(every.data() + start, 0xFFFFFFFF, out.data() + start);
        expectSameOnDomain(lang, start, std::min(end, 0xFFFEu), [&](uint32_t i) { return out[i]; },
                           [&](uint32_t i) { return i < end ? loop.character(every[i], codePage) : uint16_t{0}; });
        if (end < 0xFFFF) ASSERT_EQ(loop.character(every[end], codePage), 0) << lang;
        start = end + 1;
      }
    }
  }
}

// Q6wzToaz writes runs from the direct table, Q6wzToazN one by one: the same bytes but for line codes.
TEST(NativeStringToBytes, RunsAgreeWithTheCharacterByCharacterConversion) {
  constexpr uint32_t kChunk = 4096;
  for (const char *lang : {"en_US", "cs_CZ", "ja_JP"}) {
    ScopedProfile profile({{"LANG", lang}});
    expectSameOnDomain(lang, 0, 0xFFFF / kChunk, [&](uint32_t chunk) {
      std::vector<uint16_t> natives;
      for (uint32_t n = chunk * kChunk + 1; n <= (chunk + 1) * kChunk && n < 0x10000; ++n) {
        if (n != 0xF90A && n != 0xF90D) natives.push_back(static_cast<uint16_t>(n));
      }
      natives.push_back(0);
      std::vector<char> runs(2 * kChunk + 1), plain(2 * kChunk + 1);
      const uint32_t written = Q6wzToaz(natives.data(), runs.data());
      const bool ok = Q6wzToazN(natives.data(), plain.data(), 0xFFFF) == 1;
      runs.resize(written + 1);  // a host code 0 ends the bytes early
      plain.resize(written + 1);
      return ok && runs == plain;
    });
  }
}

// The double-byte and lead byte tables answer as the record walk and the host; no support, no table.
TEST(DoubleByteNatives, AgreesWithTheRecordWalkOnEveryEastAsianSystem) {
  for (const char *lang : {"ja_JP", "ko_KR", "zh_TW", "zh_CN"}) {
    qstr::test::Machine machine({{"LANG", lang}, {"QSTR14_DBCS", "1"}});
    const CODEPAGETBL &record = qstr::codepage::loadedAnsiRecord();
    const uint16_t *natives = qstr::codepage::doubleByteNatives(record);
    ASSERT_NE(natives, nullptr) << lang;
    const uint32_t first = qstr::codepage::kFirstDoubleByteCode;
    expectSameOnDomain(lang, first, 0xFFFF, [&](uint32_t code) { return natives[code - first]; },
                       [&](uint32_t code) { return QcvtNtvToQx(&record, code); });
  }
  qstr::test::Machine single({{"LANG", "ja_JP"}, {"QSTR14_DBCS", "0"}});
  EXPECT_EQ(qstr::codepage::doubleByteNatives(qstr::codepage::loadedAnsiRecord()), nullptr);
  for (const char *lang : {"ja_JP", "en_US", "zh_TW", "ko_KR", "ja_JP"}) {
    ScopedProfile profile({{"LANG", lang}});
    const bool *leadBytes = qstr::codepage::ansiLeadBytes();
    expectSameOnDomain(lang, 0, 255, [&](uint32_t b) { return leadBytes[b]; },
                       [](uint32_t b) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(b)) != 0; });
  }
}

}  // namespace
