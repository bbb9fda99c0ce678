// Whole buffers between host bytes and document streams.
#pragma once

#include <cstdint>

#include "qstr14/codepage.h"

namespace qstr::codepage {

// Host bytes (zero-terminated) to a document stream of at most `size` bytes
// with its terminator (size in the low 16 bits); returns the bytes stored.
// With `doubleByte`, a lead byte and the byte after it are one host code;
// without it the bytes go through the record's stream item table, which
// gives what converting each byte on its own gives.
uint32_t hostToStream(uint8_t *dst, const uint8_t *src, uint32_t size, const CODEPAGETBL &record, bool doubleByte);

// A document stream to host bytes, at most `size` bytes with the terminator
// (size in the low 16 bits); returns the bytes counted. The stream is
// stripped of all but characters, spaces, line breaks and paragraph ends,
// and its character groups converted, in one walk over the stream: the
// result of stripping into `dst` first and converting there.
uint32_t streamToHost(uint8_t *dst, const uint8_t *src, uint32_t size, const CODEPAGETBL &record);

}  // namespace qstr::codepage
