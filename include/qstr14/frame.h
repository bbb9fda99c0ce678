/* Library frame: the current language, the initialised flag and the
 * detected script environment.
 *
 * The library is usable as soon as it is loaded; QStrInit only records the
 * caller's language the first time it is called. None of these functions
 * can fail. */
#ifndef QSTR14_FRAME_H
#define QSTR14_FRAME_H

#include "export.h"

/* First call: sets the initialised flag and copies `language` into the
 * current language (as QStrSetLanguage). Later calls, until QStrUnInit,
 * return 1 and ignore `language`. Returns 1. */
QSTR_API int32_t QSTR_CALL QStrInit(const char *language);

/* Clears the initialised flag. The current language keeps its value. */
QSTR_API void QSTR_CALL QStrUnInit(void);

/* Copies the zero-terminated ANSI code `language` into the current
 * language. The buffer holds 7 characters and a terminator: a longer code
 * is cut to its first 7 characters. A null pointer is ignored. Returns 1. */
QSTR_API int32_t QSTR_CALL QStrSetLanguage(const char *language);

/* The library's own current-language buffer (default "EN"), not a copy:
 * it shows the next QStrSetLanguage. Do not write through or free it. */
QSTR_API const char *QSTR_CALL QStrGetLanguage(void);

/* Country IDs: the script environment the machine runs in. */
#define QSTR_COUNTRY_NONE 0
#define QSTR_COUNTRY_JAPANESE 1
#define QSTR_COUNTRY_KOREAN 2
#define QSTR_COUNTRY_TRADITIONAL_CHINESE 3
#define QSTR_COUNTRY_SIMPLIFIED_CHINESE 4
#define QSTR_COUNTRY_ARABIC 5
#define QSTR_COUNTRY_HEBREW 6

/* The country ID, detected on the first call from the system language and,
 * for other languages on a double-byte system, from the keyboard; cached
 * for the rest of the process. Safe to call from several threads. */
QSTR_API uint8_t QSTR_CALL QtpiGetCountryID(void);

/* The keyboard language's default ANSI code page (the system's when the
 * language is unknown) into *codePage, and that code page's Windows
 * character set (1 when it has none) into *charset. Either pointer may be
 * null; that result is then not produced. */
QSTR_API void QSTR_CALL QshGetInfoFromKeyboard(uint16_t *codePage, uint8_t *charset);

#endif
