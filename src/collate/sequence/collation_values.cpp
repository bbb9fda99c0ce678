// Reading the sort sequence: the cell of a character in coltbl and its
// collation value.
#include <atomic>

#include "collate/tables/collation_block.h"
#include "qstr14/collate.h"

namespace {

uint8_t characterSet(uint32_t character) { return static_cast<uint8_t>(character >> 8); }
uint8_t codeOf(uint32_t character) { return static_cast<uint8_t>(character); }

// Cells may be rewritten by a language switch on another thread.
uint8_t loadCell(const uint8_t *cell) {
  return std::atomic_ref<uint8_t>(*const_cast<uint8_t *>(cell)).load(std::memory_order_relaxed);
}

}  // namespace

int32_t QSTR_CALL fndcolv(uint32_t character, uint8_t **cell) {
  auto *block = static_cast<uint8_t *>(ub_fp_table(coltbl, characterSet(character)));
  uint8_t *found = block == nullptr ? nullptr : qstr::collate::blockCell(block, codeOf(character));
  *cell = found != nullptr ? found : block;
  return found != nullptr ? 0 : 1;
}

uint8_t QSTR_CALL xch2col(uint32_t character) {
  uint8_t *cell = nullptr;
  return fndcolv(character, &cell) == 0 ? loadCell(cell) : qstr::collate::kNoCollationValue;
}

uint8_t QSTR_CALL Q6wstrCollateCh(uint32_t character) {
  if (static_cast<uint16_t>(character) == 0) return 0;
  lQstrSetupLang();
  return xch2col(character);
}
