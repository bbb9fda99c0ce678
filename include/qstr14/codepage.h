/* Host code pages: code page records, the supported code page list, and
 * single-character conversion between host codes and native characters.
 *
 * A host code is a single byte (high byte 0) or a double-byte character
 * (lead byte * 256 + trail byte). 0xFFFF means "no mapping" in both
 * directions. The table layouts below are byte-exact and little-endian. */
#ifndef QSTR14_CODEPAGE_H
#define QSTR14_CODEPAGE_H

#include "export.h"

#pragma pack(push, 1)
/* Host code → native character for the codes first..last: entries[i] is
 * the native character of host code first + i. */
typedef struct CODEPAGERANGE {
  uint8_t first;
  uint8_t last;
  uint16_t entries[256];
} CODEPAGERANGE;

typedef struct CODEPAGEREVERSEENTRY {
  uint16_t native;
  uint8_t code;
} CODEPAGEREVERSEENTRY;

/* Native character → single-byte host code, sorted strictly ascending by
 * native character; `count` entries are used. */
typedef struct CODEPAGEREVERSE {
  uint16_t count;
  CODEPAGEREVERSEENTRY entries[500];
} CODEPAGEREVERSE;
#pragma pack(pop)

/* A code page record: the code pages and tables a converter uses. It never
 * owns its tables, which are constant data of the library. */
typedef struct CODEPAGETBL {
  uint32_t toQxCodepage;   /* code page of lowTable/highTable; 0 none */
  uint32_t fromQxCodepage; /* code page of reverseTable; 0 none */
  const CODEPAGERANGE *lowTable;      /* host codes below 32, or null */
  const CODEPAGERANGE *highTable;     /* host codes from 127 up, or null */
  const CODEPAGEREVERSE *reverseTable; /* or null */
} CODEPAGETBL;

/* Host code (low 16 bits) → native character through `record`, or 0xFFFF.
 * Control codes use the low range table, or without one give the native
 * control codes 0xF909, 0xF90A, 0xF90C, 0xF90D for 9, 10, 12, 13; 32-126
 * are themselves; on a double-byte system the East Asian code pages place
 * double-byte codes arithmetically; the rest goes through the high range
 * table. */
QSTR_API uint16_t QSTR_CALL QcvtNtvToQx(const CODEPAGETBL *record, uint32_t hostCode);

/* Native character (low 16 bits) → host code through `record`, or 0xFFFF.
 * Set 0 is returned unchanged (0x0080 gives a space), the raw-byte set 12
 * gives its code byte, East Asian characters their double-byte code on a
 * double-byte system, other characters the record's reverse table. */
QSTR_API uint16_t QSTR_CALL QcvtQxToNtv(const CODEPAGETBL *record, uint32_t nativeChar);

/* ---- Code page selection and the library's records ----
 *
 * The library keeps an ANSI record (the Windows code page) and an OEM
 * record (the DOS code page, or the Windows code page on a double-byte
 * system), loaded on first use. The code pages come from the values
 * "Windows Code Page" and "DOS Code Page" (2 bytes each) under the registry
 * location, else from the country ID, else from the system. Code page
 * numbers are the product's: equal to the Windows numbers except for the
 * ISO 8859 rows 18851, 18852, 18856, 18857 and 18858. */

/* The DOS code page: registry value, country default, or the system's.
 * Not cached. */
QSTR_API uint32_t QSTR_CALL QcvtGetDOSCodepage(void);
/* The Windows code page, worked out once (registry, country, system) and
 * cached until a successful QcvtSetWinCodepage. */
QSTR_API uint16_t QSTR_CALL QcvtGetWinCodepage(void);
/* Stores the low 16 bits as "Windows Code Page" (following a link, never
 * overriding a locked value) and caches it. 1 stored, 0 not. The records
 * keep their tables until str_ClrCodePage. */
QSTR_API int32_t QSTR_CALL QcvtSetWinCodepage(uint32_t codePage);
/* Table of the list row with this product number: which 0 the low range
 * table, 1 the high range table, 2 the reverse table; null otherwise. */
QSTR_API const void *QSTR_CALL QcvtFindCPTable(uint32_t codePage, uint32_t which);
/* Windows number of a product code page number (itself when not listed). */
QSTR_API uint32_t QSTR_CALL QcvtQXCodepageToWinCodepage(uint32_t codePage);
/* Product number of a Windows code page number (itself when not listed). */
QSTR_API uint32_t QSTR_CALL QcvtWinCodepageToQXCodepage(uint32_t windowsCodepage);
/* Loads `record` for `codePage` (-1: the current Windows code page) in the
 * directions given: 2 host to native (range tables), 1 native to host
 * (reverse table), 3 both. A direction already holding that code page is
 * left alone. A code page not in the list is stored with null tables. */
QSTR_API void QSTR_CALL QcvtSetCodepage(int32_t codePage, uint32_t directions, CODEPAGETBL *record);
/* Sets all five fields of `record` to 0. */
QSTR_API void QSTR_CALL QcvtClrCodepage(CODEPAGETBL *record);
/* Loads both library records, both directions. */
QSTR_API void QSTR_CALL TpiSetCodepage(void);
/* Loads the library records unless loaded. Returns 1. */
QSTR_API int32_t QSTR_CALL str_SetCodePage(void);
/* Empties the library records; the next conversion loads them again with
 * the code pages current then. */
QSTR_API void QSTR_CALL str_ClrCodePage(void);

