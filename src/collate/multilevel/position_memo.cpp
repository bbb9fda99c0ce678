#include "collate/multilevel/position_memo.h"

#include <array>
#include <memory>

#include "collate/multilevel/contraction.h"
#include "collate/tables/multilevel_tables.h"
#include "collate/values/multilevel_values.h"
#include "qstr14/collate.h"

namespace qstr::collate {
namespace {

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

std::array<base::BuiltOnce<std::unique_ptr<Memo>>, kMemoizedLanguages> memos;

const MemoizedValues *buildMemoizedValues(uint16_t language) {
  return memos[language].get([language] { return buildMemo(language); })->data();
}

}  // namespace qstr::collate
