// Direct lookup tables for the single-character conversions of a code page
// record, built once per list row on first use. They give exactly what
// QcvtNtvToQx and QcvtQxToNtv give, without the per-character walk of the
// record's range and reverse tables.
#pragma once

#include <cstdint>

#include "charset/stream_grammar.h"
#include "qstr14/codepage.h"

namespace qstr::codepage {

// QcvtNtvToQx with the double-byte rules' question answered by the caller.
uint16_t nativeOfHostCode(const CODEPAGETBL &record, unsigned hostCode, bool doubleByteRules);

// QcvtNtvToQx(record, b) for every single byte b, when the record's range
// tables are those of a list row (or both null); null otherwise. Single
// bytes never take the double-byte rules, so the table holds whatever the
// system's double-byte support.
const uint16_t *singleByteNatives(const CODEPAGETBL &record);

// The document stream item of every single byte through the record, when
// it has a byte table (singleByteNatives); null otherwise. A printable
// ASCII byte stands for itself; any other byte becomes the item of its
// native character, or nothing (length 0) when it has none.
const charset::StreamItem *singleByteStreamItems(const CODEPAGETBL &record);

// QcvtNtvToQx(record, code) for every host code from 0x8000 (the double-byte
// codes: no code page has a lead byte below 0x81), indexed from 0x8000, when
// the double-byte rules apply to the record's code page; null otherwise.
inline constexpr uint32_t kFirstDoubleByteCode = 0x8000;
const uint16_t *doubleByteNatives(const CODEPAGETBL &record);

// isDbcsLeadByte for every byte, asked of the host once for its ANSI code
// page.
const bool *ansiLeadBytes();

// Index of the table below: native characters of sets 0 to 14.
inline constexpr uint16_t kIndexedNativeEnd = 0x0F00;

// QcvtQxToNtv(record, n) for every native character n below 0x0F00, when
// the record's reverse table is a list row's (or null) and the double-byte
// rules do not apply to it (a code page other than the six, or a system
// without double-byte support); null otherwise.
const uint16_t *hostCodesOfNatives(const CODEPAGETBL &record);

// Host codes to native characters through a record, by the direct table
// where there is one. The record must not change while this is in use.
class HostToNative {
 public:
  explicit HostToNative(const CODEPAGETBL &record)
      : record_(&record), bytes_(singleByteNatives(record)), doubleBytes_(doubleByteNatives(record)) {}
  uint16_t operator()(uint32_t hostCode) const {
    if (hostCode < 256 && bytes_ != nullptr) return bytes_[hostCode];
    if (hostCode >= kFirstDoubleByteCode && hostCode <= 0xFFFF && doubleBytes_ != nullptr) {
      return doubleBytes_[hostCode - kFirstDoubleByteCode];
    }
    return QcvtNtvToQx(record_, hostCode);
  }

 private:
  const CODEPAGETBL *record_;
  const uint16_t *bytes_;
  const uint16_t *doubleBytes_;
};

// Native characters to host codes through a record, by the direct table
// where there is one. The record must not change while this is in use.
class NativeToHost {
 public:
  explicit NativeToHost(const CODEPAGETBL &record) : record_(&record), codes_(hostCodesOfNatives(record)) {}
  uint16_t operator()(uint16_t native) const {
    return native < kIndexedNativeEnd && codes_ != nullptr ? codes_[native] : QcvtQxToNtv(record_, native);
  }

 private:
  const CODEPAGETBL *record_;
  const uint16_t *codes_;
};

}  // namespace qstr::codepage
