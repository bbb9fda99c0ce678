// Native–Unicode mapping: single characters, strings and validity.
#include "charset/unicode_mapping.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "charset/east_asian_placement.h"
#include "charset/native_tables.h"
#include "charset/per_code_page.h"
#include "host/host.h"
#include "qstr14/charset.h"
#include "simd/table_lookup.h"
#include "simd/unit_count.h"

namespace qstr::charset {
namespace {

using simd::LookupTable;
using simd::kStreamingOutputBytes;
using simd::unitCount;
using simd::unitsThroughTable;

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
template <typename Convert>
uint32_t convertString(const uint16_t *src, uint32_t srcLength, uint16_t *dst, uint32_t dstLength,
                       Convert convert) {
  const uint32_t limit = srcLength < dstLength ? srcLength : dstLength;
  for (uint32_t i = 0; i < limit; ++i) {
    const uint16_t result = convert(src[i]);
    dst[i] = result;
    if (result == 0) return i + 1;
  }
  return limit;
}

// The reverse table as a direct index over all 65,536 values: the same
// answers as the binary search, built once on first use.
const uint16_t *reverseIndex() {
  static const std::unique_ptr<uint16_t[]> index = [] {
    auto table = std::make_unique<uint16_t[]>(0x10000);
    std::fill_n(table.get(), 0x10000, kNoMapping);
    for (const ReverseEntry &entry : kReverseTable) table[entry.unicode] = entry.native;
    return table;
  }();
  return index.get();
}

uint16_t valueInAnsiCodePage(unsigned code, uint32_t ansiCodePage) {
  if (code < 0x80) return static_cast<uint16_t>(code);
  const uint8_t byte = static_cast<uint8_t>(code);
  return ansiBytesToUnicode(ansiCodePage, &byte, 1);
}

}  // namespace

uint16_t reverseTableSearch(uint16_t unicode) {
  const ReverseEntry *end = kReverseTable + kReverseTableSize;
  const ReverseEntry *found = std::lower_bound(
      kReverseTable, end, unicode, [](const ReverseEntry &entry, uint16_t k) { return entry.unicode < k; });
  return found != end && found->unicode == unicode ? found->native : kNoMapping;
}

// The characters that need the host: sets 0 and 12 from 0x80, the East
// Asian sets.
static uint16_t nativeToUnicodeThroughHost(uint16_t native, uint32_t ansiCodePage) {
  const unsigned set = native >> 8;
  const unsigned code = native & 0xFF;
  if (set == 0 || set == kAnsiSet) return valueInAnsiCodePage(code, ansiCodePage);
  if (set < 16 || !isEastAsianCodePage(ansiCodePage) || !isEastAsianSet(set)) return kNoMapping;
  const uint16_t doubleByte = lQX6xToDbcs(ansiCodePage, native);
  if (doubleByte == kNoMapping) return kNoMapping;
  const uint8_t bytes[2] = {static_cast<uint8_t>(doubleByte >> 8), static_cast<uint8_t>(doubleByte)};
  return ansiBytesToUnicode(ansiCodePage, bytes, 2);
}

uint16_t nativeToUnicode(uint16_t native, uint32_t ansiCodePage) {
  if (native < 0x80) return native;
  const unsigned set = native >> 8;
  if (set != 0 && set != kAnsiSet && set < kTableSetCount) {
    const unsigned code = native & 0xFF;
    return code < kForwardTables[set].length ? kForwardTables[set].values[code] : kNoMapping;
  }
  return nativeToUnicodeThroughHost(native, ansiCodePage);
}

namespace {

// Natives of sets 0-15 (set 15 has no values; it is there so that the
// index size is a power of two, which one test over several natives uses).
constexpr uint16_t kSingleByteSetsEnd = 0x1000;

// nativeToUnicode for every native under one ANSI code page: sets 0-15,
// and the East Asian sets too where the code page has them.
LookupTable buildNativeUnicodeIndex(uint32_t ansiCodePage) {
  LookupTable values(isEastAsianCodePage(ansiCodePage) ? 0x10000 : kSingleByteSetsEnd);
  for (std::size_t n = 0; n < values.size(); ++n) values[n] = nativeToUnicode(static_cast<uint16_t>(n), ansiCodePage);
  return values;
}

const LookupTable &nativeUnicodeIndex(uint32_t ansiCodePage) {
  static PerCodePage<LookupTable> indexes(buildNativeUnicodeIndex);
  return indexes(ansiCodePage);
}

// unicodeToNative for every Unicode value under one East Asian ANSI code
// page (elsewhere the reverse index answers).
std::vector<uint16_t> buildEastAsianNativeIndex(uint32_t ansiCodePage) {
  std::vector<uint16_t> natives(0x10000);
  for (std::size_t u = 0; u < natives.size(); ++u) natives[u] = unicodeToNative(static_cast<uint16_t>(u), ansiCodePage);
  return natives;
}

const std::vector<uint16_t> &eastAsianNativeIndex(uint32_t ansiCodePage) {
  static PerCodePage<std::vector<uint16_t>> indexes(buildEastAsianNativeIndex);
  return indexes(ansiCodePage);
}

}  // namespace

uint16_t unicodeToNative(uint16_t unicode, uint32_t ansiCodePage) {
  if (unicode < 0x7F) return unicode;
  const bool eastAsian = isEastAsianCodePage(ansiCodePage);
  if (eastAsian && inEastAsianBlocks(unicode)) return unicodeToEastAsian(ansiCodePage, unicode, false);
  const uint16_t fromTable = reverseIndex()[unicode];
  if (fromTable != kNoMapping) return fromTable;
  if (eastAsian && unicode > 0xFF) return unicodeToEastAsian(ansiCodePage, unicode, true);
  return kNoMapping;
}

namespace {

// Through the index up to each native outside it (which the host answers)
// or with the value 0. A native that converts to 0 ends the string: the 0
// is stored and nothing after it. Returns the units stored before that 0,
// or `count` when there was none.
std::size_t convertThroughIndex(const LookupTable &index, uint32_t codePage, const uint16_t *src, uint16_t *dst,
                                std::size_t count, bool partOfLongOutput) {
  std::size_t i = unitsThroughTable(index, src, dst, count, partOfLongOutput);
  while (i < count) {
    dst[i] = nativeToUnicode(src[i], codePage);
    if (dst[i] == 0) return i;
    ++i;
    i += unitsThroughTable(index, src + i, dst + i, count - i, partOfLongOutput);
  }
  return count;
}

}  // namespace

uint32_t nativeStringToUnicode(const uint16_t *src, uint32_t limit, uint16_t *dst) {
  if (limit == 0 || src[0] == 0) {  // nothing to convert: no table to look up
    dst[0] = 0;
    return 0;
  }
  const uint32_t codePage = host::ansiCodePage();
  const LookupTable &index = nativeUnicodeIndex(codePage);
  // A piece at a time, measured and then converted while it is still in the
  // cache: a long string is read from memory once, not twice.
  constexpr uint32_t kPiece = 8192;
  uint32_t done = 0;
  for (;;) {
    const uint32_t wanted = limit - done < kPiece ? limit - done : kPiece;
    const uint32_t count = unitCount(src + done, wanted);
    // Once the output has grown long, the rest is written past the caches.
    const bool longOutput = 2 * std::size_t{done} >= kStreamingOutputBytes;
    const auto converted = static_cast<uint32_t>(convertThroughIndex(index, codePage, src + done, dst + done, count, longOutput));
    done += converted;
    if (converted < count) return done;  // the 0 is stored
    if (count < wanted || done == limit) break;
  }
  dst[done] = 0;
  return done;
}

uint32_t unicodeStringToNative(const uint16_t *src, uint32_t limit, uint16_t *dst) {
  if (limit == 0 || src[0] == 0) {  // nothing to convert: no table to look up
    dst[0] = 0;
    return 0;
  }
  const uint32_t codePage = host::ansiCodePage();
  const uint32_t count = unitCount(src, limit);
  if (isEastAsianCodePage(codePage)) {
    const std::vector<uint16_t> &index = eastAsianNativeIndex(codePage);
    for (uint32_t i = 0; i < count; ++i) dst[i] = index[src[i]];
  } else {
    // Without a double-byte code page only the reverse table answers.
    const uint16_t *index = reverseIndex();
    for (uint32_t i = 0; i < count; ++i) {
      // Both answers read, one chosen by a mask: no branch to mispredict in
      // text that mixes ASCII with other characters.
      const uint16_t c = src[i], fromTable = index[c];
      const uint16_t asciiMask = static_cast<uint16_t>(-static_cast<int>(c < 0x7F));
      dst[i] = static_cast<uint16_t>((c & asciiMask) | (fromTable & ~asciiMask));
    }
  }
  dst[count] = 0;
  return count;
}

uint16_t lGetUnicodeValue(unsigned set, unsigned code) {
  set &= 0xFF;
  code &= 0xFF;
  if (set == 0 || set == kAnsiSet) return valueInAnsiCodePage(code, host::ansiCodePage());
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
  return nativeToUnicode(static_cast<uint16_t>(nativeChar), host::ansiCodePage());
}

// The code page cannot change in the middle of a string: it is read once.
uint32_t QSTR_CALL KZstrQX6xToUnicode(const uint16_t *src, uint32_t srcLength, uint16_t *dst,
                                      uint32_t dstLength) {
  if (srcLength == 0 || dstLength == 0) return 0;
  const uint32_t codePage = host::ansiCodePage();
  return convertString(src, srcLength, dst, dstLength, [codePage](uint16_t c) { return nativeToUnicode(c, codePage); });
}

uint16_t QSTR_CALL GetQXCCHARValue(uint32_t unicode) { return reverseIndex()[unicode & 0xFFFF]; }

uint16_t QSTR_CALL KZcharUnicodeToQX6x(uint32_t unicode) {
  return unicodeToNative(static_cast<uint16_t>(unicode), host::ansiCodePage());
}

uint32_t QSTR_CALL KZstrUnicodeToQX6x(const uint16_t *src, uint32_t srcLength, uint16_t *dst,
                                      uint32_t dstLength) {
  if (srcLength == 0 || dstLength == 0) return 0;
  const uint32_t codePage = host::ansiCodePage();
  return convertString(src, srcLength, dst, dstLength, [codePage](uint16_t u) { return unicodeToNative(u, codePage); });
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
