/* Collation: the sort sequence and single-character comparison, small
 * lookups over generic table shapes, the version-6 character collation with
 * the composition of accented letters, and the multi-level,
 * language-dependent string comparison.
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

/* ---- Version-6 character collation ----
 *
 * Nothing below reads the current language or the sort sequence: the
 * multi-level functions take the language as an argument, and all of them
 * are pure over constant tables. In a native string, units from 0xF900 up
 * other than 0xF909 (tab) are markers that the comparison passes over. */

/* Secondary ranks of the set 1 diacritics 0x0100-0x011B, indexed by the
 * diacritic's code: 0-14 rank a diacritic, 15 marks one without a rank; the
 * last two entries are 0. Not read by the library itself. */
QSTR_API const uint16_t diatbl[28];

/* 1 when the character lies in the defined repertoire: sets 0 and 12 from
 * code 0x20 (set 0 up to 0x7E, set 12 every code but 0x1F), sets 1-15 below
 * their counts, the East Asian sets 0x24-0xDF at every code but 0xFF; else
 * 0 (sets 16-35 and 0xE0 up included). */
QSTR_API int32_t QSTR_CALL QxCh6Isqxc(uint32_t ch);

/* Version-6 primary value of the character (the first block of its set),
 * 0xFF when it has none. */
QSTR_API uint8_t QSTR_CALL QxCh6Getcoll(uint32_t ch);

/* Orders two characters by their version-6 primary values: 8 when a sorts
 * before b, 2 after, 4 equal. Two characters without a value compare by
 * code; a character without a value sorts after every valued one. */
QSTR_API uint8_t QSTR_CALL QxCh6Cmpcoll(uint32_t a, uint32_t b);

/* Secondary rank of a composed character's diacritic. Only characters with
 * bit 15 set are decomposed, and no composed character has it, so the
 * answer is 0 for every character of the tables. */
QSTR_API uint16_t QSTR_CALL QxCh6Getdia(uint32_t ch);

/* Splits a composed letter of set 1, 8 or 10 into its base character and its
 * diacritic character (the diacritic in the letter's own set, bit 7 of its
 * code kept). Returns 0, or 1 when the character is not composed (nothing
 * is written then). */
QSTR_API uint16_t QSTR_CALL QxCh6Brkcar(uint32_t ch, uint16_t *base, uint16_t *diacritic);

/* Composes a base character and a diacritic code (low byte; bit 7 is
 * ignored) into the first letter of the base's set (set 1 for a base of set
 * 0) whose base code and diacritic match; the base's set is not compared.
 * Returns 0 and stores the letter, or 1 when there is none. */
QSTR_API uint16_t QSTR_CALL QxCh6Cmbcar(uint16_t *composed, uint32_t base, uint32_t diacritic);

/* ---- Multi-level comparison ----
 *
 * Language numbers index a table of 40 two-letter codes: 0 "US" (also the
 * plain order), 1 "AF", 2 "AR", 3 "CA", 4 "HR", 5 "CZ", 6 "DK", 7 "NL",
 * 8 "OZ", 9 "CE", 10 "UK", 11 "FA", 12 "SU", 13 "CF", 14 "FR", 15 "GA",
 * 16 "DE", 17 "SD", 18 "GR", 19 "HE", 20 "MA", 21 "IS", 22 "IT", 23 "NO",
 * 24 "PL", 25 "BR", 26 "PO", 27 "RU", 28 "SL", 29 "ES", 30 "SV", 31 "YK",
 * 32 "UR", 33 "TK", 34 "JP", 35 "KR", 36 "CT", 37 "CS", 38 "LA", 39 "TA".
 * 2, 11, 19 and 32 are right-to-left (Hebrew and Arabic-script sets,
 * ignorable characters, no contractions); 34 and above (40 and above too)
 * are Asian. */

/* Compares two native strings for a language: primary values first (with
 * the language's tailoring, contractions and expansions), then the first
 * secondary (diacritic) difference, then, when caseFlag is non-zero, the
 * first case difference (lower case first, upper case first for language
 * 18). kanaFlag makes hiragana/katakana differences count in the Asian
 * languages. Returns -1, 0 or 1. A null string sorts before any other
 * string; two null strings are equal. */
QSTR_API int32_t QSTR_CALL QxQS6Cmpcoll(const uint16_t *s1, const uint16_t *s2, uint16_t language,
                                        uint16_t caseFlag, uint16_t kanaFlag);

/* QxQS6Cmpcoll with the language given by its two-letter code (upper case;
 * a null code or an unknown one means language 0). */
QSTR_API int32_t QSTR_CALL QxQS6CmpcollLang(const uint16_t *s1, const uint16_t *s2,
                                            const char *languageCode, uint16_t caseFlag,
                                            uint16_t kanaFlag);

/* Language number of the two-letter code at `code` (its first two bytes,
 * compared exactly), 0 when none matches. */
QSTR_API uint16_t QSTR_CALL QxLanguage(const char *code);

/* Writes the two letters of a language number and a zero byte into `out`
 * (at least 3 bytes); a number of 40 or more writes "US". */
QSTR_API void QSTR_CALL QxNum2Lang(uint16_t language, char *out);

/* Primary value of a character for a language: its tailored value, else
 * its version-6 block value. 0xFF: no value; 0xFD: ignorable (right-to-left
 * languages only); the tab marker 0xF909 has 0. */
QSTR_API uint16_t QSTR_CALL f_QX60ColVal(uint32_t ch, uint16_t language);

/* Low byte 0 when the character is a lower-case letter (set 0 "a"-"z", odd
 * codes of the case ranges of sets 1, 8 and 10); otherwise 1 for set 0 and
 * the even codes of those ranges, and the character with its low byte
 * replaced by 1 for every other character. Callers look at the low byte. */
QSTR_API uint32_t QSTR_CALL f_wislower(uint32_t ch);

/* Collation values of the character at *pp for key building, one position
 * at a time: advances *pp past the units used and writes primary[0..1], the
 * secondary value and the flags (case and kana). Returns 0 at the
 * terminator (nothing written, *pp unchanged) and for an ignorable
 * character (secondary and flags written, primary untouched), else 2. These
 * values describe a contracted pair as {value of the first letter, 0xFF};
 * they are not the comparison's own values for contractions. */
QSTR_API uint16_t QSTR_CALL getColValues(const uint16_t **pp, uint8_t *primary, uint16_t *secondary,
                                         uint8_t *flags, uint16_t caseFlag, uint16_t previousPrimary,
                                         uint16_t language);

/* ---- East Asian collation values ----
 *
 * Values of one character for the Asian languages: a 16-bit primary (0xFFFF
 * none), a secondary (kana form, symbol position, diacritic rank or code)
 * and flags (bit 0 katakana, or for other characters not lower case / case
 * ignored; bit 1 the character was changed in width first). `next` is the
 * character after it (a half-width voiced or semi-voiced mark merges into a
 * half-width katakana); `previousPrimary` the primary of the previous
 * character of the same string (0 at the start), for the iteration and
 * prolonged sound marks. Returns 1, 2 when `next` was merged into this
 * character, or 0 when the character has no value. All outputs are written.
 * Follows the country ID for its width conversions. */
QSTR_API uint16_t QSTR_CALL AsiaGetColValues(uint32_t ch, uint32_t next, uint16_t previousPrimary,
                                             uint16_t *primary, uint16_t *secondary, uint8_t *flags,
                                             uint32_t caseInsensitive);

#endif
