// Measuring document stream items and stepping through document streams
// and native strings character by character.
#include "charset/stream_grammar.h"
#include "qstr14/charset.h"

using namespace qstr::charset;

uint16_t QSTR_CALL ufsize(const uint8_t *item) {
  if (isVariableGroup(item[0])) return readLittleEndian16(item + 2);
  return fixedGroupLength(item[0]);
}

uint16_t QSTR_CALL ubsize(const uint8_t *after) {
  uint8_t last = after[-1];
  if (isVariableGroup(last)) return readLittleEndian16(after - 3);
  return fixedGroupLength(last);
}

uint8_t *QSTR_CALL Q6dstrFirstCh(const uint8_t *pos) {
  if (isCharacterItem(pos[0])) return const_cast<uint8_t *>(pos);
  return Q6dstrNextCh(pos);
}

uint8_t *QSTR_CALL Q6dstrNextCh(const uint8_t *pos) {
  pos += pos[0] < kFirstFunction ? 1 : ufsize(pos);
  // One-byte functions (0x80-0xCF) take one byte; groups and 0xFF their size.
  while (!isCharacterItem(pos[0])) pos += ufsize(pos);
  return const_cast<uint8_t *>(pos);
}

uint16_t *QSTR_CALL Q6wstrFirstCh(const uint16_t *pos) {
  if (isNativeCharacter(pos[0])) return const_cast<uint16_t *>(pos);
  return Q6wstrNextCh(pos);
}

uint16_t *QSTR_CALL Q6wstrNextCh(const uint16_t *pos) {
  do {
    ++pos;
  } while (!isNativeCharacter(pos[0]));
  return const_cast<uint16_t *>(pos);
}

uint16_t *QSTR_CALL Q6wstrPrevCh(const uint16_t *start, const uint16_t *pos) {
  while (pos > start) {
    --pos;
    if (isNativeCharacter(pos[0])) return const_cast<uint16_t *>(pos);
  }
  return const_cast<uint16_t *>(start);
}
