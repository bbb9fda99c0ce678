// Reading the sort sequence: the cell of a character in coltbl and its
// collation value.
#include <atomic>

#include "qstr14/collate.h"

namespace {

constexpr uint8_t kNoValue = 0xFF;

uint8_t characterSet(uint32_t character) { return static_cast<uint8_t>(character >> 8); }
uint8_t codeOf(uint32_t character) { return static_cast<uint8_t>(character); }

// Cells may be rewritten by a language switch on another thread.
uint8_t loadCell(const uint8_t *cell) {
  return std::atomic_ref<uint8_t>(*const_cast<uint8_t *>(cell)).load(std::memory_order_relaxed);
}

}  // namespace

int32_t QSTR_CALL fndcolv(uint32_t character, uint8_t **cell) {
  auto *block = static_cast<uint8_t *>(ub_fp_table(coltbl, characterSet(character)));
  *cell = block;
  if (block == nullptr) return 1;
  const uint8_t first = block[0];
  const uint8_t count = block[1];
  const uint8_t code = codeOf(character);
  if (code < first || code - first >= count) return 1;
  *cell = block + 2 + (code - first);
  return 0;
}

uint8_t QSTR_CALL xch2col(uint32_t character) {
  uint8_t *cell = nullptr;
  return fndcolv(character, &cell) == 0 ? loadCell(cell) : kNoValue;
}

uint8_t QSTR_CALL Q6wstrCollateCh(uint32_t character) {
  if (static_cast<uint16_t>(character) == 0) return 0;
  lQstrSetupLang();
  return xch2col(character);
}
