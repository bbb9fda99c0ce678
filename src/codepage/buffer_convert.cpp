// Whole buffers between host bytes (ANSI or OEM) and document streams.
#include "codepage/buffer_convert.h"

#include <cstring>

#include "base/no_mapping.h"
#include "charset/stream_grammar.h"
#include "codepage/fast_lookup.h"
#include "codepage/state.h"
#include "codepage/stream_strip.h"
#include "host/host.h"
#include "qstr14/codepage.h"

namespace qstr::codepage {
namespace {

using charset::kCharacterGroup;
using charset::kCharacterGroupLength;
using qstr::base::kNoMapping;
// What host bytes keep of a stream: characters, spaces, line breaks and
// paragraph ends; no attribute groups.
constexpr uint8_t kStripForHost = kKeepLineBreaks | kKeepParagraph | kParagraphToSpace;

// Stores the native character of a host code at dst[count]: a byte below
// 0x100 as itself, anything else as a character group. False when the group
// does not fit within `limit`.
bool storeNative(uint8_t *dst, uint32_t &count, uint32_t limit, uint16_t native) {
  if (native == kNoMapping) return true;  // dropped
  const charset::StreamItem item = charset::nativeStreamItem(native);
  if (count + item.length > limit) return false;
  for (unsigned i = 0; i < item.length; ++i) dst[count++] = item.bytes[i];
  return true;
}

// Batches of input bytes through the item table while a batch's largest
// output still fits: each byte's item is staged four bytes at a time (the
// bytes past its length are overwritten by the next) and the count moves
// by its length, so no branch depends on what the byte is; the batch's
// output is then copied exactly. Stops before the terminator.
void storeItemsInBatches(uint8_t *dst, uint32_t &count, const uint8_t *&src, uint32_t limit,
                         const charset::StreamItem *items) {
  constexpr uint32_t kBatch = 64;
  constexpr uint32_t kLargestOutput = kBatch * kCharacterGroupLength;
  uint8_t staged[kLargestOutput];
  while (count + kLargestOutput <= limit) {
    uint32_t produced = 0, taken = 0;
    for (; taken < kBatch && src[taken] != 0; ++taken) {
      const charset::StreamItem &item = items[src[taken]];
      std::memcpy(staged + produced, item.bytes, kCharacterGroupLength);
      produced += item.length;
    }
    std::memcpy(dst + count, staged, produced);
    count += produced;
    src += taken;
    if (taken < kBatch) return;  // at the terminator
  }
}

// Writes the host code of a character group's native character: one byte,
// two (lead byte first), or none when it has no host code, which still
// counts one byte. False, with nothing written, when two bytes do not fit
// within `limit`.
bool storeHostCode(uint8_t *&write, uint32_t &count, uint32_t limit, uint16_t code) {
  if (code == kNoMapping) {
    ++count;
  } else if (code < 0x100) {
    *write++ = static_cast<uint8_t>(code);
    ++count;
  } else {
    if (count + 2 > limit) return false;
    *write++ = static_cast<uint8_t>(code >> 8);
    *write++ = static_cast<uint8_t>(code);
    count += 2;
  }
  return true;
}

uint16_t groupCharacter(const uint8_t *group) { return charset::readLittleEndian16(group + 1); }

// Strips and converts in one walk: what stripping into the destination and
// converting there gives (every kept group is a character group: no
// attribute groups are kept). `convert` is a copy of the caller's, so that
// its table stays in a register while the walk writes.
uint32_t convertWhileStripping(uint8_t *dst, const uint8_t *src, uint32_t limit, const NativeToHost convert) {
  uint8_t *write = dst;
  uint32_t count = 0;
  walkStrippedItems(src, limit, kStripForHost, [&](const uint8_t *item, uint16_t length, uint32_t) {
    if (length > 1) return storeHostCode(write, count, limit, convert(groupCharacter(item)));
    *write++ = item[0];
    ++count;
    return true;
  });
  *write = 0;
  return count + 1;
}

}  // namespace

// A lead byte just before the terminator is converted alone: the terminator
// is never consumed.
uint32_t hostToStream(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, const CODEPAGETBL &record, bool doubleByte) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  const uint32_t limit = size - 1;
  uint32_t count = 0;
  if (!doubleByte) {
    if (const charset::StreamItem *items = singleByteStreamItems(record)) {
      storeItemsInBatches(dst, count, src, limit, items);
    }
  }
  const HostToNative convert(record);
  const bool *leadBytes = doubleByte ? ansiLeadBytes() : nullptr;
  while (count < limit && *src != 0) {
    const uint8_t byte = *src++;
    if (charset::isPrintableAscii(byte)) {
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

// The write position never passes the read position, so `dst` may be
// `src`.
uint32_t streamToHost(uint8_t *dst, const uint8_t *src, uint32_t sizeArg, const CODEPAGETBL &record) {
  const uint32_t size = sizeArg & 0xFFFF;
  if (size == 0) return 0;
  return convertWhileStripping(dst, src, size - 1, NativeToHost(record));
}

}  // namespace qstr::codepage

namespace {

using qstr::codepage::hostToStream;
using qstr::codepage::loadedAnsiRecord;
using qstr::codepage::loadedOemRecord;
using qstr::codepage::streamToHost;

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
