/* qstr14 version: the one place that names it. The build derives the
 * shared library's SONAME from QSTR14_VERSION_MAJOR; qstr --version prints
 * QSTR14_VERSION_STRING. */
#ifndef QSTR14_VERSION_H
#define QSTR14_VERSION_H

#define QSTR14_VERSION_MAJOR 14
#define QSTR14_VERSION_MINOR 0
#define QSTR14_VERSION_PATCH 0
#define QSTR14_VERSION_STRING "14.0.0"

#endif
