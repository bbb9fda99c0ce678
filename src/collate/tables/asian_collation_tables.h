// The constant tables of the East Asian collation values.
#pragma once

#include <cstdint>

namespace qstr::collate {

// Kana index -> primary index (0-47) and kana form (0 small, 1 plain, 3
// voiced, 5 semi-voiced). The index is code - 0x5E in set 0x25 (hiragana)
// and the code itself in set 0x26 (katakana).
inline constexpr unsigned kKanaCount = 88;
extern const uint8_t kKanaPrimary[kKanaCount];
extern const uint8_t kKanaSecondary[kKanaCount];

// Kana primary index -> primary index of its vowel (0-4).
inline constexpr unsigned kKanaPrimaryCount = 48;
extern const uint8_t kKanaVowel[kKanaPrimaryCount];

// Symbols without a single-width partner: {code byte, 16-bit primary},
// packed, matched against the low byte of a double-width character.
#pragma pack(push, 1)
struct AsianSymbol {
  uint8_t code;
  uint16_t primary;
};
#pragma pack(pop)
inline constexpr unsigned kAsianSymbolCount = 17;
extern const AsianSymbol kAsianSymbols[kAsianSymbolCount];

}  // namespace qstr::collate
