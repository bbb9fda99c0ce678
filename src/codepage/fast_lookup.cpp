#include "codepage/fast_lookup.h"

#include <array>
#include <vector>

#include "base/build_once.h"
#include "charset/east_asian_placement.h"
#include "charset/per_code_page.h"
#include "codepage/codepage_list.h"
#include "host/host.h"

namespace qstr::codepage {
namespace {

// Slot i < kCodepageListRows is list row i; the last slot is "no tables".
constexpr std::size_t kSlots = kCodepageListRows + 1;

template <typename Table>
using LazyTables = std::array<base::BuiltOnce<Table>, kSlots>;

using ByteNatives = std::array<uint16_t, 256>;
using ByteStreamItems = std::array<charset::StreamItem, 256>;
using NativeHostCodes = std::array<uint16_t, kIndexedNativeEnd>;

LazyTables<ByteNatives> byteNativesTables;
LazyTables<ByteStreamItems> byteStreamItemsTables;
LazyTables<NativeHostCodes> nativeHostCodesTables;

int rangeSlot(const CODEPAGETBL &record) {
  if (record.lowTable == nullptr && record.highTable == nullptr) return kCodepageListRows;
  for (std::size_t row = 0; row < kCodepageListRows; ++row) {
    if (codepageList[row].lowTable == record.lowTable && codepageList[row].highTable == record.highTable) {
      return static_cast<int>(row);
    }
  }
  return -1;
}

int reverseSlot(const CODEPAGETBL &record) {
  if (record.reverseTable == nullptr) return kCodepageListRows;
  for (std::size_t row = 0; row < kCodepageListRows; ++row) {
    if (codepageList[row].reverseTable == record.reverseTable) return static_cast<int>(row);
  }
  return -1;
}

}  // namespace

const uint16_t *singleByteNatives(const CODEPAGETBL &record) {
  const int slot = rangeSlot(record);
  if (slot < 0) return nullptr;
  return byteNativesTables[slot]
      .get([&record] {
        ByteNatives natives;
        for (unsigned b = 0; b < 256; ++b) natives[b] = nativeOfHostCode(record, b, false);
        return natives;
      })
      .data();
}

const charset::StreamItem *singleByteStreamItems(const CODEPAGETBL &record) {
  const int slot = rangeSlot(record);
  if (slot < 0) return nullptr;
  return byteStreamItemsTables[slot]
      .get([&record] {
        const uint16_t *natives = singleByteNatives(record);  // the same slot's table
        ByteStreamItems items;
        for (unsigned b = 0; b < 256; ++b) {
          const auto byte = static_cast<uint8_t>(b);
          if (charset::isPrintableAscii(byte)) {
            items[b] = charset::nativeStreamItem(byte);
          } else if (natives[b] == charset::kNoMapping) {
            items[b] = {};
          } else {
            items[b] = charset::nativeStreamItem(natives[b]);
          }
        }
        return items;
      })
      .data();
}

namespace {

// Range tables hold single bytes only, so a double-byte code's native
// character depends on the code page alone: the East Asian placement, or
// none.
std::vector<uint16_t> placeDoubleByteCodes(uint32_t codePage) {
  const CODEPAGETBL codePageOnly{codePage, 0, nullptr, nullptr, nullptr};
  std::vector<uint16_t> natives(0x10000 - kFirstDoubleByteCode);
  for (uint32_t code = kFirstDoubleByteCode; code <= 0xFFFF; ++code) {
    natives[code - kFirstDoubleByteCode] = nativeOfHostCode(codePageOnly, code, true);
  }
  return natives;
}

const std::vector<uint16_t> &doubleByteNativesOf(uint32_t codePage) {
  static charset::PerCodePage<std::vector<uint16_t>> natives(placeDoubleByteCodes);
  return natives(codePage);
}

}  // namespace

const uint16_t *doubleByteNatives(const CODEPAGETBL &record) {
  if (!charset::isEastAsianCodePage(record.toQxCodepage) || host::dbcsEnabled() == 0) return nullptr;
  return doubleByteNativesOf(record.toQxCodepage).data();
}

namespace {

std::array<bool, 256> askLeadBytes(uint32_t) {
  std::array<bool, 256> leadBytes{};
  for (unsigned b = 0; b < 256; ++b) leadBytes[b] = host::isDbcsLeadByte(static_cast<uint8_t>(b));
  return leadBytes;
}

const std::array<bool, 256> &leadBytesOf(uint32_t codePage) {
  static charset::PerCodePage<std::array<bool, 256>> leadBytes(askLeadBytes);
  return leadBytes(codePage);
}

}  // namespace

const bool *ansiLeadBytes() { return leadBytesOf(host::ansiCodePage()).data(); }

const uint16_t *hostCodesOfNatives(const CODEPAGETBL &record) {
  if (charset::isEastAsianCodePage(record.fromQxCodepage) && host::dbcsEnabled()) return nullptr;
  const int slot = reverseSlot(record);
  if (slot < 0) return nullptr;
  return nativeHostCodesTables[slot]
      .get([&record] {
        const CODEPAGETBL tableOnly{0, 0, nullptr, nullptr, record.reverseTable};
        NativeHostCodes codes;
        for (unsigned n = 0; n < kIndexedNativeEnd; ++n) codes[n] = QcvtQxToNtv(&tableOnly, n);
        return codes;
      })
      .data();
}

}  // namespace qstr::codepage
