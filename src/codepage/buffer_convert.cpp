// Whole buffers between host bytes (ANSI or OEM) and document streams.
#include "charset/stream_grammar.h"
#include "codepage/fast_lookup.h"
#include "codepage/state.h"
#include "host/host.h"
#include "qstr14/codepage.h"

namespace {

using qstr::codepage::HostToNative;
using qstr::codepage::NativeToHost;

using qstr::charset::kCharacterGroup;
using qstr::charset::kCharacterGroupLength;
constexpr uint16_t kNoMapping = 0xFFFF;
constexpr uint32_t kStripForHost = 0x0E;  // keep 0xCC and 0xCF (and 0x80)

using qstr::codepage::loadedAnsiRecord;
using qstr::codepage::loadedOemRecord;

bool isPlainAscii(uint8_t byte) { return byte >= 0x20 && byte <= 0x7E; }

// Stores the native character of a host code at dst[count]: a byte below
// 0x100 as itself, anything else as a character group. False when the group
// does not fit within `limit`.
bool storeNative(uint8_t *dst, uint32_t &count, uint32_t limit, uint16_t native) {
  if (native == kNoMapping) return true;  // dropped
  if (native < 0x100) {
    dst[count++] = static_cast<uint8_t>(native);
    return true;
  }
  if (count + kCharacterGroupLength > limit) return false;
  dst[count++] = kCharacterGroup;
  dst[count++] = static_cast<uint8_t>(native);
  dst[count++] = static_cast<uint8_t>(native >> 8);
  dst[count++] = kCharacterGroup;
  return true;
}

// Host bytes to a document stream; with `doubleByte`, a lead byte and the
// byte after it are one host code. A lead byte just before the terminator
// is converted alone: the terminator is never consumed.
uint32_t hostToStream(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, const CODEPAGETBL &record,
                      bool doubleByte) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  const HostToNative convert(record);
  const bool *leadBytes = doubleByte ? qstr::codepage::ansiLeadBytes() : nullptr;
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  while (count < limit && *src != 0) {
    const uint8_t byte = *src++;
    if (isPlainAscii(byte)) {
      dst[count++] = byte;
      continue;
    }
    uint32_t hostCode = byte;
    if (doubleByte && leadBytes[byte] && *src != 0) hostCode = hostCode << 8 | *src++;
    if (!storeNative(dst, count, limit, convert(hostCode))) break;
  }
  dst[count] = 0;
  return count + 1;
}

// A document stream to host bytes: strips into `dst`, then converts the
// character groups in place (the write position never passes the read
// position). A character without a host code is dropped but still counts
// one byte against the limit.
uint32_t streamToHost(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, const CODEPAGETBL &record) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  const NativeToHost convert(record);
  TpiQxDocStripBuff(dst, src, size, kStripForHost);
  const uint32_t limit = size - 1;
  const uint8_t *read = dst;
  uint8_t *write = dst;
  uint32_t count = 0;
  while (count < limit && *read != 0) {
    if (*read != kCharacterGroup) {
      *write++ = *read++;
      ++count;
      continue;
    }
    const uint16_t code = convert(static_cast<uint16_t>(read[1] | read[2] << 8));
    read += kCharacterGroupLength;
    if (code == kNoMapping) {
      ++count;
    } else if (code < 0x100) {
      *write++ = static_cast<uint8_t>(code);
      ++count;
    } else {
      if (count + 2 > limit) break;
      *write++ = static_cast<uint8_t>(code >> 8);
      *write++ = static_cast<uint8_t>(code);
      count += 2;
    }
  }
  *write = 0;
  return count + 1;
}

const uint8_t *bytes(const char *text) { return reinterpret_cast<const uint8_t *>(text); }

}  // namespace

uint32_t QSTR_CALL str_AnsiToQx(uint8_t *dst, const char *src, uint32_t size) {
  return hostToStream(dst, bytes(src), size, loadedAnsiRecord(), false);
}

uint32_t QSTR_CALL str_OemToQx(uint8_t *dst, const char *src, uint32_t size) {
  return hostToStream(dst, bytes(src), size, loadedOemRecord(), false);
}

// On a double-byte system both records hold the Windows code page, so every
// host code goes through the ANSI record, whichever form is named.
uint32_t QSTR_CALL str_DBCS_OEMorANSItoQX(uint8_t *dst, const char *src, uint32_t size, uint32_t) {
  return hostToStream(dst, bytes(src), size, loadedAnsiRecord(), true);
}

uint32_t QSTR_CALL TpiAnsiToQxBuff(uint8_t *dst, const char *src, uint32_t size) {
  return qstr::host::dbcsEnabled() ? str_DBCS_OEMorANSItoQX(dst, src, size, 0) : str_AnsiToQx(dst, src, size);
}

uint32_t QSTR_CALL TpiOemToQxBuff(uint8_t *dst, const char *src, uint32_t size) {
  return qstr::host::dbcsEnabled() ? str_DBCS_OEMorANSItoQX(dst, src, size, 1) : str_OemToQx(dst, src, size);
}

uint32_t QSTR_CALL TpiQxToAnsiBuff(char *dst, const uint8_t *src, uint32_t size) {
  return streamToHost(reinterpret_cast<uint8_t *>(dst), src, size, loadedAnsiRecord());
}

uint32_t QSTR_CALL TpiQxToOemBuff(char *dst, const uint8_t *src, uint32_t size) {
  return streamToHost(reinterpret_cast<uint8_t *>(dst), src, size, loadedOemRecord());
}
