// Byte strings (ANSI or OEM) to native strings.
//
// On a double-byte system the walk runs forward, joining a lead byte and
// its trail byte into one host code, through a temporary copy when the
// source lies inside the destination. Elsewhere every byte is one character
// and the walk runs backward, from the last byte to the first, so that a
// destination at the source's own address converts in place without any
// allocation.
#include "codepage/fast_lookup.h"
#include "codepage/state.h"
#include "host/host.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "simd/table_lookup.h"

namespace {

using qstr::codepage::HostToNative;
constexpr uint32_t kNoLimit = 0xFFFFFFFF;

using qstr::codepage::loadedAnsiRecord;
using qstr::codepage::loadedOemRecord;

// A zero-filled copy of `src` in movable global memory, locked for reading;
// released by the destructor.
class TemporaryCopy {
 public:
  explicit TemporaryCopy(const char *src, uint32_t length) {
    handle_ = qstr::host::globalAlloc(length + 1u);
    if (handle_ == nullptr) return;
    data_ = static_cast<char *>(qstr::host::globalLock(handle_));
    if (data_ != nullptr) wstrcpy(data_, src);
  }
  ~TemporaryCopy() {
    if (data_ != nullptr) qstr::host::globalUnlock(handle_);
    if (handle_ != nullptr) qstr::host::globalFree(handle_);
  }
  TemporaryCopy(const TemporaryCopy &) = delete;
  TemporaryCopy &operator=(const TemporaryCopy &) = delete;
  const char *data() const { return data_; }

 private:
  qstr::host::GlobalHandle handle_ = nullptr;
  char *data_ = nullptr;
};

// Forward walk: at most `limit` characters (a double-byte character counts
// once). A lead byte just before the terminator is dropped.
void convertForward(const uint8_t *src, uint16_t *dst, uint32_t limit, const HostToNative &convert) {
  const bool *leadBytes = qstr::codepage::ansiLeadBytes();
  uint32_t stored = 0;
  while (stored < limit && *src != 0) {
    uint32_t hostCode = *src++;
    if (leadBytes[hostCode]) {
      if (*src == 0) break;
      hostCode = hostCode << 8 | *src++;
    }
    dst[stored++] = convert(hostCode);
  }
  dst[stored] = 0;
}

// Backward walk over the first `count` bytes, terminator first, through the
// record's byte table when it has one.
void convertBackward(const uint8_t *src, uint16_t *dst, uint32_t count, const CODEPAGETBL &record) {
  dst[count] = 0;
  if (const uint16_t *table = qstr::codepage::singleByteNatives(record)) {
    qstr::simd::bytesThroughTable(table, src, dst, count);
    return;
  }
  for (uint32_t i = count; i > 0; --i) dst[i - 1] = QcvtNtvToQx(&record, src[i - 1]);
}

// `limit` is the number of characters to convert at most (kNoLimit: all).
int32_t bytesToNative(const char *src, uint16_t *dst, uint32_t limit, const CODEPAGETBL &record) {
  const uint32_t length = wstrlen(src);
  const uint32_t count = length < limit ? length : limit;
  if (count == 0) {  // nothing to convert: no table to look up
    dst[0] = 0;
    return 1;
  }
  if (qstr::host::dbcsEnabled() == 0) {
    convertBackward(reinterpret_cast<const uint8_t *>(src), dst, count, record);
    return 1;
  }
  const HostToNative convert(record);
  const char *dstBytes = reinterpret_cast<const char *>(dst);
  if (dstBytes <= src && src <= dstBytes + count) {
    TemporaryCopy copy(src, length);
    if (copy.data() == nullptr) return 0;
    convertForward(reinterpret_cast<const uint8_t *>(copy.data()), dst, count, convert);
    return 1;
  }
  convertForward(reinterpret_cast<const uint8_t *>(src), dst, count, convert);
  return 1;
}

}  // namespace

int32_t QSTR_CALL Q6azTowz(const char *src, uint16_t *dst) { return bytesToNative(src, dst, kNoLimit, loadedAnsiRecord()); }

uint16_t QSTR_CALL Q6ozTowz(const char *src, uint16_t *dst) {
  return static_cast<uint16_t>(bytesToNative(src, dst, kNoLimit, loadedOemRecord()));
}

// A capacity of 0 leaves no room even for the terminator: refused with 0.
uint16_t QSTR_CALL Q6azTowzN(const char *src, uint16_t *dst, uint32_t n) {
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) return 0;
  return static_cast<uint16_t>(bytesToNative(src, dst, capacity - 1, loadedAnsiRecord()));
}

uint16_t QSTR_CALL Q6ozTowzN(const char *src, uint16_t *dst, uint32_t n) {
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) return 0;
  return static_cast<uint16_t>(bytesToNative(src, dst, capacity - 1, loadedOemRecord()));
}
