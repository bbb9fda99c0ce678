// ASCII letters and digits, for text whose other characters pass through
// unchanged: names, language codes, registry keys, numbers in settings.
// Templates so that bytes, native characters and UTF-16 units share them.
#pragma once

#include <concepts>
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

}  // namespace qstr::base
