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

#endif
