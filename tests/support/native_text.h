// Native strings from u"" literals, with guard elements behind them so that a write past the end shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qstr::test::native_text {

inline constexpr uint16_t kGuard = 0x5555;

// `s`, then guards up to `size` elements.
inline std::vector<uint16_t> guarded(std::u16string_view s, std::size_t size) {
  std::vector<uint16_t> elements(s.begin(), s.end());
  elements.resize(size, kGuard);
  return elements;
}

// `s` and its terminator.
inline std::vector<uint16_t> units(std::u16string_view s) {
  return guarded(std::u16string(s) + u'\0', s.size() + 1);
}

// `s`, its terminator and two guards.
inline std::vector<uint16_t> guarded(std::u16string_view s) {
  return guarded(std::u16string(s) + u'\0', s.size() + 3);
}

}  // namespace qstr::test::native_text
