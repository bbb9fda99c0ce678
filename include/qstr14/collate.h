/* The sort sequence and single-character comparison, and small lookups over
 * generic table shapes.
 *
 * The sort sequence is one byte of collation value per native character,
 * held in the collation blocks of `coltbl`. A block is {first code, count,
 * count value bytes}: the value of code c is byte c - first, for
 * first <= c < first + count. 0xFF means "no collation value". Letters
 * share a value with their upper- or lower-case partner; accented letters
 * take their base letter's value unless the current language orders them
 * apart. The blocks start tailored to "EN" and are retailored when a
 * comparison finds that the current language (QStrGetLanguage) has changed.
 *
 * Records that hold pointers are packed (no padding) and their pointers
 * have the platform's width: 5 bytes per {key, pointer} record on a 32-bit
 * target, 9 on a 64-bit one. Their pointer members are unaligned: read
 * them by value, never through their address.
 *
 * Native characters travel in 32-bit arguments of which the low 16 bits
 * count; byte keys and codes in arguments of which the low 8 bits count. */
#ifndef QSTR14_COLLATE_H
#define QSTR14_COLLATE_H

#include "export.h"

#pragma pack(push, 1)
/* A {key byte, pointer} record: coltbl's records and the tables of
 * ub_fp_table. A list of them ends with key 0xFF. */
typedef struct QSTR_KEYED_POINTER {
  uint8_t key;
  void *pointer;
} QSTR_KEYED_POINTER;

/* The block of ubp_lukup: codes first..last (bytes, inclusive) index
 * `values`. */
typedef struct QSTR_BYTE_RANGE_POINTER {
  uint8_t first;
  uint8_t last;
  const uint32_t *values;
} QSTR_BYTE_RANGE_POINTER;

/* The block of uw_fp_lukup: codes first..last (16-bit, inclusive) index
 * `values`. */
typedef struct QSTR_WORD_RANGE_POINTER {
  uint16_t first;
  uint16_t last;
  const uint32_t *values;
} QSTR_WORD_RANGE_POINTER;
#pragma pack(pop)

/* The collation blocks of the sort sequence, one record per character set
 * (0, 1, 4, 5, 8, 10), closed by {0xFF, null}. Writable: the library
 * rewrites a fixed list of cells when the language changes. */
QSTR_API QSTR_KEYED_POINTER coltbl[];

/* ---- Sort sequence ---- */

/* Tailors the sort sequence to `language`, an ANSI code of which the first
 * two letters count, in either case ("dk" as "DK"). Does nothing when the
 * code equals the one the sequence is tailored to, or when it is null. A
 * code that no language column names selects the default order. Safe to
 * call from several threads; a comparison that runs while another thread
 * switches language may see values of both languages. */
QSTR_API void QSTR_CALL setsseq(const char *language);

/* setsseq with the current language. */
QSTR_API void QSTR_CALL lQstrSetupLang(void);

/* Finds the collation value cell of `character`. Returns 0 and stores the
 * cell's address in *cell when the character has one; returns 1 and
 * stores the block's address when the code lies outside its set's block,
 * or null when the set has no block. */
QSTR_API int32_t QSTR_CALL fndcolv(uint32_t character, uint8_t **cell);

/* The collation value of `character` as the blocks hold it now, 0xFF when
 * it has none. No case folding and no tailoring. */
QSTR_API uint8_t QSTR_CALL xch2col(uint32_t character);

/* 0 for the character 0; otherwise tailors the sequence to the current
 * language and returns xch2col of the character. */
QSTR_API uint8_t QSTR_CALL Q6wstrCollateCh(uint32_t character);

/* Compares two characters by the sort sequence after lowering both
 * (wtolower); only the sign of the result counts. Characters without a
 * value sort after every character with one, and among themselves by
 * code. With a non-zero caseFlag two characters of equal value differ
 * when exactly one of them is upper case: it sorts after the other. Does
 * not tailor the sequence: call lQstrSetupLang first. */
QSTR_API int32_t QSTR_CALL xchcmp(uint32_t a, uint32_t b, uint32_t caseFlag);

/* ---- Lookups over tables the caller passes ----
 *
 * A list search stops at the first record whose key matches; a key equal
 * to the end marker is found at the end marker. Range lookups accept
 * first <= code <= last. */

/* The pointer of the record with `key`, or that of the 0xFF record. Also
 * exported as ub_vfp_table. */
QSTR_API void *QSTR_CALL ub_fp_table(const QSTR_KEYED_POINTER *table, uint32_t key);
QSTR_API void *QSTR_CALL ub_vfp_table(const QSTR_KEYED_POINTER *table, uint32_t key);
/* Bytes closed by 0xFF: `key` when listed, else 0xFF. */
QSTR_API uint8_t QSTR_CALL b_table(const uint8_t *table, uint32_t key);
/* 16-bit values closed by 0xFFFF: `key` when listed, else 0xFFFF. */
QSTR_API uint16_t QSTR_CALL w_table(const uint16_t *table, uint32_t key);
/* {16-bit key, 16-bit value} records closed by key 0xFFFF: the value of
 * the record with `key`, else that of the 0xFFFF record. */
QSTR_API uint16_t QSTR_CALL uw_uw_table(const uint16_t *table, uint32_t key);
/* {key byte, value byte} records closed by key 0xFF: the value of the
 * record with `key`, else 0xFF. */
QSTR_API uint8_t QSTR_CALL b_b_table(const uint8_t *table, uint32_t key);
/* {first, last, byte values}: the value of `code`, else 0xFF. */
QSTR_API uint8_t QSTR_CALL ub_lukup(const uint8_t *block, uint32_t code);
/* {16-bit first, 16-bit last, 16-bit values}, of which only the low bytes
 * of first and last are compared with the byte `code`: the value of
 * `code`, else 0xFFFF. */
QSTR_API uint16_t QSTR_CALL uw_lukup(const uint16_t *block, uint32_t code);
/* The value of byte `code` in block->values, else 0. */
QSTR_API uint32_t QSTR_CALL ubp_lukup(const QSTR_BYTE_RANGE_POINTER *block, uint32_t code);
/* The value of 16-bit `code` in block->values, else 0xFFFFFFFF. */
QSTR_API uint32_t QSTR_CALL uw_fp_lukup(const QSTR_WORD_RANGE_POINTER *block, uint32_t code);
/* {first, last, pairs of bytes}: stores the pair of `code` in *first and
 * *second and returns 0; returns 1 and stores nothing when `code` is out
 * of range. */
QSTR_API int32_t QSTR_CALL ub_ub_lukup(const uint8_t *block, uint32_t code, uint8_t *first, uint8_t *second);

#endif
