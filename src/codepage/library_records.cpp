// Single-character conversion through the library's own ANSI and OEM
// records, loading them on first use.
#include "codepage/state.h"

using namespace qstr::codepage;

uint16_t QSTR_CALL TpiAnsiToQx(uint32_t hostCode) {
  ensureRecordsLoaded();
  return QcvtNtvToQx(&ansiRecord(), hostCode);
}

uint16_t QSTR_CALL TpiOemToQx(uint32_t hostCode) {
  ensureRecordsLoaded();
  return QcvtNtvToQx(&oemRecord(), hostCode);
}

uint16_t QSTR_CALL TpiGetAnsi(uint32_t nativeChar) {
  ensureRecordsLoaded();
  return QcvtQxToNtv(&ansiRecord(), nativeChar);
}

uint16_t QSTR_CALL TpiGetOem(uint32_t nativeChar) {
  ensureRecordsLoaded();
  return QcvtQxToNtv(&oemRecord(), nativeChar);
}

CODEPAGETBL *QSTR_CALL QtpiGetAnsiCodepageTbl(void) {
  ensureRecordsLoaded();
  return &ansiRecord();
}

CODEPAGETBL *QSTR_CALL QtpiGetOemCodepageTbl(void) {
  ensureRecordsLoaded();
  return &oemRecord();
}
