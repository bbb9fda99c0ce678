// A scope under country ID 0-6: a locale's host profile, the cached ID forgotten.
#pragma once

#include "frame/country.h"
#include "qstr14/frame.h"
#include "support/host_profile.h"

namespace qstr::test {

class ScopedCountry {
 public:
  explicit ScopedCountry(unsigned countryId) : profile_({{"LANG", kLocales[countryId]}}) {
    frame::resetCountryDetection();
  }
  ~ScopedCountry() { frame::resetCountryDetection(); }

 private:
  static constexpr const char *kLocales[] = {"en_US", "ja_JP", "ko_KR", "zh_TW", "zh_CN", "ar_SA", "he_IL"};
  ScopedProfile profile_;
};

}  // namespace qstr::test
