#include "codepage/fast_lookup.h"

#include <array>
#include <atomic>
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

// The list row whose tables a record holds, found by the tables'
// addresses. The last row found is remembered: a program converts through
// one or two records, and the scan of the list would otherwise be most of
// the cost of a short string. The rows never change, so a relaxed load
// of the remembered row is enough.
template <typename Same>
int rowOf(std::atomic<const CodepageListRow *> &last, Same &&same) {
  const CodepageListRow *remembered = last.load(std::memory_order_relaxed);
  if (same(*remembered)) return static_cast<int>(remembered - codepageList);
  for (std::size_t row = 0; row < kCodepageListRows; ++row) {
    if (same(codepageList[row])) {
      last.store(&codepageList[row], std::memory_order_relaxed);
      return static_cast<int>(row);
    }
  }
  return -1;
}

std::atomic<const CodepageListRow *> lastRangeRow{codepageList};
std::atomic<const CodepageListRow *> lastReverseRow{codepageList};

int rangeSlot(const CODEPAGETBL &record) {
  if (record.lowTable == nullptr && record.highTable == nullptr) return kCodepageListRows;
  return rowOf(lastRangeRow, [&record](const CodepageListRow &row) {
    return row.lowTable == record.lowTable && row.highTable == record.highTable;
  });
}

int reverseSlot(const CODEPAGETBL &record) {
  if (record.reverseTable == nullptr) return kCodepageListRows;
  return rowOf(lastReverseRow, [&record](const CodepageListRow &row) { return row.reverseTable == record.reverseTable; });
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
