// Plain one-code-at-a-time models of host bytes to document streams and to
// native strings, the oracle of the buffer conversion tests and fuzz targets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "qstr14/codepage.h"

namespace qstr::test {

// The next host code of the terminated `src` at `i` (a lead byte with the
// next byte when `doubleByte`), or -1 for a lead byte right before the end.
inline int32_t nextHostCode(const std::string &src, std::size_t &i, bool doubleByte) {
  uint32_t code = static_cast<uint8_t>(src[i++]);
  if (!doubleByte || !host::isDbcsLeadByte(static_cast<uint8_t>(code))) return static_cast<int32_t>(code);
  if (i == src.size()) return -1;
  return static_cast<int32_t>(code << 8 | static_cast<uint8_t>(src[i++]));
}

// The stream without its terminator: printable ASCII as itself, other codes
// through `record` as a byte (below 0x100) or a character group, unmapped
// codes dropped; a group that does not fit within size - 1 bytes ends it.
inline std::vector<uint8_t> hostBytesToStream(const std::string &src, uint32_t size, bool doubleByte,
                                              const CODEPAGETBL &record) {
  std::vector<uint8_t> out;
  const std::size_t limit = size - 1;
  for (std::size_t i = 0; out.size() < limit && i < src.size();) {
    const auto byte = static_cast<uint8_t>(src[i]);
    const int32_t code = nextHostCode(src, i, doubleByte);
    const uint16_t native = byte >= 0x20 && byte <= 0x7E ? byte : QcvtNtvToQx(&record, code < 0 ? byte : code);
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

// The native string of the first `limit` codes of `src`, unmapped codes
// kept as 0xFFFF; a lead byte right before the end is dropped.
inline std::vector<uint16_t> hostBytesToNatives(const std::string &src, std::size_t limit,
                                                const CODEPAGETBL &record) {
  std::vector<uint16_t> out;
  for (std::size_t i = 0; i < src.size() && out.size() < limit;) {
    const int32_t code = nextHostCode(src, i, host::dbcsEnabled() != 0);
    if (code < 0) break;
    out.push_back(QcvtNtvToQx(&record, static_cast<uint32_t>(code)));
  }
  return out;
}

}  // namespace qstr::test
