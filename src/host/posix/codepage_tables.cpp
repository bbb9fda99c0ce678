#include "host/posix/codepage_tables.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <iterator>
#include <memory>

#include "base/build_once.h"

namespace qstr::host::posix {
namespace {

// Used only where iconv has no mapping of its own, so that the portable
// backend gives what the host system gives: the host converts the bytes of
// kC1Bytes to the C1 control of the same value, and the user-defined areas
// to Private Use units. (The host also gives Private Use values for a few
// other undefined single bytes, but reports them as invalid, as the portable
// backend does.)
char16_t c1ByteUnit(uint32_t codePage, unsigned byte) {
  for (const C1Bytes &row : kC1Bytes) {
    if (row.codePage == codePage && byte >= row.first && byte <= row.last) return static_cast<char16_t>(byte);
  }
  return kNoUnit;
}

bool inRange(ByteRange range, unsigned byte) {
  return range.first != 0 && byte >= range.first && byte <= range.last;
}

// The Private Use unit of a user-defined code, or kNoUnit.
char16_t userDefinedUnit(uint32_t codePage, unsigned lead, unsigned trail) {
  for (const UserDefinedBlock &block : kUserDefinedBlocks) {
    if (block.codePage != codePage || !inRange(block.leads, lead)) continue;
    unsigned perLead = 0;
    unsigned index = 0;
    bool found = false;
    for (ByteRange span : block.trails) {
      if (span.first == 0) continue;
      if (inRange(span, trail)) {
        index = perLead + (trail - span.first);
        found = true;
      }
      perLead += span.last - span.first + 1u;
    }
    if (found) return static_cast<char16_t>(block.firstUnit + (lead - block.leads.first) * perLead + index);
  }
  return kNoUnit;
}

enum class Decoded { Unit, Incomplete, Invalid };

// Decodes `count` bytes as one character. Combining sequences that decode to
// more than one unit count as invalid: they have no single-unit form.
Decoded decode(iconv_t cd, const uint8_t *bytes, std::size_t count, char16_t &unit) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char input[2] = {static_cast<char>(bytes[0]), count > 1 ? static_cast<char>(bytes[1]) : '\0'};
  char output[8];
  char *in = input;
  char *out = output;
  std::size_t inLeft = count;
  std::size_t outLeft = sizeof output;
  std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  if (result == static_cast<std::size_t>(-1)) return errno == EINVAL ? Decoded::Incomplete : Decoded::Invalid;
  // Converters that compose combining marks hold the last character back
  // until they are flushed.
  iconv(cd, nullptr, nullptr, &out, &outLeft);
  if (inLeft != 0 || sizeof output - outLeft != 2) return Decoded::Invalid;
  unit = static_cast<char16_t>(static_cast<uint8_t>(output[0]) | static_cast<uint8_t>(output[1]) << 8);
  return Decoded::Unit;
}

// Encodes one unit; the code iconv chooses, or kNoBytes.
uint16_t encode(iconv_t cd, char16_t unit) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char input[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  char output[8];
  char *in = input;
  char *out = output;
  std::size_t inLeft = 2;
  std::size_t outLeft = sizeof output;
  if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return kNoBytes;
  std::size_t produced = sizeof output - outLeft;
  if (produced == 1) return static_cast<uint8_t>(output[0]);
  if (produced == 2) return static_cast<uint16_t>(static_cast<uint8_t>(output[0]) << 8 | static_cast<uint8_t>(output[1]));
  return kNoBytes;
}

// Records `code` as the way back to `unit`. When several codes decode to one
// unit, the one iconv's encoder chooses wins; only codes that decode back to
// the unit are ever recorded, so no look-alike is substituted.
void addReverse(CodePageTables &tables, iconv_t encoder, char16_t unit, uint16_t code) {
  uint16_t &slot = tables.unicodeToCode[unit];
  if (slot == kNoBytes) {
    slot = code;
    return;
  }
  uint16_t preferred = encode(encoder, unit);
  if (preferred == code) slot = code;
}

void buildSingleBytes(CodePageTables &tables, uint32_t codePage, iconv_t decoder, iconv_t encoder) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    tables.singleToUnicode[byte] = kNoUnit;
    const uint8_t b = static_cast<uint8_t>(byte);
    char16_t unit = kNoUnit;
    if (tables.leadByte[byte]) continue;
    if (decode(decoder, &b, 1, unit) != Decoded::Unit) unit = c1ByteUnit(codePage, byte);
    if (unit == kNoUnit) continue;
    tables.singleToUnicode[byte] = unit;
    if (byte != 0) addReverse(tables, encoder, unit, static_cast<uint16_t>(byte));
  }
}

void buildDoubleBytes(CodePageTables &tables, uint32_t codePage, iconv_t decoder, iconv_t encoder) {
  tables.doubleToUnicode = std::make_unique<char16_t[]>(0x10000);
  std::fill_n(tables.doubleToUnicode.get(), 0x10000, kNoUnit);
  for (unsigned lead = 0; lead < 256; ++lead) {
    if (!tables.leadByte[lead]) continue;
    for (unsigned trail = 1; trail < 256; ++trail) {
      const uint8_t pair[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)};
      char16_t unit = kNoUnit;
      if (decode(decoder, pair, 2, unit) != Decoded::Unit) unit = userDefinedUnit(codePage, lead, trail);
      if (unit == kNoUnit) continue;
      uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
      tables.doubleToUnicode[code] = unit;
      addReverse(tables, encoder, unit, code);
    }
  }
}

std::unique_ptr<CodePageTables> buildTables(const CodePageFacts &page) {
  iconv_t decoder = iconv_open("UTF-16LE", page.iconvName);
  if (decoder == reinterpret_cast<iconv_t>(-1)) return nullptr;
  iconv_t encoder = iconv_open(page.iconvName, "UTF-16LE");
  if (encoder == reinterpret_cast<iconv_t>(-1)) {
    iconv_close(decoder);
    return nullptr;
  }
  auto tables = std::make_unique<CodePageTables>();
  tables->unicodeToCode = std::make_unique<uint16_t[]>(0x10000);
  for (unsigned byte = 0; byte < 256; ++byte) {
    tables->leadByte[byte] = inRange(page.leadBytes[0], byte) || inRange(page.leadBytes[1], byte);
    tables->doubleByte = tables->doubleByte || tables->leadByte[byte];
  }
  buildSingleBytes(*tables, page.codePage, decoder, encoder);
  if (tables->doubleByte) buildDoubleBytes(*tables, page.codePage, decoder, encoder);
  iconv_close(decoder);
  iconv_close(encoder);
  return tables;
}

// One slot a code page, built on first use (null when the system cannot
// convert the code page) and kept for the life of the process.
constexpr std::size_t kSlots = std::size(kCodePageFacts);
std::array<base::BuiltOnce<std::unique_ptr<CodePageTables>>, kSlots> cache;

int slotOf(uint32_t codePage) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (kCodePageFacts[i].codePage == codePage) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

const char *iconvName(uint32_t codePage) {
  int slot = slotOf(codePage);
  return slot < 0 ? nullptr : kCodePageFacts[slot].iconvName;
}

const CodePageTables *codePageTables(uint32_t codePage) {
  int slot = slotOf(codePage);
  if (slot < 0) return nullptr;
  return cache[slot].get([slot] { return buildTables(kCodePageFacts[slot]); }).get();
}

}  // namespace qstr::host::posix
