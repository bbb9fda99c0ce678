/* Version-5 character mapping: single characters between the current
 * numbering (native characters) and the previous format version's
 * numbering, and whole strings between version-5 document streams and
 * native strings.
 *
 * A version-5 character has the shape of a native character (set number in
 * the high byte, code in the low byte); sets 1, 2, 5, 8, 9, 10, 11 and 13
 * are numbered differently. Set 11 (half-width katakana) is renumbered only
 * when the country ID (QtpiGetCountryID) is not Japanese.
 *
 * A version-5 stream is a byte string ended by a zero byte at an item
 * start:
 *   0x0A, 0x0C, 0x0D          functions kept as 0xF90A, 0xF90C, 0xF90D
 *   0x01-0x1F, 0x80-0xBF      other one-byte functions, dropped
 *   0x20-0x7F                 a character (single-byte form), or in the
 *                             double-byte forms 0x20 alone (a space) or the
 *                             first byte of a pair
 *   C0 code set C0            extended character, copied as it stands
 *   C3 n C3, C4 n C4          attribute n on, off: 0xFE00 + 2n, 0xFE00 + 2n + 1
 *                             (low byte modulo 256)
 *   C1, C2, C5-CF             other fixed-length functions, dropped: the code
 *                             byte, one or two data bytes, the code byte again;
 *                             the function ends at the first repetition of its
 *                             code byte at offset 2 or 3 (a one-byte datum
 *                             equal to the code is therefore read as the end)
 *   D0-FF                     variable-length function, dropped: code, one
 *                             byte, 16-bit little-endian length M, M bytes
 *
 * The stream functions take no source length: they rely on complete items.
 * A stream cut inside an item (for example inside an extended character or
 * a variable-length function) is read past its end. A bounded item that
 * does not close with its code byte, and a pair whose second byte is zero,
 * end the conversion as a terminator would. Pointers are not checked. */
#ifndef QSTR14_VERSION5_H
#define QSTR14_VERSION5_H

#include "export.h"

/* The version-5 character of native character `native` (low 16 bits
 * count), or 0xFFFF when it has none. Codes of set 11 above 0x3E are not
 * characters and give 0xFFFF, except under the Japanese country ID, where
 * set 11 is not renumbered at all. */
QSTR_API uint16_t QSTR_CALL QtpiQX6toQX5(uint32_t native);

/* The native characters of version-5 character `old` (low 16 bits count):
 * returns their number, 1 or 2. `*first` always receives the character;
 * `*second` receives the sound mark (0x0B3D voiced, 0x0B3E semi-voiced)
 * that follows a set-11 kana when the result is 2. Under the Japanese
 * country ID a set-11 character is returned unchanged in both `*first` and
 * `*second`, and the result is 1. Otherwise `*second` is not written.
 * Codes of set 11 above 0xBB are not characters and are returned
 * unchanged. */
QSTR_API uint16_t QSTR_CALL QtpiQX5toQX6(uint32_t old, uint16_t *first, uint16_t *second);

/* Converts version-5 stream `src` into the native string `dst`. `size` is
 * the destination's size in bytes (low 16 bits count): it holds
 * size / 2 - 1 elements and a terminator; below 2 bytes nothing is written.
 * Characters are not renumbered (apply QtpiQX5toQX6 afterwards). The
 * double-byte (Japanese) form is read when the system reports double-byte
 * support at the time of the call: 0x21 x is the set-0 character x, 0x22 x
 * set 11 code x - 0x21, 0x23-0x7E x the double-byte rows of sets 0x24-0x51,
 * 0x7F x is dropped but takes the room of one element. Returns `dst`. */
QSTR_API uint16_t *QSTR_CALL Q5dzTowz(const uint8_t *src, uint16_t *dst, uint32_t size);

/* As Q5dzTowz, always in the Chinese double-byte form: 0x21 x is the set-0
 * character x; any other pair b x (b 0x22-0x7F) is the n-th character of
 * the script, n = (b - 0x22) * 94 + (x - 0x21), placed 255 to a set from
 * set 0xA5 when the low byte of `script` is 0x83 (Traditional Chinese),
 * else from set 0x82 (Simplified Chinese). Returns `dst`. */
QSTR_API uint16_t *QSTR_CALL lQ5CdzTowz(const uint8_t *src, uint16_t *dst, uint32_t size,
                                        uint32_t script);

/* Converts the native string `src` into the version-5 stream `dst`.
 * `size` is the destination's size in bytes (low 16 bits count),
 * terminator included; with 0 nothing is written. Elements 0x0001-0x00FF
 * are written as their code byte as they stand (a code outside 0x20-0x7F
 * then reads back as a function); elements from 0xF900 up are dropped; any
 * other character becomes an extended character (4 bytes) when it and the
 * terminator fit, and is dropped otherwise while later elements are still
 * tried. Characters are not renumbered (apply QtpiQX6toQX5 first). Returns
 * `dst`. */
QSTR_API uint8_t *QSTR_CALL QwzTo5dz(const uint16_t *src, uint8_t *dst, uint32_t size);

#endif
