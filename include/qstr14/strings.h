/* String and memory primitives over byte strings (wstr...), 16-bit strings
 * such as native strings (wwstr...), document streams (wdstr...) and memory
 * blocks (QXwmem..., QXwhmem...).
 *
 * They behave like the C library's string functions except where a comment
 * says otherwise. Watch the units: wwstrlen counts bytes, wwstrncat and
 * wwstrncpy count elements, wwstrncmp and wwstrincmp count bytes. Only the
 * functions marked "null-safe" accept null pointers. Functions marked
 * "double-byte aware" never split a lead byte of the ANSI code page from
 * its trail byte. Differences are the first differing units taken unsigned
 * and subtracted: negative, zero or positive. */
#ifndef QSTR14_STRINGS_H
#define QSTR14_STRINGS_H

#include "export.h"

/* ---- Byte strings ---- */

/* Bytes before the terminator. Null-safe: null gives 0. */
QSTR_API uint32_t QSTR_CALL wstrlen(const char *s);
/* Copies src and its terminator; returns dst. Null-safe: a null pointer
 * gives null and copies nothing. */
QSTR_API char *QSTR_CALL wstrcpy(char *dst, const char *src);
/* Appends src and its terminator at dst's terminator; returns dst. */
QSTR_API char *QSTR_CALL wstrcat(char *dst, const char *src);
/* Appends at most n bytes of src, stopping after a copied terminator, then
 * a terminator unless the last byte appended was one (up to n + 1 bytes
 * added); n = 0 adds nothing. Not double-byte aware. Returns dst. */
QSTR_API char *QSTR_CALL wstrncat(char *dst, const char *src, uint32_t n);
/* Fills exactly n bytes of dst: the source, its terminator and zero padding
 * when it is shorter; otherwise its first n bytes with no terminator (one
 * fewer when the last would be a lead byte). Double-byte aware. Returns dst. */
QSTR_API char *QSTR_CALL wstrncpy(char *dst, const char *src, uint32_t n);
/* The longest prefix of src that fits in size - 1 bytes without splitting a
 * double-byte character, then a terminator, always within size bytes. A
 * size below 1 writes nothing. */
QSTR_API void QSTR_CALL CopyUpToAndNullTerminate(char *dst, const char *src, int32_t size);
/* Difference of the first differing bytes, 0 when equal. Null-safe: a null
 * pointer gives 0. */
QSTR_API int32_t QSTR_CALL wstrcmp(const char *a, const char *b);
/* As wstrcmp over at most n bytes; n <= 0 gives 0. Not null-safe. */
QSTR_API int32_t QSTR_CALL wstrncmp(const char *a, const char *b, int32_t n);
/* First byte equal to the low 8 bits of c before the terminator, or null;
 * c = 0 gives null. */
QSTR_API char *QSTR_CALL wstrchr(const char *s, uint32_t c);
/* Last such byte, or null. Null-safe: null or empty s gives null. */
QSTR_API char *QSTR_CALL wstrrchr(const char *s, uint32_t c);

/* ---- 16-bit strings: every element counts, 0xF900 and up included ---- */

/* Length in BYTES: twice the elements before the terminator. Null-safe. */
QSTR_API uint32_t QSTR_CALL wwstrlen(const uint16_t *s);
/* Copies src and its terminator; returns dst. Null-safe as wstrcpy. */
QSTR_API uint16_t *QSTR_CALL wwstrcpy(uint16_t *dst, const uint16_t *src);
/* Appends src and its terminator at dst's terminator; returns dst.
 * Null-safe as wstrcpy. */
QSTR_API uint16_t *QSTR_CALL wwstrcat(uint16_t *dst, const uint16_t *src);
/* As wstrncat, n counting ELEMENTS. */
QSTR_API uint16_t *QSTR_CALL wwstrncat(uint16_t *dst, const uint16_t *src, uint32_t n);
/* Copies up to n ELEMENTS: when src ends first, the rest of the n elements
 * are zeroed; when n elements are copied first, no terminator is written.
 * Returns dst. */
QSTR_API uint16_t *QSTR_CALL wwstrncpy(uint16_t *dst, const uint16_t *src, uint32_t n);
/* Difference of the first differing elements, 0 when equal. */
QSTR_API int32_t QSTR_CALL wwstrcmp(const uint16_t *a, const uint16_t *b);
/* As wwstrcmp over at most n / 2 elements, n counting BYTES; n <= 0 gives
 * 0. An odd n compares n / 2 elements (rounded down). */
