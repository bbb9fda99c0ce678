// Prints what the host layer's code page services answer for every byte,
// every double-byte code and every UTF-16 unit of a few code pages, one fact
// a line, so that the portable backend and the Windows backend (under Wine)
// can be compared line by line.
#include <cstdio>

#include "base/double_byte_pages.h"
#include "host/host.h"

namespace {

constexpr unsigned kCodePages[] = {1252, 437, 850, 932, 936, 949, 950};

void dumpBytes(unsigned codePage) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    const uint8_t b = static_cast<uint8_t>(byte);
    char16_t unit = 0;
    if (qstr::host::charToUnicode(codePage, &b, 1, &unit) == 1) {
      std::printf("%u byte %02X U+%04X\n", codePage, byte, static_cast<unsigned>(unit));
    }
  }
}

void dumpDoubleBytes(unsigned codePage) {
  for (unsigned code = 0x8100; code <= 0xFEFF; ++code) {
    const uint8_t pair[2] = {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
    char16_t unit = 0;
    if (qstr::host::charToUnicode(codePage, pair, 2, &unit) == 1) {
      std::printf("%u pair %04X U+%04X\n", codePage, code, static_cast<unsigned>(unit));
    }
  }
}

void dumpUnits(unsigned codePage) {
  for (unsigned unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    uint8_t bytes[2] = {};
    const int count = qstr::host::unicodeToChar(codePage, static_cast<char16_t>(unit), bytes);
    if (count == 1) std::printf("%u unit U+%04X %02X\n", codePage, unit, bytes[0]);
    if (count == 2) std::printf("%u unit U+%04X %02X%02X\n", codePage, unit, bytes[0], bytes[1]);
  }
}

}  // namespace

// The lead-byte test answers for the system's ANSI code page only; the dump
// gives it for that page (the Windows run takes the page from Wine's locale).
int main() {
  const unsigned ansi = qstr::host::ansiCodePage();
  for (unsigned byte = 0x80; byte < 256; ++byte) {
    if (qstr::host::isDbcsLeadByte(static_cast<uint8_t>(byte))) std::printf("ansi %u lead %02X\n", ansi, byte);
  }
  for (unsigned codePage : kCodePages) {
    dumpBytes(codePage);
    if (qstr::base::isHostDoubleByteCodePage(codePage)) dumpDoubleBytes(codePage);
    dumpUnits(codePage);
  }
  return 0;
}
