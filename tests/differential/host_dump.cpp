// The host's answers for every byte, double-byte code and UTF-16 unit of a few code pages, one a
// line, to compare the portable and the Windows backend (under Wine).
#include <cstdio>
#include <initializer_list>

#include "base/double_byte_pages.h"
#include "host/host.h"

namespace {

void dumpCodes(unsigned codePage, unsigned first, unsigned last, int width, const char *label) {
  for (unsigned code = first; code <= last; ++code) {
    const uint8_t bytes[2] = {uint8_t(width == 2 ? code >> 8 : code), uint8_t(code)};
    char16_t unit = 0;
    if (qstr::host::charToUnicode(codePage, bytes, width, &unit) == 1) {
      std::printf("%u %s %0*X U+%04X\n", codePage, label, 2 * width, code, unsigned(unit));
    }
  }
}

}  // namespace

// Lead bytes answer for the ANSI code page only (under Wine, that of its locale).
int main() {
  const unsigned ansi = qstr::host::ansiCodePage();
  for (unsigned byte = 0x80; byte < 256; ++byte) {
    if (qstr::host::isDbcsLeadByte(uint8_t(byte))) std::printf("ansi %u lead %02X\n", ansi, byte);
  }
  for (unsigned codePage : {1252, 437, 850, 932, 936, 949, 950}) {
    dumpCodes(codePage, 0, 255, 1, "byte");
    if (qstr::base::isHostDoubleByteCodePage(codePage)) dumpCodes(codePage, 0x8100, 0xFEFF, 2, "pair");
    for (unsigned unit = 1; unit < 0x10000; ++unit) {
      if (unit >= 0xD800 && unit <= 0xDFFF) continue;
      uint8_t bytes[2] = {};
      const int count = qstr::host::unicodeToChar(codePage, char16_t(unit), bytes);
      if (count == 1) std::printf("%u unit U+%04X %02X\n", codePage, unit, bytes[0]);
      if (count == 2) std::printf("%u unit U+%04X %02X%02X\n", codePage, unit, bytes[0], bytes[1]);
    }
  }
  return 0;
}
