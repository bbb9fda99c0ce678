// Portable backend: code page conversion over the lazily built tables.
#include <string>
#include "host/host.h"
#include "host/posix/codepage_tables.h"

namespace qstr::host {
namespace {

using posix::CodePageTables;

// The tables of `codePage`, remembering the last one this thread used so
// that a run of conversions in one code page skips the lookup.
const CodePageTables *tablesFor(uint32_t codePage) {
  thread_local uint32_t lastCodePage = 0;
  thread_local const CodePageTables *lastTables = nullptr;
  if (codePage != lastCodePage || lastTables == nullptr) {
    lastTables = posix::codePageTables(codePage);
    lastCodePage = codePage;
  }
  return lastTables;
}

// The unit of the character at `src` (one or two bytes) and how many bytes
// it takes; a lead byte with no valid trail takes one byte and gives no unit.
char16_t decodeAt(const CodePageTables &tables, const uint8_t *src, std::size_t left, std::size_t &used) {
  used = 1;
  if (tables.leadByte[src[0]]) {
    if (left < 2) return posix::kNoUnit;
    char16_t unit = tables.doubleToUnicode[src[0] << 8 | src[1]];
    if (unit != posix::kNoUnit) used = 2;
    return unit;
  }
  return tables.singleToUnicode[src[0]];
}

std::size_t lengthOf(const char16_t *text) {
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

}  // namespace

bool isDbcsLeadByte(uint8_t byte) {
  const CodePageTables *tables = tablesFor(ansiCodePage());
  return tables != nullptr && tables->leadByte[byte];
}

int charToUnicode(uint32_t codePage, const uint8_t *bytes, int count, char16_t *unit) {
  const CodePageTables *tables = tablesFor(codePage);
  if (tables == nullptr || count < 1 || count > 2) return 0;
  char16_t result;
  if (count == 2) {
    if (!tables->leadByte[bytes[0]]) return 0;
    result = tables->doubleToUnicode[bytes[0] << 8 | bytes[1]];
  } else {
    result = tables->singleToUnicode[bytes[0]];
  }
  if (result == posix::kNoUnit) return 0;
  *unit = result;
  return 1;
}

int unicodeToChar(uint32_t codePage, char16_t unit, uint8_t out[2]) {
  const CodePageTables *tables = tablesFor(codePage);
  if (tables == nullptr) return 0;
  if (unit == 0) {
    out[0] = 0;
    return 1;
  }
  uint16_t code = tables->unicodeToCode[unit];
  if (code == posix::kNoBytes) return 0;
  if (code < 0x100) {
    out[0] = static_cast<uint8_t>(code);
    return 1;
  }
  out[0] = static_cast<uint8_t>(code >> 8);
  out[1] = static_cast<uint8_t>(code);
  return 2;
}

int multiByteToWideChar(uint32_t codePage, const char *src, int srcLength, char16_t *dst,
                        int dstCapacity) {
  const CodePageTables *tables = tablesFor(codePage);
  if (tables == nullptr || src == nullptr || dstCapacity < 0) return 0;
  const auto *bytes = reinterpret_cast<const uint8_t *>(src);
  std::size_t left = srcLength < 0 ? std::char_traits<char>::length(src) + 1 : static_cast<std::size_t>(srcLength);
  int written = 0;
  while (left > 0) {
    std::size_t used;
    char16_t unit = decodeAt(*tables, bytes, left, used);
    if (unit == posix::kNoUnit) unit = u'?';
    if (dstCapacity != 0) {
      if (written == dstCapacity) return 0;  // no room: the host reports failure
      dst[written] = unit;
    }
    ++written;
    bytes += used;
    left -= used;
  }
  return written;
}

int wideCharToMultiByte(uint32_t codePage, const char16_t *src, int srcLength, char *dst,
                        int dstCapacity) {
  const CodePageTables *tables = tablesFor(codePage);
  if (tables == nullptr || src == nullptr || dstCapacity < 0) return 0;
  std::size_t count = srcLength < 0 ? lengthOf(src) + 1 : static_cast<std::size_t>(srcLength);
  int written = 0;
  for (std::size_t i = 0; i < count; ++i) {
    uint8_t bytes[2];
    int produced = unicodeToChar(codePage, src[i], bytes);
    if (produced == 0) {
      bytes[0] = '?';
      produced = 1;
    }
    if (dstCapacity != 0 && written + produced > dstCapacity) return 0;
    for (int b = 0; b < produced; ++b) {
      if (dstCapacity != 0) dst[written] = static_cast<char>(bytes[b]);
      ++written;
    }
  }
  return written;
}

}  // namespace qstr::host
