/* Native character model: native characters, native strings and document
 * streams, and the stepping through them.
 *
 * A native character is 16 bits: high byte the character set, low byte the
 * code within it. A native string is an array of native characters ended by
 * 0x0000; elements from 0xF900 up carry functions and attributes and are
 * passed over by the stepping functions. A document stream is a byte
 * string of items (plain characters 0x01-0x7F, one-byte functions
 * 0x80-0xCF, groups 0xD0-0xFE bounded at both ends by their code byte,
 * single bytes 0xFF) ended by a zero byte at an item start.
 *
 * These functions do not check their input: the caller never steps past a
 * terminator and never asks ubsize for the item before a stream's start. */
#ifndef QSTR14_CHARSET_H
#define QSTR14_CHARSET_H

#include "export.h"

/* Length in bytes of the document stream item that starts at `item`: the
 * length word at bytes 2-3 for a variable-length group (0xD0-0xEF), the
 * fixed length for 0xF0-0xFE, 1 for anything else (the terminator too). */
QSTR_API uint16_t QSTR_CALL ufsize(const uint8_t *item);

/* Length in bytes of the item that ends just before `after`, read from the
 * byte before it (and, for a variable-length group, its trailing length
 * word). `after - ubsize(after)` is the start of that item. */
QSTR_API uint16_t QSTR_CALL ubsize(const uint8_t *after);

/* First character item (plain byte below 0x80 or character group 0xF0) at
 * or after `pos`, or the terminator. */
QSTR_API uint8_t *QSTR_CALL Q6dstrFirstCh(const uint8_t *pos);

/* Next character item after the item at `pos`, or the terminator. `pos`
 * must not be the terminator. */
QSTR_API uint8_t *QSTR_CALL Q6dstrNextCh(const uint8_t *pos);

/* `pos` itself when it holds a character (below 0xF900, terminator
 * included), else the next character after it. */
QSTR_API uint16_t *QSTR_CALL Q6wstrFirstCh(const uint16_t *pos);

/* Next element after `pos` that is below 0xF900 or is the terminator.
 * `pos` must not be the terminator. */
QSTR_API uint16_t *QSTR_CALL Q6wstrNextCh(const uint16_t *pos);

/* Nearest element before `pos`, not before `start`, that is below 0xF900;
 * `start` itself when there is none or when `pos` is at or before it. */
QSTR_API uint16_t *QSTR_CALL Q6wstrPrevCh(const uint16_t *start, const uint16_t *pos);

/* ---- Native characters and UTF-16 ----
 *
 * Sets 1-11, 13 and 14 map through the library's tables, sets 0 and 12 at
 * 0x80 and above through the ANSI code page, the East Asian sets 0x24-0xDF
 * through the double-byte code of the ANSI code page when it is 932, 934,
 * 936, 938, 949 or 950. 0xFFFF means "no mapping" in both directions. */

/* Unicode value of character `code` of set `set` (low bytes count), or 0
 * when there is none. */
QSTR_API uint16_t QSTR_CALL GetUnicodeValue(uint32_t set, uint32_t code);

/* Unicode value of a native character (low 16 bits count), or 0xFFFF. */
QSTR_API uint16_t QSTR_CALL KZcharQX6xToUnicode(uint32_t nativeChar);

/* Converts up to `srcLength` native elements into at most `dstLength`
 * UTF-16 units, one unit per element (0xFFFF for one without mapping), and
 * stops after storing a 0. Returns the units stored; the destination is
 * terminated only when a 0 was stored (and counted). 0 when either length
 * is 0. */
QSTR_API uint32_t QSTR_CALL KZstrQX6xToUnicode(const uint16_t *src, uint32_t srcLength,
                                               uint16_t *dst, uint32_t dstLength);

/* Native character that the library's reverse table names for a Unicode
 * value (low 16 bits count), or 0xFFFF when it holds none. */
QSTR_API uint16_t QSTR_CALL GetQXCCHARValue(uint32_t unicode);

/* Native character of a Unicode value (low 16 bits count), or 0xFFFF.
 * Values below 0x7F are their own native character. */
QSTR_API uint16_t QSTR_CALL KZcharUnicodeToQX6x(uint32_t unicode);

/* The reverse of KZstrQX6xToUnicode: UTF-16 units to native elements, with
 * the same counting and stopping rules. */
QSTR_API uint32_t QSTR_CALL KZstrUnicodeToQX6x(const uint16_t *src, uint32_t srcLength,
                                               uint16_t *dst, uint32_t dstLength);

/* 1 when the native character is valid: a set 0-14 code within the set's
 * range (a high byte 0xFF counts as set 0, a low byte 0xFF as code 0), or
 * any East Asian set 0x24-0xDF on a double-byte system; else 0. */
QSTR_API int32_t QSTR_CALL ValidQxCharacter(uint32_t nativeChar);

#endif
