#include "collate/position_memo.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "collate/contraction.h"
#include "collate/multilevel_tables.h"
#include "collate/multilevel_values.h"
#include "qstr14/collate.h"

namespace qstr::collate {
namespace {

using Memo = std::array<MemoizedValues, kMemoizedEnd>;

// Each language's memo, built once.
struct Memos {
  std::array<std::once_flag, kLanguageCount> built;
  std::array<std::unique_ptr<Memo>, kLanguageCount> tables;
};

Memos &memos() {
  static Memos instance;
  return instance;
}

std::unique_ptr<Memo> buildMemo(uint16_t language) {
  auto memo = std::make_unique<Memo>();
  for (uint16_t ch = 0; ch < kMemoizedEnd; ++ch) {
    MemoizedValues &v = (*memo)[ch];
    v.primary = static_cast<uint8_t>(f_QX60ColVal(ch, language) & 0xFF);
    v.caseValue = static_cast<uint8_t>(f_wislower(ch) & 0xFF);
    v.secondary = getDiaValue(ch, v.primary, language);
    v.mayContract = mayContract(language) && mayStartContraction(ch, language);
    v.followerRow = mayContract(language) ? rowAfterFirst(ch, language) : 0;
    v.pairSecondary = getDiaValue(ch, static_cast<uint8_t>(v.primary + 1), language);
  }
  return memo;
}

}  // namespace

static_assert(kMemoizedLanguages == kLanguageCount);

// Later calls need one load and no lock or guard: atomic pointers are
// initialised before any code runs.
constinit std::array<std::atomic<const MemoizedValues *>, kMemoizedLanguages> readyMemos{};

const MemoizedValues *buildMemoizedValues(uint16_t language) {
  Memos &m = memos();
  std::call_once(m.built[language], [&m, language] {
    m.tables[language] = buildMemo(language);
    readyMemos[language].store(m.tables[language]->data(), std::memory_order_release);
  });
  return m.tables[language]->data();
}

}  // namespace qstr::collate
