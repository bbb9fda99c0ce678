// Country and script detection: QtpiGetCountryID, QshGetInfoFromKeyboard.
#include <cstdlib>

#include "base/build_once.h"
#include "frame/country.h"
#include "host/host.h"
#include "qstr14/frame.h"

namespace qstr::frame {
namespace {

constexpr uint8_t kCharsetDefault = 1;
constexpr uint8_t kCharsetBig5 = 136;
constexpr uint8_t kCharsetGb2312 = 134;

struct LanguageCountry {
  uint16_t langId;
  uint8_t country;
};
// Only these exact language IDs decide by themselves; other sublanguages
// (Arabic of other countries, Chinese of Hong Kong) go to the keyboard.
constexpr LanguageCountry kLanguageCountries[] = {
    {0x0401, QSTR_COUNTRY_ARABIC},
    {0x0404, QSTR_COUNTRY_TRADITIONAL_CHINESE},
    {0x040D, QSTR_COUNTRY_HEBREW},
    {0x0411, QSTR_COUNTRY_JAPANESE},
    {0x0412, QSTR_COUNTRY_KOREAN},
    {0x0804, QSTR_COUNTRY_SIMPLIFIED_CHINESE},
};

// Detected once per process.
base::BuiltOnce<uint8_t> countryId;

uint8_t countryFromKeyboard() {
  uint8_t charset = kCharsetDefault;
  QshGetInfoFromKeyboard(nullptr, &charset);
  if (charset == kCharsetGb2312) return QSTR_COUNTRY_SIMPLIFIED_CHINESE;
  if (charset == kCharsetBig5) return QSTR_COUNTRY_TRADITIONAL_CHINESE;
  return QSTR_COUNTRY_NONE;
}

uint8_t detectCountry() {
  uint16_t langId = host::systemDefaultLangId();
  bool dbcs = host::dbcsEnabled() != 0;
  for (const LanguageCountry &row : kLanguageCountries) {
    if (row.langId == langId) return row.country;
  }
  return dbcs ? countryFromKeyboard() : QSTR_COUNTRY_NONE;
}

}  // namespace

void resetCountryDetection() { countryId.reset(); }

}  // namespace qstr::frame

uint8_t QSTR_CALL QtpiGetCountryID(void) { return qstr::frame::countryId.get(qstr::frame::detectCountry); }

void QSTR_CALL QshGetInfoFromKeyboard(uint16_t *codePage, uint8_t *charset) {
  namespace host = qstr::host;
  uint16_t keyboardLang = static_cast<uint16_t>(host::keyboardLayout() & 0xFFFF);
  char text[6] = {};
  uint32_t keyboardCodePage = host::localeDefaultAnsiCodePage(keyboardLang, text, sizeof text) != 0
                                  ? static_cast<uint32_t>(std::atoi(text))
                                  : host::ansiCodePage();
  if (charset != nullptr) {
    uint32_t translated = 0;
    *charset = host::translateCharsetInfo(keyboardCodePage, &translated)
                   ? static_cast<uint8_t>(translated)
                   : qstr::frame::kCharsetDefault;
  }
  if (codePage != nullptr) *codePage = static_cast<uint16_t>(keyboardCodePage);
}
