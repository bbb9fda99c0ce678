// Native strings to byte strings (ANSI or OEM).
#include "base/no_mapping.h"
#include "charset/stream_grammar.h"
#include "codepage/fast_lookup.h"
#include "codepage/state.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "simd/unit_count.h"

namespace {

using qstr::codepage::NativeToHost;

using qstr::codepage::loadedAnsiRecord;
using qstr::codepage::loadedOemRecord;

using qstr::base::kNoMapping;
constexpr uint8_t kReplacement = 0x80;  // a character without a host code
constexpr uint32_t kWriteReplacement = 0x01;
constexpr uint32_t kParagraphAsSpace = 0x02;
constexpr uint32_t kLineEndsAsCrLf = 0x04;
constexpr uint32_t kMeasureOnly = 0x08;

// Collects output bytes, or only counts them when measuring.
class ByteSink {
 public:
  ByteSink(char *dst, bool measureOnly) : dst_(measureOnly ? nullptr : dst) {}
  void put(uint8_t byte) {
    if (dst_ != nullptr) dst_[count_] = static_cast<char>(byte);
    ++count_;
  }
  void terminate() {
    if (dst_ != nullptr) dst_[count_] = '\0';
  }
  uint32_t count() const { return count_; }

  // Puts the characters from src[i] on, up to `end`, while each has a
  // one-byte code in the record's direct table `codes`; returns where it
  // stopped. Most text is such a run, which needs no other test.
  uint32_t putSingleByteRun(const uint16_t *src, uint32_t i, uint32_t end, const uint16_t *codes) {
    for (; i < end; ++i) {
      const uint16_t native = src[i];
      if (native >= qstr::codepage::kIndexedNativeEnd || codes[native] > 0xFF) break;
      if (dst_ != nullptr) dst_[count_] = static_cast<char>(codes[native]);
      ++count_;
    }
    return i;
  }

 private:
  char *dst_;
  uint32_t count_ = 0;
};

// Writes one native character's host code: lead byte first for a
// double-byte code, the replacement byte (or nothing) when there is none.
void putHostCode(ByteSink &sink, uint16_t code, bool replaceMissing) {
  if (code == kNoMapping) {
    if (replaceMissing) sink.put(kReplacement);
    return;
  }
  if (code > 0xFF) sink.put(static_cast<uint8_t>(code >> 8));
  sink.put(static_cast<uint8_t>(code));
}

uint32_t elementCount(const uint16_t *s) { return qstr::simd::unitCount(s, UINT32_MAX); }

// The first `count` characters, no mapping giving the replacement byte.
void nativeToBytes(const uint16_t *src, char *dst, uint32_t count, const CODEPAGETBL &record) {
  const NativeToHost convert(record);
  ByteSink sink(dst, false);
  for (uint32_t i = 0; i < count; ++i) putHostCode(sink, convert(src[i]), true);
  sink.terminate();
}

uint32_t limitedCount(const uint16_t *src, uint32_t n) {
  const uint32_t length = elementCount(src);
  return length >= n ? n - 1 : length;
}

}  // namespace

uint32_t QSTR_CALL Q6wzToazEx(const uint16_t *src, char *dst, uint32_t flagsArg) {
  const uint8_t flags = static_cast<uint8_t>(flagsArg);
  ByteSink sink(dst, flags & kMeasureOnly);
  if (src[0] == 0) {  // nothing to convert: no record or table to look up
    sink.terminate();
    return 0;
  }
  const CODEPAGETBL &record = loadedAnsiRecord();
  const NativeToHost toAnsi(record);
  const uint16_t *codes = qstr::codepage::hostCodesOfNatives(record);
  const uint32_t count = elementCount(src);
  for (uint32_t i = 0; i < count; ++i) {
    if (codes != nullptr && (i = sink.putSingleByteRun(src, i, count, codes)) == count) break;
    const uint16_t native = src[i];
    if (native == qstr::charset::kNativeLineFeed) {
      if (flags & kLineEndsAsCrLf) sink.put(0x0D);
      sink.put(0x0A);
    } else if (native == qstr::charset::kNativeParagraph) {
      if (flags & kParagraphAsSpace) {
        sink.put(0x20);
      } else {
        sink.put(0x0D);
        if (flags & kLineEndsAsCrLf) sink.put(0x0A);
      }
    } else {
      putHostCode(sink, toAnsi(native), flags & kWriteReplacement);
    }
  }
  sink.terminate();
  return sink.count();
}

uint32_t QSTR_CALL Q6wzToaz(const uint16_t *src, char *dst) { return Q6wzToazEx(src, dst, kWriteReplacement); }

// A limit of 0 leaves no room even for the terminator: refused with 0.
uint16_t QSTR_CALL Q6wzToazN(const uint16_t *src, char *dst, uint32_t n) {
  const uint32_t limit = n & 0xFFFF;
  if (limit == 0) return 0;
  nativeToBytes(src, dst, limitedCount(src, limit), loadedAnsiRecord());
  return 1;
}

uint16_t QSTR_CALL Q6wzTooz(const uint16_t *src, char *dst) {
  nativeToBytes(src, dst, elementCount(src), loadedOemRecord());
  return 1;
}

uint16_t QSTR_CALL Q6wzToozN(const uint16_t *src, char *dst, uint32_t n) {
  const uint32_t limit = n & 0xFFFF;
  if (limit == 0) return 0;
  nativeToBytes(src, dst, limitedCount(src, limit), loadedOemRecord());
  return 1;
}

uint16_t QSTR_CALL Q6wzToazNB(const uint16_t *src, char *dst, uint32_t capacityArg) {
  const uint32_t capacity = capacityArg & 0xFFFF;
  if (src == nullptr || dst == nullptr || capacity == 0) return 0;
  const NativeToHost toAnsi(loadedAnsiRecord());
  uint32_t room = capacity;  // bytes left, the terminator's included
  uint32_t count = 0;
  for (; --room > 0 && *src != 0; ++src) {
    const uint16_t code = toAnsi(*src);
    if (code == kNoMapping) {
      dst[count++] = static_cast<char>(kReplacement);
    } else if (code > 0xFF) {
      if (room < 2) break;  // never split a double-byte character
      dst[count++] = static_cast<char>(code >> 8);
      --room;
      dst[count++] = static_cast<char>(code);
    } else {
      dst[count++] = static_cast<char>(code);
    }
  }
  dst[count] = '\0';
  return 1;
}
