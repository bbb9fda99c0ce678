// Single characters between the current numbering and the version-5
// numbering: QtpiQX6toQX5, QtpiQX5toQX6.
#include "base/no_mapping.h"
#include "charset/version5_tables.h"
#include "qstr14/frame.h"
#include "qstr14/version5.h"

namespace qstr::charset::version5 {
namespace {

using qstr::base::kNoMapping;
constexpr uint16_t kVoicedSoundMark = 0x0B3D;
constexpr uint16_t kSemiVoicedSoundMark = 0x0B3E;

constexpr uint16_t character(unsigned set, unsigned code) {
  return static_cast<uint16_t>(set << 8 | code);
}

bool set11KeepsItsNumbering() { return QtpiGetCountryID() == QSTR_COUNTRY_JAPANESE; }

// ---- Current numbering to version 5 ----

uint16_t set1ToVersion5(uint8_t code) {
  if (code == 0x18) return character(2, 0x08);
  if (code >= 0xEA) return kNoMapping;
  return character(1, code);
}

uint16_t set2ToVersion5(uint8_t code) {
  if (std::optional<uint8_t> mapped = kToVersion5.set2.lookup(code)) {
    return *mapped == kSet2NoMapping ? kNoMapping : character(2, *mapped);
  }
  return character(2, code);
}

uint16_t set5ToVersion5(uint8_t code) {
  if (code <= 0x22 && kToVersion5.set5Unmapped.contains(code)) return kNoMapping;
  return character(5, kToVersion5.set5.lookup(code).value_or(code));
}

uint16_t set8ToVersion5(uint8_t code) {
  std::optional<uint8_t> mapped = kToVersion5.set8.lookup(code);
  if (!mapped) mapped = kToVersion5.set8Pairs.lookup(code);
  return character(8, mapped ? *mapped : kToVersion5.set8Shifts.lookup(code));
}

uint16_t set9ToVersion5(uint8_t code) {
  std::optional<uint8_t> mapped = kToVersion5.set9Pairs.lookup(code);
  return character(9, mapped ? *mapped : kToVersion5.set9Shifts.lookup(code));
}

uint16_t set10ToVersion5(uint8_t code) {
  if (code < 0x42) return character(10, code);
  if (std::optional<uint8_t> mapped = kToVersion5.set10.lookup(code)) {
    return *mapped == kSet10NoMapping ? kNoMapping : character(10, *mapped);
  }
  return character(10, kToVersion5.set10Shifts.lookup(code));
}

// Codes past the table (above 0x3E) are no characters of set 11: no mapping.
uint16_t set11ToVersion5(uint8_t code) {
  if (set11KeepsItsNumbering()) return character(11, code);
  if (code == 0x04) return character(6, 0x1F);
  std::optional<uint8_t> mapped = kToVersion5.set11.lookup(code);
  return mapped ? character(11, *mapped) : kNoMapping;
}

uint16_t toVersion5(uint16_t native) {
  const uint8_t code = native & 0xFF;
  switch (native >> 8) {
    case 1: return set1ToVersion5(code);
    case 2: return set2ToVersion5(code);
    case 5: return set5ToVersion5(code);
    case 8: return set8ToVersion5(code);
    case 9: return set9ToVersion5(code);
    case 10: return set10ToVersion5(code);
    case 11: return set11ToVersion5(code);
    case 13: return character(13, kToVersion5.set13.lookup(code));
    default: return native;
  }
}

// ---- Version-5 numbering to current ----

// One or two native characters.
struct Converted {
  uint16_t first;
  uint16_t second = 0;  // 0: none
};

uint16_t set1FromVersion5(uint8_t code) { return character(1, code == 0x18 ? 0xEF : code); }

uint16_t set2FromVersion5(uint8_t code) {
  if (code == 0x08) return character(1, 0x18);
  return character(2, kFromVersion5.set2.lookup(code).value_or(code));
}

uint16_t set8FromVersion5(uint8_t code) {
  if (code < 0x34 || code > 0xD1) return character(8, code);
  std::optional<uint8_t> mapped = kFromVersion5.set8Low.lookup(code);
  if (!mapped) mapped = kFromVersion5.set8High.lookup(code);
  return character(8, mapped ? *mapped : kFromVersion5.set8Shifts.lookup(code));
}

uint16_t set9FromVersion5(uint8_t code) {
  std::optional<uint8_t> mapped = kFromVersion5.set9Pairs.lookup(code);
  return character(9, mapped ? *mapped : kFromVersion5.set9Shifts.lookup(code));
}

uint16_t set10FromVersion5(uint8_t code) {
  if (code < 0x42 || code > 0x95) return character(10, code);
  std::optional<uint8_t> mapped = kFromVersion5.set10.lookup(code);
  return character(10, mapped ? *mapped : kFromVersion5.set10Shifts.lookup(code));
}

// A version-5 kana with a sound mark becomes the base kana followed by the
// mark. Codes above 0xBB are no characters of set 11: unchanged.
Converted set11FromVersion5(uint8_t code) {
  std::optional<uint8_t> entry = kFromVersion5.set11.lookup(code);
  if (!entry) return {character(11, code)};
  if (*entry == kSet11UsePairs) {
    std::optional<uint8_t> punctuation = kFromVersion5.set11Punctuation.lookup(code);
    return {punctuation ? character(0, *punctuation) : character(11, code)};
  }
  const uint16_t base = character(11, *entry & 0x3F);
  switch (*entry >> 6) {
    case 0: return {base};
    case 1: return {base, kVoicedSoundMark};
    default: return {base, kSemiVoicedSoundMark};
  }
}

Converted fromVersion5(uint16_t old) {
  const uint8_t code = old & 0xFF;
  switch (old >> 8) {
    case 1: return {set1FromVersion5(code)};
    case 2: return {set2FromVersion5(code)};
    case 5: return {character(5, kFromVersion5.set5.lookup(code).value_or(code))};
    case 8: return {set8FromVersion5(code)};
    case 9: return {set9FromVersion5(code)};
    case 10: return {set10FromVersion5(code)};
    case 11: return set11FromVersion5(code);
    case 13: return {character(13, kFromVersion5.set13.lookup(code))};
    default: return {old};
  }
}

}  // namespace
}  // namespace qstr::charset::version5

using namespace qstr::charset::version5;

uint16_t QSTR_CALL QtpiQX6toQX5(uint32_t native) {
  return toVersion5(static_cast<uint16_t>(native));
}

uint16_t QSTR_CALL QtpiQX5toQX6(uint32_t old, uint16_t *first, uint16_t *second) {
  const uint16_t character = static_cast<uint16_t>(old);
  if (character >> 8 == 11 && set11KeepsItsNumbering()) {
    *first = character;
    *second = character;
    return 1;
  }
  const Converted converted = fromVersion5(character);
  *first = converted.first;
  if (converted.second == 0) return 1;
  *second = converted.second;
  return 2;
}
