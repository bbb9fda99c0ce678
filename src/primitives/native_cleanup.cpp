// Clean-up transforms of native strings, in place: the byte-safe form and
// the renumbering of the control and attribute codes.
#include "primitives/special_code_pairs.h"
#include "qstr14/strings.h"

namespace {

constexpr uint16_t kFirstFunction = 0xF900;

}  // namespace

uint16_t *QSTR_CALL Q6wstrFixExtChars(uint16_t *s) {
  uint16_t *p = s;
  for (; *p != 0; ++p) {
    if ((*p & 0x00FF) == 0) *p |= 0x00FF;
    if ((*p & 0xFF00) == 0) *p |= 0xFF00;
  }
  *p = 0x00FF;
  return s;
}

void QSTR_CALL Q6wstrUnFixExtChars(uint16_t *s) {
  // The byte-safe form is read as bytes: every byte before the first zero
  // byte that is 0xFF was a zero byte.
  for (auto *byte = reinterpret_cast<uint8_t *>(s); *byte != 0; ++byte) {
    if (*byte == 0xFF) *byte = 0;
  }
}

uint16_t *QSTR_CALL Q6wzFix(uint16_t *s, uint32_t mode) {
  const uint16_t m = static_cast<uint16_t>(mode);
  if (m != 1 && m != 2) return s;
  for (uint16_t *p = s; *p != 0; ++p) {
    if (*p <= kFirstFunction) continue;
    for (const auto &pair : qstr::primitives::kSpecialCodePairs) {
      const uint16_t from = m == 1 ? pair.native : pair.renumbered;
      if (*p == from) {
        *p = m == 1 ? pair.renumbered : pair.native;
        break;
      }
    }
  }
  return s;
}
