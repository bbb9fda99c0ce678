/* Collation: version-6 character collation, composition of accented
 * letters, and the multi-level, language-dependent string comparison.
 *
 * A native character is 16 bits (high byte the character set, low byte the
 * code); character arguments travel in 32-bit values of which the low 16
 * bits count. A native string ends with 0x0000; units from 0xF900 up other
 * than 0xF909 (tab) are markers that the comparison passes over.
 *
 * Nothing here reads the current language or the sort sequence: the
 * multi-level functions take the language as an argument. All functions are
 * pure over constant tables. */
#ifndef QSTR14_COLLATE_H
#define QSTR14_COLLATE_H

#include "export.h"

/* ---- Version-6 character collation ---- */

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
