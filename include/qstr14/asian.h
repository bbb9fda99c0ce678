/* East Asian character services: case, width and kana mapping of native
 * characters, and the mapping between the Big5 and GB 2312 repertoires.
 *
 * A native character is 16 bits: high byte the character set, low byte the
 * code. Characters travel in 32-bit arguments of which the low 16 bits
 * count. Characters of sets 36 (0x24) and up are double-width, all others
 * single-width. */
#ifndef QSTR14_ASIAN_H
#define QSTR14_ASIAN_H

#include "export.h"

/* The case ranges of character sets 1-16: record i is set i + 1, {lowest
 * code, highest code}. Inside a range an even code is an upper-case letter
 * and the odd code after it its lower-case partner. A highest code of 0
 * means the set has no case pairs. */
QSTR_API const uint8_t rngchr[16][2];

#endif
