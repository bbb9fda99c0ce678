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

#endif
