// The two numberings of the native control and attribute codes that
// Q6wzFix switches between.
#pragma once

#include <array>
#include <cstdint>

namespace qstr::primitives {

struct SpecialCodePair {
  uint16_t renumbered;  // 0xFB13... / 0xFC45... / 0xFC66 + a / 0xFC76 + a
  uint16_t native;      // 0xF909... controls, 0xFE00 + 2a on, 0xFE01 + 2a off
};

inline constexpr unsigned kAttributeCount = 16;

constexpr std::array<SpecialCodePair, 4 + 2 * kAttributeCount> makeSpecialCodePairs() {
  std::array<SpecialCodePair, 4 + 2 * kAttributeCount> pairs{{
      {0xFB13, 0xF90D},  // carriage return
      {0xFB16, 0xF90A},  // line feed
      {0xFB1B, 0xF90C},  // form feed
      {0xFC45, 0xF909},  // tab
  }};
  for (unsigned a = 0; a < kAttributeCount; ++a) {
    pairs[4 + a] = {static_cast<uint16_t>(0xFC66 + a), static_cast<uint16_t>(0xFE00 + 2 * a)};
    pairs[4 + kAttributeCount + a] = {static_cast<uint16_t>(0xFC76 + a), static_cast<uint16_t>(0xFE01 + 2 * a)};
  }
  return pairs;
}

inline constexpr auto kSpecialCodePairs = makeSpecialCodePairs();

}  // namespace qstr::primitives