QSTR_API int32_t QSTR_CALL wwstrncmp(const uint16_t *a, const uint16_t *b, int32_t n);
/* First element equal to the low 16 bits of ch before the terminator, or
 * null; ch = 0 gives null. */
QSTR_API uint16_t *QSTR_CALL wwstrchr(const uint16_t *s, uint32_t ch);
/* Last such element, or null. Null-safe: null or empty s gives null. */
QSTR_API uint16_t *QSTR_CALL wwstrrchr(const uint16_t *s, uint32_t ch);
/* First position of haystack where all of needle occurs, or null.
 * Null-safe; an empty needle gives null. */
QSTR_API uint16_t *QSTR_CALL wwstrstr(const uint16_t *haystack, const uint16_t *needle);

/* ---- Document streams, walked item by item with ufsize ---- */

/* Bytes before the terminating zero byte at an item start. */
QSTR_API uint32_t QSTR_CALL wdstrlen(const uint8_t *s);
/* Copies src item by item (zero bytes inside groups included) and then one
 * zero byte; returns dst. */
QSTR_API uint8_t *QSTR_CALL wdstrcpy(uint8_t *dst, const uint8_t *src);
/* wdstrcpy at dst's end; returns dst. */
QSTR_API uint8_t *QSTR_CALL wdstrcat(uint8_t *dst, const uint8_t *src);

/* ---- Memory blocks: counts in bytes except QXwmemwchr ---- */

/* memcpy semantics (the blocks must not overlap). */
QSTR_API void QSTR_CALL QXwmemmove(void *dst, const void *src, uint32_t n);
/* As QXwmemmove; nothing when either pointer is null. */
QSTR_API void QSTR_CALL QXwhmemmove(void *dst, const void *src, uint32_t n);
/* memmove semantics (overlap-safe); nothing when either pointer is null.
 * Also exported as QXwhmemcpy. */
QSTR_API void QSTR_CALL QXwmemcpy(void *dst, const void *src, uint32_t n);
QSTR_API void QSTR_CALL QXwhmemcpy(void *dst, const void *src, uint32_t n);
/* Sets n bytes to the low 8 bits of value. */
QSTR_API void QSTR_CALL QXwmemset(void *p, uint32_t value, uint32_t n);
/* As QXwmemset; nothing when p is null. */
QSTR_API void QSTR_CALL QXwhmemset(void *p, uint32_t value, uint32_t n);
/* memcmp's result; 0 when either pointer is null. */
QSTR_API int32_t QSTR_CALL QXwmemcmp(const void *a, const void *b, uint32_t n);
/* First of the n 16-bit ELEMENTS from p (n: low 16 bits) equal to the low
 * 16 bits of ch, or null; null p or n = 0 gives null. */
QSTR_API uint16_t *QSTR_CALL QXwmemwchr(const uint16_t *p, uint32_t ch, uint32_t n);

/* ---- Case-insensitive compares, units folded with wtoupper ----
 *
 * A byte is folded as the character of set 0 with that code (only "a"-"z"
 * change); a 16-bit element as the native character it is. The result is
 * the difference of the folded units at the first inequality, each taken
 * as an unsigned 16-bit number: negative, zero or positive. */

/* Stops at the first inequality or at a's terminator. */
QSTR_API int32_t QSTR_CALL wstricmp(const char *a, const char *b);
/* Stops at the first inequality or at either terminator. */
QSTR_API int32_t QSTR_CALL wwstricmp(const uint16_t *a, const uint16_t *b);
/* As wwstricmp over at most n / 2 elements, n counting BYTES (2 per
 * element); n <= 0 gives 0. An odd n compares n / 2 elements (rounded
 * down). */
QSTR_API int32_t QSTR_CALL wwstrincmp(const uint16_t *a, const uint16_t *b, int32_t n);

/* ---- Ordering and equality of native strings and document streams ----
 *
 * These walk CHARACTERS: native string elements of 0xF900 and above, and
 * the functions and non-character groups of document streams, are skipped
 * (see Q6wstrFirstCh, Q6dstrFirstCh). Limits: c functions take a count of
 * characters; n functions on native strings keep the walk inside the first
 * n ELEMENTS of each string, on document streams inside the first n BYTES.
 * No function checks its pointers. */

