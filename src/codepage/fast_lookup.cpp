#include "codepage/fast_lookup.h"

#include <array>
#include <mutex>

#include "charset/east_asian_placement.h"
#include "codepage/codepage_list.h"
#include "host/host.h"

namespace qstr::codepage {
namespace {

// Slot i < kCodepageListRows is list row i; the last slot is "no tables".
constexpr std::size_t kSlots = kCodepageListRows + 1;

template <typename Table>
struct LazyTables {
  std::array<std::once_flag, kSlots> built;
  std::array<Table, kSlots> tables{};
};

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
  static LazyTables<std::array<uint16_t, 256>> cache;
  const int slot = rangeSlot(record);
  if (slot < 0) return nullptr;
  std::call_once(cache.built[slot], [&record, slot] {
    // Code page 0 keeps the double-byte rules out: single bytes never take them.
    const CODEPAGETBL tablesOnly{0, 0, record.lowTable, record.highTable, nullptr};
    for (unsigned b = 0; b < 256; ++b) cache.tables[slot][b] = QcvtNtvToQx(&tablesOnly, b);
  });
  return cache.tables[slot].data();
}

const uint16_t *hostCodesOfNatives(const CODEPAGETBL &record) {
  static LazyTables<std::array<uint16_t, kIndexedNativeEnd>> cache;
  if (charset::isEastAsianCodePage(record.fromQxCodepage) && host::dbcsEnabled()) return nullptr;
  const int slot = reverseSlot(record);
  if (slot < 0) return nullptr;
  std::call_once(cache.built[slot], [&record, slot] {
    const CODEPAGETBL tableOnly{0, 0, nullptr, nullptr, record.reverseTable};
    for (unsigned n = 0; n < kIndexedNativeEnd; ++n) cache.tables[slot][n] = QcvtQxToNtv(&tableOnly, n);
  });
  return cache.tables[slot].data();
}

}  // namespace qstr::codepage
