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

#endif
