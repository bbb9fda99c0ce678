// Runs a test body under a country ID: installs the host profile of a
// locale that the country detection maps to that ID, and forgets the cached
// ID on entry and exit.
#pragma once

#include <cstdint>

#include "frame/country.h"
#include "qstr14/frame.h"
#include "support/host_profile.h"

namespace qstr::test {

// Locale of each country ID 0-6.
inline const char *localeOfCountry(unsigned countryId) {
  static const char *const kLocales[] = {"en_US", "ja_JP", "ko_KR", "zh_TW", "zh_CN", "ar_SA", "he_IL"};
  return countryId < 7 ? kLocales[countryId] : "en_US";
}

// Code page of each country with a class-mapping table (1-4), 0 otherwise.
inline uint32_t codePageOfCountry(unsigned countryId) {
  static const uint32_t kPages[] = {0, 932, 949, 950, 936};
  return countryId >= 1 && countryId <= 4 ? kPages[countryId] : 0;
}

class ScopedCountry {
 public:
  explicit ScopedCountry(unsigned countryId) : profile_({{"LANG", localeOfCountry(countryId)}}) {
    frame::resetCountryDetection();
  }
  ~ScopedCountry() { frame::resetCountryDetection(); }
  ScopedCountry(const ScopedCountry &) = delete;
  ScopedCountry &operator=(const ScopedCountry &) = delete;

 private:
  ScopedProfile profile_;
};

}  // namespace qstr::test
