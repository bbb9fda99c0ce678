// Conversions between the ANSI code page and UTF-16 for registry names and
// string values. Text that is all ASCII converts unit for byte without asking
// the host (every ANSI code page agrees with ASCII there); other text goes
// through the host's conversion with the ANSI code page.
#pragma once

#include <cstddef>

#include "registry/heap_block.h"

namespace qstr::registry {

// Converts `length` bytes (zero bytes included, as characters) into `out`,
// which has room for `length` units. Returns the units written, or -1 when
// the host cannot convert the text.
long ansiToUtf16(const char *text, std::size_t length, char16_t *out);

// Converts `length` units into a zero-terminated ANSI string in a new heap
// block, `out`. Returns the bytes before the terminator, or -1 when the
// text cannot be converted or the block not allocated.
long utf16ToAnsi(const char16_t *text, std::size_t length, HeapBlock &out);

}  // namespace qstr::registry