/* Order by the current language's sort sequence (tailored on entry, see
 * setsseq): -1, 0 or 1. A string that is a prefix of the other orders
 * first. The plain forms tell case apart at the first position where it
 * differs (lower case first); the i forms ignore case. */
QSTR_API int32_t QSTR_CALL Q6wstrcmp(const uint16_t *a, const uint16_t *b);
QSTR_API int32_t QSTR_CALL Q6wstricmp(const uint16_t *a, const uint16_t *b);
/* At most `count` characters; a count of 0 (or less) gives 0. */
QSTR_API int32_t QSTR_CALL Q6wstrccmp(const uint16_t *a, const uint16_t *b, int32_t count);
QSTR_API int32_t QSTR_CALL Q6wstrcicmp(const uint16_t *a, const uint16_t *b, int32_t count);
/* Within the first n elements of each string; 0 when either walk reaches
 * its bound before a difference. */
QSTR_API int32_t QSTR_CALL Q6wstrncmp(const uint16_t *a, const uint16_t *b, uint32_t n);
QSTR_API int32_t QSTR_CALL Q6wstrnicmp(const uint16_t *a, const uint16_t *b, uint32_t n);

/* Equality: 1 equal, 0 different. The i forms compare characters that
 * differ after lowering both (Q6wstrLowerCh, Q6dstrLowerCh2). Independent
 * of the language. */
QSTR_API int32_t QSTR_CALL Q6wstrequ(const uint16_t *a, const uint16_t *b);
QSTR_API int32_t QSTR_CALL Q6wstriequ(const uint16_t *a, const uint16_t *b);
/* The first n characters must be equal (or both strings end together
 * before), all within the first n elements of each string: when elements
 * of 0xF900 and above among them leave fewer than n characters, or n is 0,
 * the answer is 0. */
QSTR_API int32_t QSTR_CALL Q6wstrnequ(const uint16_t *a, const uint16_t *b, uint32_t n);
/* Equal as far as the first n elements of each string reach: 1 when a
 * bound is reached without a difference; 0 when n is 0 or either string's
 * first character lies at or beyond n. */
QSTR_API int32_t QSTR_CALL Q6wstrniequ(const uint16_t *a, const uint16_t *b, uint32_t n);

/* A plain byte and a character group carrying the same character are
 * different to the exact forms and equal to the i forms. The n and c forms
 * give 1 when their limit is reached without a difference (at once for 0). */
QSTR_API int32_t QSTR_CALL Q6dstrequ(const uint8_t *a, const uint8_t *b);
QSTR_API int32_t QSTR_CALL Q6dstriequ(const uint8_t *a, const uint8_t *b);
QSTR_API int32_t QSTR_CALL Q6dstrnequ(const uint8_t *a, const uint8_t *b, uint32_t n);
QSTR_API int32_t QSTR_CALL Q6dstrniequ(const uint8_t *a, const uint8_t *b, uint32_t n);
QSTR_API int32_t QSTR_CALL Q6dstrcequ(const uint8_t *a, const uint8_t *b, int32_t count);
QSTR_API int32_t QSTR_CALL Q6dstrciequ(const uint8_t *a, const uint8_t *b, int32_t count);

/* The number of characters of s (elements below 0xF900 before the
 * terminator). */
QSTR_API uint32_t QSTR_CALL Q6wstrchrcnt(const uint16_t *s);
/* The character of haystack at which the first occurrence of needle
 * begins, comparing characters exactly and skipping elements of 0xF900 and
 * above in both (a match may span them); null when there is none or either
 * string has no character. */
QSTR_API uint16_t *QSTR_CALL Q6wstrstr(const uint16_t *haystack, const uint16_t *needle);

/* ---- Case of native characters, native strings and document streams ---- */

/* wtoupper / wtolower of the character. */
QSTR_API uint16_t QSTR_CALL Q6wstrUpperCh(uint32_t character);
QSTR_API uint16_t QSTR_CALL Q6wstrLowerCh(uint32_t character);
/* Map every element below 0xF900 in place; return s. */
QSTR_API uint16_t *QSTR_CALL Q6wstrupr(uint16_t *s);
QSTR_API uint16_t *QSTR_CALL Q6wstrlwr(uint16_t *s);
/* Map the document stream character at `p` in place: a character group's
 * carried character, or a plain byte as a character of set 0 (only its
 * low byte is written back). Return p. */
