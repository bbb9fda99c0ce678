// The vector table lookups against their element-at-a-time forms. These
// tests run once per tier of vector instructions the processor has (CTest
// registers them again under each QSTR14_ISA cap): each run checks the
// tier it runs with against the element-at-a-time forms.
#include "simd/kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "host/profile.h"
#include "simd/dispatch.h"

namespace {

using qstr::simd::LookupTable;

std::vector<uint16_t> randomValues(std::mt19937 &random, std::size_t count) {
  std::vector<uint16_t> values(count);
  for (uint16_t &v : values) v = static_cast<uint16_t>(random());
  return values;
}

// The loops run with the tier QSTR14_ISA names, or the best the processor
// has: a cap that were not obeyed would leave a tier's run checking another.
TEST(VectorIsa, IsTheProcessorsBestUpToTheCap) {
  using qstr::host::VectorIsa;
  const VectorIsa best = qstr::simd::processorVectorIsa();
  const char *cap = std::getenv("QSTR14_ISA");
  const std::optional<VectorIsa> capped = cap ? qstr::host::parseVectorIsa(cap) : std::nullopt;
  const VectorIsa expected = capped ? std::min(best, *capped) : best;
  EXPECT_EQ(qstr::simd::vectorIsa(), expected) << (cap ? cap : "no cap");
}

// Where the 16-bit output starts, in bytes from the start of the input
// bytes inside one shared buffer.
struct Layout {
  const char *what;
  std::ptrdiff_t outputOffset;  // from the input bytes; -1 means a separate buffer
};

// Every length up to a few blocks and beyond, up to a streamed output,
// every byte value, the output apart from the input, at the input's own
// address and after it: the same values as the element-at-a-time walk.
TEST(BytesThroughTable, AgreesWithThePlainWalk) {
  std::mt19937 random(7);
  const std::vector<uint16_t> table = randomValues(random, 256);
  const Layout layouts[] = {{"apart", -1}, {"in place", 0}, {"two bytes after", 2}, {"62 bytes after", 62},
                            {"just after", 0x400}};
  for (const Layout &layout : layouts) {
    for (std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{31}, std::size_t{63},
                              std::size_t{64}, std::size_t{65}, std::size_t{127}, std::size_t{128}, std::size_t{129},
                              std::size_t{200}, std::size_t{1000}, std::size_t{4099},
                              qstr::simd::kStreamingOutputBytes / 2 + 77}) {
      std::vector<uint8_t> input(count);
      for (std::size_t i = 0; i < count; ++i) input[i] = static_cast<uint8_t>(i < 256 ? i : random());
      std::vector<uint16_t> expected(count);
      qstr::simd::bytesThroughTablePlain(table.data(), input.data(), expected.data(), count);

      // One buffer holds the input and, for the overlapping layouts, the
      // output; guard values around both show writes out of place.
      std::vector<uint8_t> buffer(2 * count + 0x800 + 64, 0xEE);
      uint8_t *bytes = buffer.data() + 32;
      std::copy(input.begin(), input.end(), bytes);
      std::vector<uint16_t> apart(count + 2, 0xEEEE);
      uint16_t *out = layout.outputOffset < 0 ? apart.data() + 1
                                              : reinterpret_cast<uint16_t *>(bytes + layout.outputOffset);
      qstr::simd::bytesThroughTable(table.data(), bytes, out, count);
      const std::vector<uint16_t> got(out, out + count);
      ASSERT_EQ(got, expected) << layout.what << ", " << count << " bytes";
      if (layout.outputOffset < 0) {
        EXPECT_EQ(apart.front(), 0xEEEE);
        EXPECT_EQ(apart[count + 1], 0xEEEE);
      } else {
        EXPECT_EQ(buffer[31], 0xEE);
        const uint8_t *after = reinterpret_cast<uint8_t *>(out + count);
        EXPECT_EQ(*after, after < bytes + count ? bytes[after - bytes] : 0xEE) << layout.what << ", " << count;
      }
    }
  }
}

// Tables of both sizes in use, inputs inside them with one value outside
// (or one whose table value is 0) at each position of the first blocks and
// some further on (or none), outputs cached or streamed from each
// alignment: the same count and the same values as the element-at-a-time
// walk, and nothing written past the count.
TEST(UnitsThroughTable, AgreesWithThePlainWalkUpToTheFirstValueOutside) {
  std::mt19937 random(11);
  for (std::size_t size : {0x1000, 0x10000}) {
    LookupTable table(size);
    for (std::size_t i = 0; i < size; ++i) table[i] = static_cast<uint16_t>(1 + random() % 0xFFFF);
    constexpr uint16_t kZeroEntry = 0x0C00;
    table[kZeroEntry] = 0;
    // Counts on both sides of the length below which AVX-512 leaves the
    // walk to the plain loop; values outside near the start and further on.
    for (std::size_t count : {0, 1, 15, 16, 17, 40, 127, 128, 129, 160, 333}) {
      for (std::size_t outside = 0; outside <= count; outside += outside < 48 ? 1 : 29) {
        std::vector<uint16_t> input(count);
        for (uint16_t &v : input) v = static_cast<uint16_t>(random() % size);
        if (count > 0) input[0] = static_cast<uint16_t>(size - 1);  // the last entry: read with its spare neighbour
        // Where the walk must stop: past the small table, or at a value 0
        // in the large one, which every element indexes.
        if (outside < count) input[outside] = static_cast<uint16_t>(size < 0x10000 ? size + outside % 4 : kZeroEntry);
        std::vector<uint16_t> expected(count + 1, 0xEEEE);
        const std::size_t plain = qstr::simd::unitsThroughTablePlain(table, input.data(), expected.data(), count);
        for (const bool streamed : {false, true}) {
          for (std::size_t shift = 0; shift < 16; ++shift) {  // the output at every alignment
            std::vector<uint16_t> buffer(count + 1 + shift, 0xEEEE);
            uint16_t *out = buffer.data() + shift;
            const std::string where = "size " + std::to_string(size) + ", count " + std::to_string(count) +
                                      ", outside at " + std::to_string(outside) + (streamed ? ", streamed" : "") +
                                      ", shift " + std::to_string(shift);
            ASSERT_EQ(qstr::simd::unitsThroughTable(table, input.data(), out, count, streamed), plain) << where;
            ASSERT_EQ(std::vector<uint16_t>(out, out + count + 1), expected) << where;
          }
        }

        std::vector<uint16_t> inPlace = input;
        qstr::simd::unitsThroughTable(table, inPlace.data(), inPlace.data(), count);
        for (std::size_t i = 0; i < plain; ++i) ASSERT_EQ(inPlace[i], expected[i]) << "in place, element " << i;
      }
    }
  }
}

}  // namespace
