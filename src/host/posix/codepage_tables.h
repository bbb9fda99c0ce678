// Per-code-page conversion tables of the portable backend, built lazily
// from the system's iconv on first use of a code page and kept for the rest
// of the process, so that converting one character is an array index.
#pragma once

#include <cstdint>
#include <memory>

namespace qstr::host::posix {

inline constexpr char16_t kNoUnit = 0xFFFF;
inline constexpr uint16_t kNoBytes = 0;

struct CodePageTables {
  bool doubleByte = false;
  bool leadByte[256] = {};
  // Single bytes: the UTF-16 unit of each byte, kNoUnit when undefined.
  char16_t singleToUnicode[256] = {};
  // Double bytes, indexed by lead << 8 | trail; empty for single-byte pages.
  std::unique_ptr<char16_t[]> doubleToUnicode;
  // UTF-16 unit → the code that decodes back to it: a byte (below 0x100) or
  // lead << 8 | trail; kNoBytes when none (U+0000 is always byte 0).
  std::unique_ptr<uint16_t[]> unicodeToCode;
};

// What the backend knows of each code page it converts, generated from the
// code page table (tools/gen/data/codepage_rows.txt).
struct ByteRange {
  uint8_t first;
  uint8_t last;  // a range whose first byte is 0 is empty
};

struct CodePageFacts {
  uint32_t codePage;  // the Windows number
  const char *iconvName;
  ByteRange leadBytes[2];  // double-byte pages: the bytes that open a pair
};

// A user-defined area of a double-byte page, mapped onto the Private Use
// Area in order (lead byte by lead byte, trail bytes ascending), as the host
// system maps it.
struct UserDefinedBlock {
  uint32_t codePage;
  ByteRange leads;
  ByteRange trails[2];
  char16_t firstUnit;
};

struct C1Bytes {
  uint32_t codePage;
  uint8_t first;
  uint8_t last;
};

#include "host/posix/codepage_facts.inc"

// The tables of a code page, or null when the system cannot convert it.
// Thread-safe; the result stays valid for the life of the process.
const CodePageTables *codePageTables(uint32_t codePage);

// The iconv name of a Windows code page number, or null when unsupported.
const char *iconvName(uint32_t codePage);

}  // namespace qstr::host::posix