/* Conversions through the library's records (loaded on first use). */
QSTR_API uint16_t QSTR_CALL TpiAnsiToQx(uint32_t hostCode);
QSTR_API uint16_t QSTR_CALL TpiOemToQx(uint32_t hostCode);
QSTR_API uint16_t QSTR_CALL TpiGetAnsi(uint32_t nativeChar);
QSTR_API uint16_t QSTR_CALL TpiGetOem(uint32_t nativeChar);
/* The library's records themselves (loaded on first use). */
QSTR_API CODEPAGETBL *QSTR_CALL QtpiGetAnsiCodepageTbl(void);
QSTR_API CODEPAGETBL *QSTR_CALL QtpiGetOemCodepageTbl(void);

/* ---- Stripping to plain text ----
 *
 * Flag bits (other bits are ignored):
 *   0x01 keep attribute groups 0xF2/0xF3 | keep attribute codes 0xFE00-0xFE1F
 *   0x02 keep 0xCC                        | keep 0xF90A and 0xF90C
 *   0x04 keep 0xCF                        | keep 0xF90D
 *   0x08 without 0x04, 0xCF becomes 0x80  | without 0x04, 0xF90D becomes a space
 *   0x10 0x84 and 0x85 become "-"         | 0x0084, 0x0085, 0xFB05 become "-"
 *   0x20 -                                | keep 0xF909
 * (document stream | native string). */

/* Strips a document stream into `dst`: printable ASCII, 0x80, the kept
 * codes, character groups and the kept attribute groups. `size` (low 16
 * bits) counts destination bytes including the terminator; a group that
 * does not fit ends the output. Returns the bytes stored including the
 * terminator, or 0 (nothing written) when size is 0. */
QSTR_API uint32_t QSTR_CALL TpiQxDocStripBuff(uint8_t *dst, const uint8_t *src, uint32_t size, uint32_t flags);

/* Strips a native string into `dst`: valid native characters and the kept
 * codes. `size` counts bytes; a character is stored while fewer than
 * size - 1 bytes have been stored, so the output with its 16-bit terminator
 * may take size + 1 (odd size) or size + 2 (even size) bytes, or the source
 * with its terminator if that is less: `dst` must have room for that.
 * Returns the bytes stored including the terminator; a size below 2 writes
 * nothing and returns 0. */
QSTR_API int32_t QSTR_CALL TpiQxLongStripBuff(uint16_t *dst, const uint16_t *src, int32_t size, uint32_t flags);

/* ---- Whole buffers between host bytes and document streams ----
 *
 * `size` (low 16 bits) counts destination bytes including the terminator;
 * the output stays within size - 1 bytes plus the terminator. Results count
 * the bytes stored including the terminator; 0 (nothing written) when size
 * is 0. Characters without a mapping are dropped; a character group or
 * double-byte character that does not fit ends the output. */

/* ANSI / OEM bytes (zero-terminated) to a document stream: printable ASCII
 * as itself, every other byte through the library's record, stored as a
 * byte when its native character is below 0x100, else as a character group. */
QSTR_API uint32_t QSTR_CALL str_AnsiToQx(uint8_t *dst, const char *src, uint32_t size);
QSTR_API uint32_t QSTR_CALL str_OemToQx(uint8_t *dst, const char *src, uint32_t size);
/* As str_AnsiToQx, a lead byte and its trail byte making one host code; all
 * codes go through the ANSI record (on a double-byte system both records
 * hold the Windows code page); `form` (0 ANSI, 1 OEM) is not used. A lead
 * byte just before the terminator is converted alone. */
QSTR_API uint32_t QSTR_CALL str_DBCS_OEMorANSItoQX(uint8_t *dst, const char *src, uint32_t size, uint32_t form);
/* The double-byte converter on a double-byte system, else the single-byte one. */
QSTR_API uint32_t QSTR_CALL TpiAnsiToQxBuff(uint8_t *dst, const char *src, uint32_t size);
QSTR_API uint32_t QSTR_CALL TpiOemToQxBuff(uint8_t *dst, const char *src, uint32_t size);
/* A document stream to ANSI / OEM bytes: stripped (0xCC, 0xCF and 0x80
 * kept) into `dst`, then converted in place. A dropped character still
 * counts one byte. */
QSTR_API uint32_t QSTR_CALL TpiQxToAnsiBuff(char *dst, const uint8_t *src, uint32_t size);
QSTR_API uint32_t QSTR_CALL TpiQxToOemBuff(char *dst, const uint8_t *src, uint32_t size);

/* ---- The text form ----
 *
 * A byte form for single-byte consumers: printable ASCII; 0x0D line end;
 * 0x09 tab (0xFE with flag 0x40); 0x1D/0x1C and 0x14/0x15 attributes 12
 * and 14 on/off; 0x0E n / 0x0F n any other attribute on/off; 0xFD, code,
 * set for any other native character. Each function first strips its
 * source (flags as for the stripping functions). `size` (low 16 bits)
 * counts destination bytes including the terminator; an item that does not
 * fit with the terminator ends the output. Returns the bytes written, NOT
 * counting the terminator; 0 (nothing written) when size is 0. The
 * attribute numbers differ by source: a / 2 + 1 for a document stream's
 * attribute byte a, a + 1 for a native string's code 0xFE00 + 2a. */
QSTR_API uint16_t QSTR_CALL TpiQxToQxsioBuff(uint8_t *dst, const uint8_t *src, uint32_t size, uint32_t flags);
/* From a native string, through a scratch buffer from the process heap
 * (0, nothing written, when it cannot be had). */
QSTR_API uint16_t QSTR_CALL TpiQxwzToQxsioBuff(uint8_t *dst, const uint16_t *src, uint32_t size, uint32_t flags);

#ifdef __cplusplus
/* The registry location of the code page values: the code page data path,
 * a backslash and the current language. The library's own buffer (one a
 * thread), rebuilt at every call. Exported with C++ linkage. */
QSTR_VISIBLE char *QSTR_CALL QcvtGetRegistryLoc();
#endif

#endif