QSTR_API uint8_t *QSTR_CALL Q6dstrUpperCh(uint8_t *p);
QSTR_API uint8_t *QSTR_CALL Q6dstrLowerCh(uint8_t *p);
/* The lower-case native character at `p`, without writing. */
QSTR_API uint16_t QSTR_CALL Q6dstrLowerCh2(const uint8_t *p);
/* Map every character of the stream in place (functions and other groups
 * keep every byte); return s. */
QSTR_API uint8_t *QSTR_CALL Q6dstrupr(uint8_t *s);
QSTR_API uint8_t *QSTR_CALL Q6dstrlwr(uint8_t *s);

/* ---- Classification: 1 or 0 ---- */

/* A class range table entry. Entries are ordered by set; the table ends
 * with set 0xFFFF. */
typedef struct QSTR_CLASS_RANGE {
  uint16_t set;
  uint8_t first; /* inclusive */
  uint8_t last;  /* inclusive */
} QSTR_CLASS_RANGE;

/* The character lies in a range of `table`. */
QSTR_API uint16_t QSTR_CALL lQ6wstrFoundInTable(uint32_t character, const QSTR_CLASS_RANGE *table);
/* "0"-"9" of set 0. */
QSTR_API uint16_t QSTR_CALL Q6wstrIsDigit(uint32_t character);
/* A letter of set 0 or of the native sets' letter ranges. */
QSTR_API uint16_t QSTR_CALL Q6wstrIsAlpha(uint32_t character);
QSTR_API uint16_t QSTR_CALL Q6wstrIsAlphaNum(uint32_t character);
/* The space of set 0, the native line-breaking controls 0xF909-0xF90D and
 * the native space functions. */
QSTR_API uint16_t QSTR_CALL Q6wstrIsSpace(uint32_t character);

/* ---- Clean-up ---- */

/* In place: a zero low byte of an element becomes 0xFF, then a zero high
 * byte; the terminator becomes 0x00FF. The result holds no zero byte before
 * the terminator's high byte: a byte string of 2 x length + 1 bytes (on a
 * little-endian machine). Returns s. */
QSTR_API uint16_t *QSTR_CALL Q6wstrFixExtChars(uint16_t *s);
/* Undoes Q6wstrFixExtChars in place: every 0xFF byte before the first zero
 * byte becomes 0. Exact when no byte of the original characters was 0xFF. */
QSTR_API void QSTR_CALL Q6wstrUnFixExtChars(uint16_t *s);
/* Mode 1: the native control codes (0xF909, 0xF90A, 0xF90C, 0xF90D) and
 * attribute codes (0xFE00-0xFE1F) become their other numbering (0xFC45,
 * 0xFB16, 0xFB1B, 0xFB13; 0xFC66 + a on, 0xFC76 + a off); mode 2 turns
 * them back; other modes do nothing. Elements up to 0xF900 never change.
 * In place; returns s. */
QSTR_API uint16_t *QSTR_CALL Q6wzFix(uint16_t *s, uint32_t mode);
/* Copies src without menu mnemonics: "&X" loses its ampersand ("&&" is
 * kept whole); on a double-byte system a "(" and everything through the
 * next ")" go (the rest of the string when none follows). Returns the last
 * mnemonic: X sign-extended to 16 bits, 0x2800 + X for "(&X)" (0xFF00 + X
 * for X of 0x80 and above), 0 when none. Not double-byte aware otherwise;
 * dst needs as many bytes as src. */
QSTR_API uint16_t QSTR_CALL QstrStripAmpersand(char *dst, const char *src);
/* Cuts s to n bytes in place and returns the bytes kept. On a double-byte
 * system a character is never split: n - 1 when the last would be a lead
 * byte, less when a lead byte stands before the terminator. The string
 * must be at least n bytes long. */
QSTR_API int32_t QSTR_CALL QMBStrTrunc(char *s, int32_t n);
/* The first element of s (every element, 0xF900 and above included) equal
 * to an element of `delimiters`, else s's terminator. */
QSTR_API uint16_t *QSTR_CALL Q6wstrdelim(const uint16_t *s, const uint16_t *delimiters);

