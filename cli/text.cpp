#include "text.h"

#include <cstdio>

namespace qstr::cli {

void appendUtf8(std::string &out, char16_t unit) {
  uint32_t value = unit;
  if (value >= 0xD800 && value <= 0xDFFF) value = 0xFFFD;
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | value >> 6);
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | value >> 12);
    out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

std::string hex4(uint32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

std::optional<uint32_t> parseNumber(const std::string &text, uint32_t maxValue) {
  std::size_t start = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    start = 2;
    base = 16;
  }
  if (start >= text.size() || text.size() - start > 10) return std::nullopt;
  uint64_t value = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (value > maxValue) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace qstr::cli
