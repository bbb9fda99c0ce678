// The constant tables of the East Asian collation values.
#include "collate/tables/asian_collation_tables.h"

namespace qstr::collate {

// Syllabary order: a i u e o, ka ki ku ke ko, ... wa wo n, with the small,
// voiced and semi-voiced forms on the plain kana's primary index.
const uint8_t kKanaPrimary[kKanaCount] = {
    0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,   // 0
    5,  6,  6,  7,  7,  8,  8,  9,  9,  10, 10,  // 11
    11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16,  // 22
    16, 17, 17, 17, 18, 18, 19, 19, 20, 21, 22,  // 33
    23, 24, 25, 25, 25, 26, 26, 26, 27, 27, 27,  // 44
    28, 28, 28, 29, 29, 29, 30, 31, 32, 33, 34,  // 55
    35, 35, 36, 36, 37, 37, 38, 39, 40, 41, 42,  // 66
    43, 43, 44, 45, 46, 47, 2,  5,  8,  0,  0,   // 77
};

const uint8_t kKanaSecondary[kKanaCount] = {
    0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1,  // 0
    3, 1, 3, 1, 3, 1, 3, 1, 3, 1, 3,  // 11
    1, 3, 1, 3, 1, 3, 1, 3, 1, 3, 1,  // 22
    3, 0, 1, 3, 1, 3, 1, 3, 1, 1, 1,  // 33
    1, 1, 1, 3, 5, 1, 3, 5, 1, 3, 5,  // 44
    1, 3, 5, 1, 3, 5, 1, 1, 1, 1, 1,  // 55
    0, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1,  // 66
    0, 1, 1, 1, 1, 1, 3, 0, 0, 0, 0,  // 77
};

const uint8_t kKanaVowel[kKanaPrimaryCount] = {
    0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4,  // 0-19
    0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4,                 // 20-34
    0, 2, 4,                                                     // 35-37 (ya yu yo)
    0, 1, 2, 3, 4,                                               // 38-42
    0, 1, 3, 4, 0,                                               // 43-47 (wa wi we wo n)
};

// Primaries below 0x100 put a symbol level with the Latin punctuation of
// that value; the others sort after the kana.
const AsianSymbol kAsianSymbols[kAsianSymbolCount] = {
    {0x01, 34},     {0x02, 33},     {0x05, 0x0142}, {0x0A, 0x0140}, {0x0B, 0x0141}, {0x2B, 48},
    {0x2C, 49},     {0x31, 48},     {0x32, 49},     {0x33, 48},     {0x34, 49},     {0x35, 41},
    {0x36, 41},     {0x37, 41},     {0x38, 41},     {0x39, 48},     {0x3A, 49},
};

}  // namespace qstr::collate
