// ASCII letters and digits, for text whose other characters pass through
// unchanged: names, language codes, registry keys, numbers in settings and
// on the command line.
// Templates so that bytes, native characters and UTF-16 units share them.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qstr::base {

template <std::integral Unit>
constexpr bool isAsciiUpper(Unit c) {
  return c >= 'A' && c <= 'Z';
}

template <std::integral Unit>
constexpr bool isAsciiLower(Unit c) {
  return c >= 'a' && c <= 'z';
}

template <std::integral Unit>
constexpr bool isAsciiLetter(Unit c) {
  return isAsciiUpper(c) || isAsciiLower(c);
}

template <std::integral Unit>
constexpr Unit toAsciiLower(Unit c) {
  return isAsciiUpper(c) ? static_cast<Unit>(c + ('a' - 'A')) : c;
}

template <std::integral Unit>
constexpr Unit toAsciiUpper(Unit c) {
  return isAsciiLower(c) ? static_cast<Unit>(c - ('a' - 'A')) : c;
}

inline std::string toAsciiLower(std::string_view text) {
  std::string lowered(text);
  for (char &c : lowered) c = toAsciiLower(c);
  return lowered;
}

inline std::string toAsciiUpper(std::string_view text) {
  std::string raised(text);
  for (char &c : raised) c = toAsciiUpper(c);
  return raised;
}

// The value of a hex digit of either case, or -1.
constexpr int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A number written in decimal or, after "0x" or "0X", in hex: the whole of
// `text`, at most 10 digits, within [minValue, maxValue]; nullopt otherwise.
inline std::optional<uint32_t> parseNumber(std::string_view text, uint32_t minValue, uint32_t maxValue) {
  int radix = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    radix = 16;
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    const int digit = hexDigitValue(c);
    if (digit < 0 || digit >= radix) return std::nullopt;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
  }
  if (value < minValue || value > maxValue) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace qstr::base
