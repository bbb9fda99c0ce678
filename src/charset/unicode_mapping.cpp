// Native–Unicode mapping: single characters, strings and validity.
#include "charset/unicode_mapping.h"

#include <algorithm>

#include "charset/east_asian_placement.h"
#include "charset/native_tables.h"
#include "host/host.h"
#include "qstr14/charset.h"

namespace qstr::charset {
namespace {

constexpr unsigned kAnsiSet = 12;
constexpr unsigned kFirstUnusedSet = 15;

// Converts one or two bytes of the ANSI code page; kNoMapping on failure.
uint16_t ansiBytesToUnicode(uint32_t codePage, const uint8_t *bytes, int count) {
  char16_t unit;
  return host::charToUnicode(codePage, bytes, count, &unit) == 1 ? unit : kNoMapping;
}

// Converts a Unicode value to a native East Asian character through the
// code page's double-byte code; `requireLead` also asks that the first byte
// be a lead byte of the ANSI code page.
uint16_t unicodeToEastAsian(uint32_t codePage, uint16_t unicode, bool requireLead) {
  uint8_t bytes[2];
  if (host::unicodeToChar(codePage, unicode, bytes) != 2) return kNoMapping;
  if (requireLead && !host::isDbcsLeadByte(bytes[0])) return kNoMapping;
  return lDbcsToQX6x(codePage, static_cast<uint16_t>(bytes[0] << 8 | bytes[1]));
}

bool inEastAsianBlocks(uint16_t unicode) {
  return (unicode >= 0x1100 && unicode <= 0x11FF) || (unicode >= 0x3000 && unicode <= 0x9FFF);
}

// The shared loop of the two string conversions: converts until a 0 result
// has been stored or either length is used up; returns the elements stored.
template <typename Source, typename Target, typename Convert>
uint32_t convertString(const Source *src, uint32_t srcLength, Target *dst, uint32_t dstLength,
                       Convert convert) {
  uint32_t stored = 0;
  while (stored < srcLength && stored < dstLength) {
    const uint16_t result = convert(src[stored]);
    dst[stored++] = static_cast<Target>(result);
    if (result == 0) break;
  }
  return stored;
}

}  // namespace

uint16_t lGetUnicodeValue(unsigned set, unsigned code) {
  set &= 0xFF;
  code &= 0xFF;
  if (set == 0 || set == kAnsiSet) {
    if (code < 0x80) return static_cast<uint16_t>(code);
    const uint8_t byte = static_cast<uint8_t>(code);
    return ansiBytesToUnicode(host::ansiCodePage(), &byte, 1);
  }
  if (set >= kFirstUnusedSet) return kNoMapping;
  const ForwardTable &table = kForwardTables[set];
  return code < table.length ? table.values[code] : kNoMapping;
}

ValidityRange validityRange(unsigned set) {
  if (set == 0) return {0x20, 0x7E};
  if (set == kAnsiSet) return {0, 254};
  return {0, static_cast<uint8_t>(kForwardTables[set].length - 1)};
}

}  // namespace qstr::charset

using namespace qstr::charset;
namespace host = qstr::host;

uint16_t QSTR_CALL GetUnicodeValue(uint32_t set, uint32_t code) {
  const uint16_t unicode = lGetUnicodeValue(set & 0xFF, code & 0xFF);
  return unicode == kNoMapping ? 0 : unicode;
}

uint16_t QSTR_CALL KZcharQX6xToUnicode(uint32_t nativeChar) {
  const uint32_t codePage = host::ansiCodePage();
  const unsigned set = nativeChar >> 8 & 0xFF;
  if (set <= 15) return lGetUnicodeValue(set, nativeChar & 0xFF);
  if (!isEastAsianCodePage(codePage) || !isEastAsianSet(set)) return kNoMapping;
  const uint16_t code = lQX6xToDbcs(codePage, static_cast<uint16_t>(nativeChar));
  if (code == kNoMapping) return kNoMapping;
  const uint8_t bytes[2] = {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
  return ansiBytesToUnicode(codePage, bytes, 2);
}

uint32_t QSTR_CALL KZstrQX6xToUnicode(const uint16_t *src, uint32_t srcLength, uint16_t *dst,
                                      uint32_t dstLength) {
  return convertString(src, srcLength, dst, dstLength, [](uint16_t c) { return KZcharQX6xToUnicode(c); });
}

uint16_t QSTR_CALL GetQXCCHARValue(uint32_t unicode) {
  const uint16_t key = static_cast<uint16_t>(unicode);
  // The keys are unique, so any binary search finds the same entry.
  const ReverseEntry *end = kReverseTable + kReverseTableSize;
  const ReverseEntry *found = std::lower_bound(
      kReverseTable, end, key, [](const ReverseEntry &entry, uint16_t k) { return entry.unicode < k; });
  return found != end && found->unicode == key ? found->native : kNoMapping;
}

uint16_t QSTR_CALL KZcharUnicodeToQX6x(uint32_t unicodeArg) {
  const uint32_t codePage = host::ansiCodePage();
  const uint16_t unicode = static_cast<uint16_t>(unicodeArg);
  if (unicode < 0x7F) return unicode;
  const bool eastAsian = isEastAsianCodePage(codePage);
  if (eastAsian && inEastAsianBlocks(unicode)) return unicodeToEastAsian(codePage, unicode, false);
  const uint16_t fromTable = GetQXCCHARValue(unicode);
  if (fromTable != kNoMapping) return fromTable;
  if (eastAsian && unicode > 0xFF) return unicodeToEastAsian(codePage, unicode, true);
  return kNoMapping;
}

uint32_t QSTR_CALL KZstrUnicodeToQX6x(const uint16_t *src, uint32_t srcLength, uint16_t *dst,
                                      uint32_t dstLength) {
  return convertString(src, srcLength, dst, dstLength, [](uint16_t u) { return KZcharUnicodeToQX6x(u); });
}

int32_t QSTR_CALL ValidQxCharacter(uint32_t nativeChar) {
  unsigned set = nativeChar >> 8 & 0xFF;
  unsigned code = nativeChar & 0xFF;
  if (set == 0xFF) set = 0;
  if (code == 0xFF) code = 0;
  if (set < kTableSetCount) {
    const ValidityRange range = validityRange(set);
    if (code >= range.lowest && code <= range.highest) return 1;
  }
  return isEastAsianSet(set) && host::dbcsEnabled() ? 1 : 0;
}
