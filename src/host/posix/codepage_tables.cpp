#include "host/posix/codepage_tables.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>

#include "base/build_once.h"

namespace qstr::host::posix {
namespace {

struct ByteRange {
  uint8_t first;
  uint8_t last;
};

struct CodePageName {
  uint32_t codePage;
  const char *iconvName;
  ByteRange leadBytes[2];  // double-byte pages: the bytes that open a pair
};
// The Windows numbers this backend converts. 934 and 938, the old Korean
// and Traditional Chinese pages, are not here: no current system converts
// them, so their host conversions fail as they would on such a system (the
// native placement arithmetic still handles them).
constexpr CodePageName kCodePageNames[] = {
    {437, "CP437", {}},   {708, "ASMO-708", {}}, {737, "CP737", {}},   {775, "CP775", {}},
    {850, "CP850", {}},   {851, "CP851", {}},    {852, "CP852", {}},   {855, "CP855", {}},
    {857, "CP857", {}},   {858, "CP858", {}},    {860, "CP860", {}},   {861, "CP861", {}},
    {862, "CP862", {}},   {863, "CP863", {}},    {864, "CP864", {}},   {865, "CP865", {}},
    {866, "CP866", {}},   {869, "CP869", {}},    {874, "CP874", {}},
    {932, "CP932", {{0x81, 0x9F}, {0xE0, 0xFC}}},
    {936, "CP936", {{0x81, 0xFE}, {}}},
    {949, "CP949", {{0x81, 0xFE}, {}}},
    {950, "CP950", {{0x81, 0xFE}, {}}},
    {1250, "CP1250", {}}, {1251, "CP1251", {}},  {1252, "CP1252", {}}, {1253, "CP1253", {}},
    {1254, "CP1254", {}}, {1255, "CP1255", {}},  {1256, "CP1256", {}}, {1257, "CP1257", {}},
    {1258, "CP1258", {}}, {10000, "MACINTOSH", {}}, {10007, "CP10007", {}},
    {20866, "KOI8-R", {}}, {21866, "KOI8-U", {}},
    {28591, "ISO-8859-1", {}}, {28592, "ISO-8859-2", {}}, {28593, "ISO-8859-3", {}},
    {28594, "ISO-8859-4", {}}, {28595, "ISO-8859-5", {}}, {28596, "ISO-8859-6", {}},
    {28597, "ISO-8859-7", {}}, {28598, "ISO-8859-8", {}}, {28599, "ISO-8859-9", {}},
    {28603, "ISO-8859-13", {}}, {28605, "ISO-8859-15", {}},
};

// User-defined areas of the double-byte pages, mapped onto the Private Use
// Area in order (lead byte by lead byte, trail bytes ascending), as the host
// system maps them. Used only where iconv has no mapping of its own.
struct UserDefinedBlock {
  uint32_t codePage;
  ByteRange leads;
  ByteRange trails[2];
  char16_t firstUnit;
};
constexpr UserDefinedBlock kUserDefinedBlocks[] = {
    {936, {0xAA, 0xAF}, {{0xA1, 0xFE}, {}}, 0xE000},
    {936, {0xF8, 0xFE}, {{0xA1, 0xFE}, {}}, 0xE234},
    {936, {0xA1, 0xA7}, {{0x40, 0x7E}, {0x80, 0xA0}}, 0xE4C6},
    {949, {0xC9, 0xC9}, {{0xA1, 0xFE}, {}}, 0xE000},
    {949, {0xFE, 0xFE}, {{0xA1, 0xFE}, {}}, 0xE05E},
    {950, {0xFA, 0xFE}, {{0x40, 0x7E}, {0xA1, 0xFE}}, 0xE000},
    {950, {0x8E, 0xA0}, {{0x40, 0x7E}, {0xA1, 0xFE}}, 0xE311},
    {950, {0x81, 0x8D}, {{0x40, 0x7E}, {0xA1, 0xFE}}, 0xEEB8},
    {950, {0xC6, 0xC6}, {{0xA1, 0xFE}, {}}, 0xF6B1},
    {950, {0xC7, 0xC8}, {{0x40, 0x7E}, {0xA1, 0xFE}}, 0xF70F},
};

struct ExtraBytes {
  uint32_t codePage;
  uint8_t first;
  uint8_t last;
  char16_t firstUnit;
};
constexpr ExtraBytes kExtraBytes[] = {
#include "host/posix/codepage_extras.inc"
};

// The host's value of a single byte that the public chart leaves undefined.
char16_t extraByteUnit(uint32_t codePage, unsigned byte) {
  for (const ExtraBytes &row : kExtraBytes) {
    if (row.codePage == codePage && byte >= row.first && byte <= row.last) {
      return static_cast<char16_t>(row.firstUnit + (byte - row.first));
    }
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
    if (decode(decoder, &b, 1, unit) != Decoded::Unit) unit = extraByteUnit(codePage, byte);
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

std::unique_ptr<CodePageTables> buildTables(const CodePageName &page) {
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
constexpr std::size_t kSlots = sizeof kCodePageNames / sizeof kCodePageNames[0];
std::array<base::BuiltOnce<std::unique_ptr<CodePageTables>>, kSlots> cache;

int slotOf(uint32_t codePage) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (kCodePageNames[i].codePage == codePage) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

const char *iconvName(uint32_t codePage) {
  int slot = slotOf(codePage);
  return slot < 0 ? nullptr : kCodePageNames[slot].iconvName;
}

const CodePageTables *codePageTables(uint32_t codePage) {
  int slot = slotOf(codePage);
  if (slot < 0) return nullptr;
  return cache[slot].get([slot] { return buildTables(kCodePageNames[slot]); }).get();
}

}  // namespace qstr::host::posix
