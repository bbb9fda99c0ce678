/* The export macro of qstr14.
 *
 * QSTR_API marks a function or data object that leaves the library: C
 * linkage and default visibility (the library is built with hidden
 * visibility and a linker version script, so nothing else is exported).
 * QSTR_CALL is the calling convention of every export: the standard
 * calling convention on 32-bit Windows, the platform default elsewhere.
 *
 *     QSTR_API uint16_t QSTR_CALL ufsize(const uint8_t *item);
 */
#ifndef QSTR14_EXPORT_H
#define QSTR14_EXPORT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define QSTR_EXTERN_C extern "C"
#else
#define QSTR_EXTERN_C extern
#endif

#if defined(_WIN32)
/* The .def file names the exports; nothing to add on the declarations. */
#define QSTR_VISIBLE
#elif defined(__GNUC__) || defined(__clang__)
#define QSTR_VISIBLE __attribute__((visibility("default")))
#else
#define QSTR_VISIBLE
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define QSTR_CALL __stdcall
#else
#define QSTR_CALL
#endif

#define QSTR_API QSTR_EXTERN_C QSTR_VISIBLE

#endif
