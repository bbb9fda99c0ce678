/* Library frame: the current language and the initialised flag.
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

#endif
