// Clean-up of byte strings for menus: mnemonic removal and truncation that
// keeps double-byte characters whole.
#include "host/host.h"
#include "qstr14/strings.h"

namespace {

// A byte widened to 16 bits with its sign, as the mnemonic code takes it.
uint16_t signExtended(char byte) { return static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(byte))); }

// The code of an Asian-style "(&X)" suffix: 0x2800 + X, or 0xFF00 + X for
// X of 0x80 and above. X is the byte two places after the "(".
uint16_t parenthesisCode(const char *open) {
  const char x = open[1] != '\0' ? open[2] : '\0';
  const auto byte = static_cast<uint8_t>(x);
  return static_cast<uint16_t>(byte < 0x80 ? 0x2800 + byte : 0xFF00 + byte);
}

bool isLeadByte(char c) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(c)); }

}  // namespace

uint16_t QSTR_CALL QstrStripAmpersand(char *dst, const char *src) {
  uint16_t mnemonic = 0;
  while (*src != '\0') {
    if (src[0] == '&' && src[1] == '&') {
      *dst++ = *src++;
      *dst++ = *src++;
    } else if (src[0] == '&') {
      mnemonic = signExtended(src[1]);
      ++src;  // the byte after it is handled on its own
    } else if (src[0] == '(' && qstr::host::dbcsEnabled() != 0) {
      mnemonic = parenthesisCode(src);
      while (*src != '\0' && *src != ')') ++src;
      if (*src == ')') ++src;
    } else {
      *dst++ = *src++;
    }
  }
  *dst = '\0';
  return mnemonic;
}

int32_t QSTR_CALL QMBStrTrunc(char *s, int32_t n) {
  if (qstr::host::dbcsEnabled() == 0) {
    s[n] = '\0';
    return n;
  }
  int32_t kept = 0;
  while (kept < n) {
    if (isLeadByte(s[kept])) {
      if (kept + 2 > n || s[kept + 1] == '\0') break;
      kept += 2;
    } else {
      ++kept;
    }
  }
  s[kept] = '\0';
  return kept;
}