/* ---- Whole strings between forms ----
 *
 * az: ANSI byte string, oz: OEM byte string (a lead byte of the ANSI code
 * page and its trail byte are one character on a double-byte system), wz:
 * native string, WStr: UTF-16 string, dz: document stream, tz: text form.
 * Capacities n are 16-bit (low half of the argument) and include the
 * terminator; a capacity of 0 is refused with result 0 and nothing written.
 * A native character without a host code becomes the byte 0x80 (or is
 * dropped by Q6wzToazEx without flag 0x01). */

/* Byte strings to native strings; one native character per host
 * character (a double-byte character counts once; a lead byte just before
 * the terminator is dropped). On a system without double-byte support the
 * conversion runs backward, so `dst` may be the source's own address (in
 * place). Result 1, or 0 when a needed temporary copy could not be made
 * (destination untouched). The N forms convert at most n - 1 characters. */
QSTR_API int32_t QSTR_CALL Q6azTowz(const char *src, uint16_t *dst);
QSTR_API uint16_t QSTR_CALL Q6azTowzN(const char *src, uint16_t *dst, uint32_t n);
QSTR_API uint16_t QSTR_CALL Q6ozTowz(const char *src, uint16_t *dst);
QSTR_API uint16_t QSTR_CALL Q6ozTowzN(const char *src, uint16_t *dst, uint32_t n);

/* Native string to ANSI bytes. Flags: 0x01 write 0x80 for a character
 * without ANSI code (else drop it); 0x02 write 0xF90D as a space; 0x04
 * write 0xF90A (and 0xF90D without 0x02) as CR LF; 0x08 measure only (dst
 * may be null, nothing is written). Returns the bytes produced, terminator
 * not counted. The destination is not limited: measure first. */
QSTR_API uint32_t QSTR_CALL Q6wzToazEx(const uint16_t *src, char *dst, uint32_t flags);
/* Q6wzToazEx with flags 0x01. */
QSTR_API uint32_t QSTR_CALL Q6wzToaz(const uint16_t *src, char *dst);
/* The first min(length, n - 1) source characters (each may take 2 bytes:
 * dst needs up to 2(n - 1) + 1 bytes). Result 1. */
QSTR_API uint16_t QSTR_CALL Q6wzToazN(const uint16_t *src, char *dst, uint32_t n);
/* At most capacity - 1 bytes of text and the terminator, never splitting a
 * double-byte character. 0 for a null pointer (or capacity 0), else 1. */
QSTR_API uint16_t QSTR_CALL Q6wzToazNB(const uint16_t *src, char *dst, uint32_t capacity);
/* Native string to OEM bytes, whole or limited as Q6wzToazN. Result 1. */
QSTR_API uint16_t QSTR_CALL Q6wzTooz(const uint16_t *src, char *dst);
QSTR_API uint16_t QSTR_CALL Q6wzToozN(const uint16_t *src, char *dst, uint32_t n);

/* UTF-16 to native and back, one unit per character (0xFFFF for one
 * without mapping). The N forms keep the first min(length, n - 1)
 * characters. Result 1. Q6wzToWStrEx ignores its third argument. */
QSTR_API int32_t QSTR_CALL Q6WStrTowz(const uint16_t *src, uint16_t *dst);
QSTR_API uint16_t QSTR_CALL Q6WStrTowzN(const uint16_t *src, uint16_t *dst, uint32_t n);
QSTR_API int32_t QSTR_CALL Q6wzToWStr(const uint16_t *src, uint16_t *dst);
QSTR_API int32_t QSTR_CALL Q6wzToWStrEx(const uint16_t *src, uint16_t *dst, uint32_t unused);
QSTR_API uint16_t QSTR_CALL Q6wzToWStrN(const uint16_t *src, uint16_t *dst, uint32_t n);

/* The text form (see codepage.h: TpiQxToQxsioBuff, TpiQxwzToQxsioBuff),
 * source first. */
QSTR_API uint16_t QSTR_CALL Q6dzTotz(const uint8_t *src, uint8_t *dst, uint32_t size, uint32_t flags);
QSTR_API uint16_t QSTR_CALL Q6wzTotz(const uint16_t *src, uint8_t *dst, uint32_t size, uint32_t flags);

#endif
