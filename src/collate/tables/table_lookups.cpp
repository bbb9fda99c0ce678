// Lookups over generic table shapes that callers pass: lists closed by an
// end marker (first matching record wins) and blocks over a range of codes
// (both ends inside).
#include "qstr14/collate.h"

namespace {

constexpr uint8_t kByteEnd = 0xFF;
constexpr uint16_t kWordEnd = 0xFFFF;

uint8_t lowByte(uint32_t value) { return static_cast<uint8_t>(value); }
uint16_t lowWord(uint32_t value) { return static_cast<uint16_t>(value); }

}  // namespace

void *QSTR_CALL ub_fp_table(const QSTR_KEYED_POINTER *table, uint32_t key) {
  const uint8_t wanted = lowByte(key);
  for (;; ++table) {
    if (table->key == wanted || table->key == kByteEnd) return table->pointer;
  }
}

// The same function under a second name.
void *QSTR_CALL ub_vfp_table(const QSTR_KEYED_POINTER *table, uint32_t key) { return ub_fp_table(table, key); }

uint8_t QSTR_CALL b_table(const uint8_t *table, uint32_t key) {
  const uint8_t wanted = lowByte(key);
  for (;; ++table) {
    if (*table == wanted) return wanted;
    if (*table == kByteEnd) return kByteEnd;
  }
}

uint16_t QSTR_CALL w_table(const uint16_t *table, uint32_t key) {
  const uint16_t wanted = lowWord(key);
  for (;; ++table) {
    if (*table == wanted) return wanted;
    if (*table == kWordEnd) return kWordEnd;
  }
}

uint16_t QSTR_CALL uw_uw_table(const uint16_t *table, uint32_t key) {
  const uint16_t wanted = lowWord(key);
  for (;; table += 2) {
    if (table[0] == wanted || table[0] == kWordEnd) return table[1];
  }
}

uint8_t QSTR_CALL b_b_table(const uint8_t *table, uint32_t key) {
  const uint8_t wanted = lowByte(key);
  for (;; table += 2) {
    if (table[0] == wanted) return table[1];
    if (table[0] == kByteEnd) return kByteEnd;
  }
}

uint8_t QSTR_CALL ub_lukup(const uint8_t *block, uint32_t code) {
  const uint8_t c = lowByte(code);
  if (c < block[0] || c > block[1]) return kByteEnd;
  return block[2 + (c - block[0])];
}

uint16_t QSTR_CALL uw_lukup(const uint16_t *block, uint32_t code) {
  const uint8_t c = lowByte(code);
  const uint8_t first = lowByte(block[0]);
  if (c < first || c > lowByte(block[1])) return kWordEnd;
  return block[2 + (c - first)];
}

uint32_t QSTR_CALL ubp_lukup(const QSTR_BYTE_RANGE_POINTER *block, uint32_t code) {
  const uint8_t c = lowByte(code);
  if (c < block->first || c > block->last) return 0;
  return block->values[c - block->first];
}

uint32_t QSTR_CALL uw_fp_lukup(const QSTR_WORD_RANGE_POINTER *block, uint32_t code) {
  const uint16_t c = lowWord(code);
  const uint16_t first = block->first;
  if (c < first || c > block->last) return 0xFFFFFFFF;
  return block->values[c - first];
}

int32_t QSTR_CALL ub_ub_lukup(const uint8_t *block, uint32_t code, uint8_t *first, uint8_t *second) {
  const uint8_t c = lowByte(code);
  if (c < block[0] || c > block[1]) return 1;
  const uint8_t *pair = block + 2 + 2 * (c - block[0]);
  *first = pair[0];
  *second = pair[1];
  return 0;
}
