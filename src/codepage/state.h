// The process-wide code page state: the ANSI and OEM records, the loaded
// flag and the cached Windows code page (internal).
#pragma once

#include <cstdint>

#include "qstr14/codepage.h"

namespace qstr::codepage {

// The library's own records, filled in place. Loading them on first use is
// safe from any thread; a caller that reloads or clears them
// (TpiSetCodepage, str_ClrCodePage) orders that with its other threads.
CODEPAGETBL &ansiRecord();
CODEPAGETBL &oemRecord();

// Loads the records when they are not loaded (str_SetCodePage); other
// threads asking meanwhile wait for the load.
void ensureRecordsLoaded();

// The library's records, loaded first when they are not.
const CODEPAGETBL &loadedAnsiRecord();
const CODEPAGETBL &loadedOemRecord();

// Where a code page choice came from.
enum class CodepageSource { Registry, Country, System };

struct CodepageChoice {
  uint32_t codePage;
  CodepageSource source;
};

// The DOS and Windows code pages as they would be chosen now (registry,
// country ID, system), with where each came from. Neither reads nor fills
// the Windows code page cache.
CodepageChoice chooseDosCodepage();
CodepageChoice chooseWindowsCodepage();

// Forgets the cached Windows code page. Tests only.
void resetCodepageSelection();

// Back to the state at load: records empty, not loaded, no cached Windows
// code page. Tests only.
void resetCodePageState();

}  // namespace qstr::codepage
