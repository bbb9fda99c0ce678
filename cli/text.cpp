#include "text.h"

#include <cstdio>

#include "qstr14/charset.h"

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

void appendUtf8CodePoint(std::string &out, uint32_t value) {
  if (value < 0x10000) {
    appendUtf8(out, static_cast<char16_t>(value));
    return;
  }
  out += static_cast<char>(0xF0 | value >> 18);
  out += static_cast<char>(0x80 | (value >> 12 & 0x3F));
  out += static_cast<char>(0x80 | (value >> 6 & 0x3F));
  out += static_cast<char>(0x80 | (value & 0x3F));
}

int decodeUtf8(const uint8_t *bytes, std::size_t size, uint32_t &codePoint) {
  if (size == 0) return 0;
  const uint8_t lead = bytes[0];
  int length;
  uint32_t minimum;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07u;
  } else {
    return -1;
  }
  for (int i = 1; i < length; ++i) {
    if (static_cast<std::size_t>(i) >= size) return 0;
    if ((bytes[i] & 0xC0) != 0x80) return -1;
    codePoint = codePoint << 6 | (bytes[i] & 0x3Fu);
    // Reject overlong, surrogate and too-large forms as soon as they show.
    if (i == 1 && length == 3 && lead == 0xE0 && bytes[1] < 0xA0) return -1;
    if (i == 1 && length == 3 && lead == 0xED && bytes[1] >= 0xA0) return -1;
    if (i == 1 && length == 4 && lead == 0xF0 && bytes[1] < 0x90) return -1;
    if (i == 1 && length == 4 && lead == 0xF4 && bytes[1] >= 0x90) return -1;
  }
  return codePoint >= minimum ? length : -1;
}

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHighSurrogate(uint32_t value) { return value >= 0xD800 && value <= 0xDBFF; }
bool isLowSurrogate(uint32_t value) { return value >= 0xDC00 && value <= 0xDFFF; }

void appendCodePoint(std::u16string &out, uint32_t value) {
  if (value < 0x10000) {
    out += static_cast<char16_t>(value);
    return;
  }
  value -= 0x10000;
  out += static_cast<char16_t>(0xD800 | value >> 10);
  out += static_cast<char16_t>(0xDC00 | (value & 0x3FF));
}

}  // namespace

std::optional<std::u16string> decodeUtf8(std::string_view bytes) {
  const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size();) {
    uint32_t value = 0;
    const int length = decodeUtf8(data + i, bytes.size() - i, value);
    if (length <= 0) return std::nullopt;
    appendCodePoint(out, value);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::string encodeUtf8(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const uint32_t unit = units[i];
    if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      appendUtf8CodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00u));
    } else {
      appendUtf8(out, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : static_cast<char16_t>(unit));
    }
  }
  return out;
}

NativeText toNative(std::u16string_view units) {
  NativeText text;
  text.source.assign(units);
  text.native.reserve(units.size());
  for (char16_t unit : units) text.native += static_cast<char16_t>(KZcharUnicodeToQX6x(unit));
  return text;
}

std::string hex2(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string hex4(uint32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}


}  // namespace qstr::cli
