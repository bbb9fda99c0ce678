// Language numbers and their two-letter codes.
#include "collate/tables/multilevel_tables.h"
#include "qstr14/collate.h"

using namespace qstr::collate;

uint16_t QSTR_CALL QxLanguage(const char *code) {
  // The first two bytes, exactly: "dk" is not "DK". Nothing matches: 0.
  for (unsigned number = 0; number < kLanguageCount; ++number) {
    if (code[0] == kLanguageCodes[number][0] && code[1] == kLanguageCodes[number][1]) {
      return static_cast<uint16_t>(number);
    }
  }
  return 0;
}

void QSTR_CALL QxNum2Lang(uint16_t language, char *out) {
  const char *letters = kLanguageCodes[language < kLanguageCount ? language : 0];
  out[0] = letters[0];
  out[1] = letters[1];
  out[2] = '\0';
}
