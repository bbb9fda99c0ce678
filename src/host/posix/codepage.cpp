// Portable backend: code page conversion. Not available yet: every
// conversion reports failure, so callers take their no-mapping paths.
#include "host/host.h"

namespace qstr::host {

bool isDbcsLeadByte(uint8_t) { return false; }

int charToUnicode(uint32_t, const uint8_t *, int, char16_t *) { return 0; }

int unicodeToChar(uint32_t, char16_t, uint8_t *) { return 0; }

int multiByteToWideChar(uint32_t, const char *, int, char16_t *, int) { return 0; }

int wideCharToMultiByte(uint32_t, const char16_t *, int, char *, int) { return 0; }

}  // namespace qstr::host
