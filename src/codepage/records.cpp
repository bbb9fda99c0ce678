// The code page records: loading them from the list, clearing them, and
// the library's own ANSI and OEM records.
#include "base/build_once.h"
#include "codepage/codepage_list.h"
#include "codepage/state.h"
#include "host/host.h"

namespace qstr::codepage {
namespace {

constexpr uint8_t kNativeToHost = 0x01;
constexpr uint8_t kHostToNative = 0x02;
constexpr int32_t kCurrentWindowsCodepage = -1;

// The records are filled in place (their addresses are handed out); the
// gate is the loaded flag.
struct RecordState {
  CODEPAGETBL ansi{};
  CODEPAGETBL oem{};
  base::OnceGate loaded;
};
RecordState records;

void clearRecords() {
  QcvtClrCodepage(&records.ansi);
  QcvtClrCodepage(&records.oem);
}

}  // namespace

const CodepageListRow *findCodepageRow(uint32_t productCodepage) {
  for (const CodepageListRow &row : codepageList) {
    if (row.productCodepage == productCodepage) return &row;
  }
  return nullptr;
}

CODEPAGETBL &ansiRecord() { return records.ansi; }
CODEPAGETBL &oemRecord() { return records.oem; }

void ensureRecordsLoaded() { records.loaded.pass(TpiSetCodepage); }

const CODEPAGETBL &loadedAnsiRecord() {
  ensureRecordsLoaded();
  return records.ansi;
}

const CODEPAGETBL &loadedOemRecord() {
  ensureRecordsLoaded();
  return records.oem;
}

void resetCodePageState() {
  records.loaded.reset(clearRecords);
  clearRecords();
  resetCodepageSelection();
}

}  // namespace qstr::codepage

using namespace qstr::codepage;

const void *QSTR_CALL QcvtFindCPTable(uint32_t codePage, uint32_t which) {
  const CodepageListRow *row = findCodepageRow(codePage);
  if (row == nullptr) return nullptr;
  switch (which) {
    case 0: return row->lowTable;
    case 1: return row->highTable;
    case 2: return row->reverseTable;
    default: return nullptr;
  }
}

uint32_t QSTR_CALL QcvtQXCodepageToWinCodepage(uint32_t codePage) {
  const CodepageListRow *row = findCodepageRow(codePage);
  return row ? row->windowsCodepage : codePage;
}

// A Windows number that the list pairs with another product number (the ISO
// 8859 rows) gives that product number; every other number is its own.
uint32_t QSTR_CALL QcvtWinCodepageToQXCodepage(uint32_t windowsCodepage) {
  for (const CodepageListRow &row : codepageList) {
    if (row.windowsCodepage == windowsCodepage) return row.productCodepage;
  }
  return windowsCodepage;
}

void QSTR_CALL QcvtSetCodepage(int32_t codePageArg, uint32_t directions, CODEPAGETBL *record) {
  const uint32_t codePage = codePageArg == kCurrentWindowsCodepage ? QcvtGetWinCodepage()
                                                                   : static_cast<uint32_t>(codePageArg);
  const uint8_t flags = static_cast<uint8_t>(directions);
  if ((flags & kHostToNative) && record->toQxCodepage != codePage) {
    record->lowTable = static_cast<const CODEPAGERANGE *>(QcvtFindCPTable(codePage, 0));
    record->highTable = static_cast<const CODEPAGERANGE *>(QcvtFindCPTable(codePage, 1));
    record->toQxCodepage = codePage;
  }
  if ((flags & kNativeToHost) && record->fromQxCodepage != codePage) {
    record->reverseTable = static_cast<const CODEPAGEREVERSE *>(QcvtFindCPTable(codePage, 2));
    record->fromQxCodepage = codePage;
  }
}

void QSTR_CALL QcvtClrCodepage(CODEPAGETBL *record) { *record = CODEPAGETBL{}; }

void QSTR_CALL TpiSetCodepage(void) {
  const bool dbcs = qstr::host::dbcsEnabled() != 0;
  const uint32_t oemCodepage = dbcs ? QcvtGetWinCodepage() : QcvtGetDOSCodepage();
  QcvtSetCodepage(static_cast<int32_t>(oemCodepage), kHostToNative | kNativeToHost, &records.oem);
  QcvtSetCodepage(static_cast<int32_t>(QcvtGetWinCodepage()), kHostToNative | kNativeToHost, &records.ansi);
}

int32_t QSTR_CALL str_SetCodePage(void) {
  ensureRecordsLoaded();
  return 1;
}

void QSTR_CALL str_ClrCodePage(void) { records.loaded.reset(clearRecords); }
