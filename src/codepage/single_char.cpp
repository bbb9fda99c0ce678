// Single-character conversion between host codes and native characters
// through a code page record.
#include "charset/east_asian_placement.h"
#include "charset/stream_grammar.h"
#include "codepage/fast_lookup.h"
#include "host/host.h"
#include "qstr14/codepage.h"

namespace {

using qstr::charset::kNoMapping;

constexpr uint16_t kRawByteSet = 12;

// Native control codes for host 9, 10, 12 and 13, used where a code page
// has no glyphs of its own for the control codes.
uint16_t nativeControl(unsigned hostCode) {
  switch (hostCode) {
    case 9: case 10: case 12: case 13: return static_cast<uint16_t>(qstr::charset::kFirstNativeFunction | hostCode);
    default: return kNoMapping;
  }
}

uint16_t hostControl(uint16_t native) {
  switch (native) {
    case qstr::charset::kNativeTab: case qstr::charset::kNativeLineFeed: case qstr::charset::kNativeFormFeed:
    case qstr::charset::kNativeParagraph:
      return native & 0xFF;
    default: return kNoMapping;
  }
}

uint16_t rangeEntry(const CODEPAGERANGE *table, unsigned hostCode) {
  if (table == nullptr || hostCode < table->first || hostCode > table->last) return kNoMapping;
  return table->entries[hostCode - table->first];
}

uint16_t reverseLookup(const CODEPAGEREVERSE *table, uint16_t native) {
  if (table == nullptr) return kNoMapping;
  int low = 0;
  int high = static_cast<int>(table->count) - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const CODEPAGEREVERSEENTRY &entry = table->entries[middle];
    if (entry.native == native) return entry.code;
    if (native > entry.native) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return kNoMapping;
}

bool doubleByteRulesApply(uint32_t codePage) {
  return qstr::charset::isEastAsianCodePage(codePage) && qstr::host::dbcsEnabled() != 0;
}

// The currency sign that 932 and 949 write as byte 0x5C.
uint16_t backslashCurrency(uint32_t codePage, uint16_t native) {
  if (codePage == 932 && native == 0x040C) return 0x5C;
  if ((codePage == 949 || codePage == 934) && native == 0x0456) return 0x5C;
  return kNoMapping;
}

}  // namespace

uint16_t qstr::codepage::nativeOfHostCode(const CODEPAGETBL &record, unsigned hostCode, bool doubleByteRules) {
  if (hostCode < 32) {
    return record.lowTable != nullptr ? rangeEntry(record.lowTable, hostCode) : nativeControl(hostCode);
  }
  if (hostCode < 127) return static_cast<uint16_t>(hostCode);
  if (doubleByteRules) {
    const uint16_t native = qstr::charset::lDbcsToQX6x(record.toQxCodepage, static_cast<uint16_t>(hostCode));
    if (native != kNoMapping) return native;
  }
  return rangeEntry(record.highTable, hostCode);
}

uint16_t QSTR_CALL QcvtNtvToQx(const CODEPAGETBL *record, uint32_t hostCodeArg) {
  return qstr::codepage::nativeOfHostCode(*record, hostCodeArg & 0xFFFF, doubleByteRulesApply(record->toQxCodepage));
}

uint16_t QSTR_CALL QcvtQxToNtv(const CODEPAGETBL *record, uint32_t nativeArg) {
  const uint16_t native = static_cast<uint16_t>(nativeArg);
  const unsigned set = native >> 8;
  if (native == 0x0080) return 0x20;
  if (set == 0) return native;
  if (set == kRawByteSet) return native & 0xFF;
  if (doubleByteRulesApply(record->fromQxCodepage)) {
    const uint16_t code = qstr::charset::lQX6xToDbcs(record->fromQxCodepage, native);
    if (code != kNoMapping) return code;
    const uint16_t currency = backslashCurrency(record->fromQxCodepage, native);
    if (currency != kNoMapping) return currency;
  }
  const uint16_t code = reverseLookup(record->reverseTable, native);
  return code != kNoMapping ? code : hostControl(native);
}
