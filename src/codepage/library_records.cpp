// Single-character conversion through the library's own ANSI and OEM
// records, loading them on first use.
#include "codepage/state.h"

using namespace qstr::codepage;

uint16_t QSTR_CALL TpiAnsiToQx(uint32_t hostCode) { return QcvtNtvToQx(&loadedAnsiRecord(), hostCode); }

uint16_t QSTR_CALL TpiOemToQx(uint32_t hostCode) { return QcvtNtvToQx(&loadedOemRecord(), hostCode); }

uint16_t QSTR_CALL TpiGetAnsi(uint32_t nativeChar) { return QcvtQxToNtv(&loadedAnsiRecord(), nativeChar); }

uint16_t QSTR_CALL TpiGetOem(uint32_t nativeChar) { return QcvtQxToNtv(&loadedOemRecord(), nativeChar); }

CODEPAGETBL *QSTR_CALL QtpiGetAnsiCodepageTbl(void) {
  ensureRecordsLoaded();
  return &ansiRecord();
}

CODEPAGETBL *QSTR_CALL QtpiGetOemCodepageTbl(void) {
  ensureRecordsLoaded();
  return &oemRecord();
}
