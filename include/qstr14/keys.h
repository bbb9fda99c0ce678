/* Sort keys for the multi-level comparison (library qstr14-keys).
 *
 * QsKeyBuild turns a native string into a byte key such that, for the same
 * language and flags, comparing two keys with memcmp (a shorter key that is
 * a prefix of a longer one sorting first; QsKeyCompare does exactly this)
 * orders the strings as QxQS6Cmpcoll does. A key holds the values the
 * comparison itself compares, position by position: the primary values
 * (after contraction, a contracted pair counting its + 1, expansions as two
 * positions; ignorable characters left out), then the secondary values,
 * then, when the case or kana flag asks for them, the case values or flags.
 * Keys are built for one language and one set of flags and compare only
 * with keys built for the same.
 *
 * Where the comparison cannot be written as a key:
 *  - Right-to-left languages (2, 11, 19, 32). When one string has an
 *    ignorable character where the other has a valued one, the comparison
 *    steps back and pairs that character with the next one of the other
 *    string. A key orders such strings exactly as long as no secondary
 *    value of a valued character equals that of an ignorable character
 *    (0x8900-0x8EFF: characters of the sets 0x89-0x8E). A key of a string
 *    that holds one is reported as not exact.
 *  - Catalan (3) and Spanish (29). Where two strings are identical at a
 *    contracted pair ("ll"), the comparison drops the pair's second letter
 *    on both sides, while each string alone takes that letter again, where
 *    it can start another pair ("ll" + "l"). A key of a string in which it
 *    does is reported as not exact.
 * Everywhere else keys are exact. The Asian languages follow the country ID
 * at the time the key is built, as the comparison does.
 *
 * Compare two keys only when both were reported exact; otherwise compare
 * the strings with QxQS6Cmpcoll. Both give the same answer wherever both
 * apply, so a sort may mix them. */
#ifndef QSTR14_KEYS_H
#define QSTR14_KEYS_H

#include "export.h"

/* Builds the key of `s` (a native string; null gives the empty key, which
 * sorts before every other) for `language` and the flags of QxQS6Cmpcoll.
 * Writes at most `size` bytes to `key` (which may be null when `size` is 0)
 * and returns the key's full length in bytes: when it exceeds `size`, call
 * again with a buffer of that length. A key takes at most 14 bytes per unit
 * of the string plus 2. When `exact` is not null, stores 1 if the key
 * orders exactly against every other exact key, 0 if comparisons with
 * this string must use QxQS6Cmpcoll. */
QSTR_API size_t QSTR_CALL QsKeyBuild(const uint16_t *s, uint16_t language, uint16_t caseFlag,
                                     uint16_t kanaFlag, uint8_t *key, size_t size, int32_t *exact);

/* 1 when every key of the language and flags is exact (QsKeyBuild always
 * reports 1), 0 when some strings' keys are not. */
QSTR_API int32_t QSTR_CALL QsKeyAlwaysExact(uint16_t language, uint16_t caseFlag, uint16_t kanaFlag);

/* Orders two keys: memcmp over the shorter length, then the shorter key
 * first. Returns -1, 0 or 1. */
QSTR_API int32_t QSTR_CALL QsKeyCompare(const uint8_t *a, size_t aLength, const uint8_t *b, size_t bLength);

#endif
