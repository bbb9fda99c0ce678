/* qstr14: the string-support library. Include this header for everything. */
#ifndef QSTR14_QSTR14_H
#define QSTR14_QSTR14_H

#include "version.h"
#include "export.h"
#include "frame.h"
#include "charset.h"
#include "version5.h"
#include "strings.h"
#include "collate.h"
#include "codepage.h"
#include "asian.h"

#endif
