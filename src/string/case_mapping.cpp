// Case of native characters, native strings and document stream
// characters, through the library's one notion of case (wtoupper,
// wtolower).
#include "charset/stream_grammar.h"
#include "qstr14/asian.h"
#include "qstr14/charset.h"
#include "qstr14/strings.h"

namespace {

using qstr::charset::isNativeCharacter;
using qstr::charset::kCharacterGroup;
using CaseMap = uint16_t(QSTR_CALL *)(uint32_t);

uint16_t *mapNativeString(uint16_t *s, CaseMap map) {
  for (uint16_t *p = s; *p != 0; ++p) {
    if (isNativeCharacter(*p)) *p = map(*p);
  }
  return s;
}

// The native character at a stream position: a character group's carried
// character (code first, then set), or a plain byte as a set 0 character.
uint16_t characterAt(const uint8_t *p) {
  if (*p == kCharacterGroup) return static_cast<uint16_t>(p[1] | p[2] << 8);
  return *p;
}

uint8_t *mapStreamCharacter(uint8_t *p, CaseMap map) {
  const uint16_t mapped = map(characterAt(p));
  if (*p == kCharacterGroup) {
    p[1] = static_cast<uint8_t>(mapped);
    p[2] = static_cast<uint8_t>(mapped >> 8);
  } else {
    *p = static_cast<uint8_t>(mapped);
  }
  return p;
}

uint8_t *mapStream(uint8_t *s, CaseMap map) {
  for (uint8_t *p = Q6dstrFirstCh(s); *p != 0; p = Q6dstrNextCh(p)) mapStreamCharacter(p, map);
  return s;
}

}  // namespace

uint16_t QSTR_CALL Q6wstrUpperCh(uint32_t character) { return wtoupper(static_cast<uint16_t>(character)); }

uint16_t QSTR_CALL Q6wstrLowerCh(uint32_t character) { return wtolower(static_cast<uint16_t>(character)); }

uint16_t *QSTR_CALL Q6wstrupr(uint16_t *s) { return mapNativeString(s, Q6wstrUpperCh); }

uint16_t *QSTR_CALL Q6wstrlwr(uint16_t *s) { return mapNativeString(s, Q6wstrLowerCh); }

uint8_t *QSTR_CALL Q6dstrUpperCh(uint8_t *p) { return mapStreamCharacter(p, Q6wstrUpperCh); }

uint8_t *QSTR_CALL Q6dstrLowerCh(uint8_t *p) { return mapStreamCharacter(p, Q6wstrLowerCh); }

uint16_t QSTR_CALL Q6dstrLowerCh2(const uint8_t *p) { return Q6wstrLowerCh(characterAt(p)); }

uint8_t *QSTR_CALL Q6dstrupr(uint8_t *s) { return mapStream(s, Q6wstrUpperCh); }

uint8_t *QSTR_CALL Q6dstrlwr(uint8_t *s) { return mapStream(s, Q6wstrLowerCh); }
