/* East Asian character services: case, width and kana mapping of native
 * characters, and the mapping between the Big5 and GB 2312 repertoires.
 *
 * A native character is 16 bits: high byte the character set, low byte the
 * code. Characters travel in 32-bit arguments of which the low 16 bits
 * count; results are native characters. Characters of sets 36 (0x24) and up
 * are double-width, all others single-width.
 *
 * Case in sets 0-15 is a fixed rule: ASCII letters in set 0, the ranges of
 * rngchr in sets 1-15. Everything else (case of double-width letters, width,
 * kana) goes through the class-mapping table of the country ID
 * (QtpiGetCountryID): 1 Japanese, 2 Korean, 3 Traditional Chinese, 4
 * Simplified Chinese; under any other country ID those mappings leave every
 * character unchanged. No function reports an error: a character without
 * the form asked for comes back unchanged. */
#ifndef QSTR14_ASIAN_H
#define QSTR14_ASIAN_H

#include "export.h"

/* The case ranges of character sets 1-16: record i is set i + 1, {lowest
 * code, highest code}. Inside a range an even code is an upper-case letter
 * and the odd code after it its lower-case partner. A highest code of 0
 * means the set has no case pairs. */
QSTR_API const uint8_t rngchr[16][2];

/* Modes of wtoall. */
#define WTO_LOWER 1    /* lower case, same width */
#define WTO_UPPER 2    /* upper case, same width */
#define WTO_DOUBLE 3   /* double-width form */
#define WTO_SINGLE 4   /* single-width form */
#define WTO_HIRAGANA 5 /* hiragana, same width */
#define WTO_KATAKANA 6 /* katakana, same width */

/* The form `mode` asks for of a character, through the country's
 * class-mapping table; the character itself when the table does not hold
 * it, has no such form, or the country has no table. A character is found
 * only among the forms of its own width. Case and kana modes change only
 * letters and kana; any other mode value returns the form found itself. */
QSTR_API uint16_t QSTR_CALL wtoall(uint16_t mode, uint32_t ch);

/* Double-width form of a character. When `next` is not null, the character
 * is a half-width katakana (set 11) and *next is the half-width voiced mark
 * 0x0B3D (semi-voiced mark 0x0B3E), the voiced (semi-voiced) kana is tried
 * first; if it exists, it is returned and *next set to 0 (the mark is
 * consumed). Otherwise *next is left alone. */
QSTR_API uint16_t QSTR_CALL wtodouble(uint32_t ch, uint16_t *next);

/* Single-width form of a character. A voiced (semi-voiced) kana has none of
 * its own: without `mark` the result is then its base's half-width katakana
 * with bit 0x40 (0x80) of the code set, a value that is no character. With
 * `mark`, the bits are cleared and *mark receives the half-width mark that
 * follows the base (0x0B3D or 0x0B3E), or 0 when none is needed. */
QSTR_API uint16_t QSTR_CALL wtosingle(uint32_t ch, uint16_t *mark);

/* Hiragana of a katakana of either width (a half-width one is taken to
 * double width first, without joining marks); other characters unchanged. */
QSTR_API uint16_t QSTR_CALL wtohiragana(uint32_t ch);

/* Katakana of the same width: a hiragana becomes the double-width katakana,
 * a half-width katakana stays. */
QSTR_API uint16_t QSTR_CALL wtokatakana(uint32_t ch);

/* Lower-case partner of an upper-case letter, else the character. */
QSTR_API uint16_t QSTR_CALL wtolower(uint32_t ch);

/* Upper-case partner of a lower-case letter, else the character. */
QSTR_API uint16_t QSTR_CALL wtoupper(uint32_t ch);

/* 1 for an upper-case letter, else 0. A double-width character counts as
 * its single-width form; one without a single-width form is never upper
 * case. */
QSTR_API int32_t QSTR_CALL wisupper(uint32_t ch);

/* Copies the zero-terminated document stream `src` to `dst` in upper case:
 * each plain byte as a character of set 0 (only "a"-"z" change), each
 * 4-byte character group 0xF0 lo hi 0xF0 with its character through
 * wtoupper. Other groups are not interpreted (their bytes are taken as plain
 * bytes), so pass only plain bytes and character groups. `dst` must hold as
 * many bytes as `src`, terminator included; it may be `src` itself. */
QSTR_API void QSTR_CALL s2upper(uint8_t *dst, const uint8_t *src);

/* Copies the native string `src` and its terminator to `dst`, each element
 * through wtoupper. Does nothing when either pointer is null. `dst` may be
 * `src`. */
QSTR_API void QSTR_CALL ws2upper(uint16_t *dst, const uint16_t *src);

/* Like ws2upper into a destination of `size` bytes (not elements): writes
 * whole elements while at least 2 bytes are left, so never more than
 * `size` bytes; the terminator only when it still fits. A destination that
 * the copy fills exactly is not terminated. An odd last byte is left
 * alone; a size below 2 writes nothing. */
QSTR_API void QSTR_CALL ws2uppern(uint16_t *dst, const uint16_t *src, int32_t size);

/* ---- Big5 and GB 2312 ----
 * Neither function reads the country ID. A character without a counterpart,
 * or outside the table, comes back unchanged. The table index is
 * (set - first set) * 255 + code, so code 0xFF of a set reads the entry of
 * code 0 of the next set. */

/* The GB 2312 (Simplified Chinese, sets 0x82-0xA2) counterpart of a Big5
 * character (Traditional Chinese, 0xA500-0xDBA8). */
QSTR_API uint16_t QSTR_CALL big5togb(uint32_t ch);

/* The Big5 counterpart of a GB 2312 character (0x8200-0xA210). */
QSTR_API uint16_t QSTR_CALL gbtobig5(uint32_t ch);

#endif
