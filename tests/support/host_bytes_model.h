// A plain one-code-at-a-time model of host bytes to document streams, the
// oracle of the buffer conversion tests and of their fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "qstr14/codepage.h"

namespace qstr::test {

// The stream of `src` without its terminator: printable ASCII as itself,
// other codes (a lead byte with the next when `doubleByte`) through
// `record` as a byte below 0x100 or a character group, unmapped codes
// dropped; a group that does not fit within size - 1 bytes ends it.
inline std::vector<uint8_t> hostBytesToStream(const std::string &src, uint32_t size, bool doubleByte,
                                              const CODEPAGETBL &record) {
  std::vector<uint8_t> out;
  const std::size_t limit = size - 1;
  for (std::size_t i = 0; out.size() < limit && i < src.size();) {
    uint32_t code = static_cast<uint8_t>(src[i++]);
    if (doubleByte && host::isDbcsLeadByte(static_cast<uint8_t>(code)) && i < src.size()) {
      code = code << 8 | static_cast<uint8_t>(src[i++]);
    }
    const auto native = static_cast<uint16_t>(code >= 0x20 && code <= 0x7E ? code : QcvtNtvToQx(&record, code));
    if (native == 0xFFFF) continue;
    if (native < 0x100) {
      out.push_back(static_cast<uint8_t>(native));
      continue;
    }
    if (out.size() + 4 > limit) break;
    out.insert(out.end(), {0xF0, static_cast<uint8_t>(native), static_cast<uint8_t>(native >> 8), 0xF0});
  }
  return out;
}

}  // namespace qstr::test
