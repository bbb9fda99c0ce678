// Choosing the DOS and Windows code pages: the registry values under the
// library's registry location, else the country ID's defaults, else the
// system's code pages.
#include <cstdio>

#include "base/build_once.h"
#include "codepage/state.h"
#include "host/host.h"
#include "qstr14/codepage.h"
#include "qstr14/frame.h"
#include "registry/ckzkey.h"

namespace qstr::codepage {
namespace {

constexpr char kCodePageDataPath[] = "HKEY_CURRENT_USER\\Software\\Orvane\\Quorvel Flarion\\Conversions\\14\\CodePageData";
constexpr char kDosValue[] = "DOS Code Page";
constexpr char kWindowsValue[] = "Windows Code Page";
constexpr uint32_t kKeyReadWrite = 0x2001F;
constexpr uint32_t kCodePageValueType = 0x80000002;
constexpr std::size_t kRegistryLocationSize = 100;

// Each thread has its own buffer: the location follows the current
// language, and a thread's pointer stays good while others ask.
thread_local char registryLocation[kRegistryLocationSize];
base::BuiltOnce<uint16_t> cachedWindowsCodepage;

struct CountryCodepages {
  uint8_t country;
  uint16_t dos;
  uint16_t windows;
};
constexpr CountryCodepages kCountryCodepages[] = {
    {QSTR_COUNTRY_JAPANESE, 932, 932},
    {QSTR_COUNTRY_KOREAN, 934, 949},
    {QSTR_COUNTRY_TRADITIONAL_CHINESE, 938, 950},
    {QSTR_COUNTRY_SIMPLIFIED_CHINESE, 936, 936},
    {QSTR_COUNTRY_ARABIC, 710, 1256},
    {QSTR_COUNTRY_HEBREW, 862, 1255},
};

const CountryCodepages *countryCodepages() {
  const uint8_t country = QtpiGetCountryID();
  for (const CountryCodepages &row : kCountryCodepages) {
    if (row.country == country) return &row;
  }
  return nullptr;
}

// Reads a 2-byte code page value, following links; 0 when the key cannot be
// opened, the value is missing or its data is longer than 2 bytes.
uint16_t readCodepageValue(const char *name) {
  registry::CKZKey key(QcvtGetRegistryLoc(), kKeyReadWrite);
  if (key.Key() == 0) return 0;
  uint16_t value = 0;
  uint32_t size = sizeof value;
  if (key.QueryValue(name, nullptr, nullptr, &value, &size, 1) != 0) return 0;
  return value;
}

}  // namespace

CodepageChoice chooseDosCodepage() {
  if (uint16_t stored = readCodepageValue(kDosValue)) return {stored, CodepageSource::Registry};
  if (const CountryCodepages *row = countryCodepages()) return {row->dos, CodepageSource::Country};
  return {host::oemCodePage() & 0xFFFF, CodepageSource::System};
}

CodepageChoice chooseWindowsCodepage() {
  if (uint16_t stored = readCodepageValue(kWindowsValue)) return {stored, CodepageSource::Registry};
  if (const CountryCodepages *row = countryCodepages()) return {row->windows, CodepageSource::Country};
  return {host::ansiCodePage() & 0xFFFF, CodepageSource::System};
}

void resetCodepageSelection() { cachedWindowsCodepage.reset(); }

}  // namespace qstr::codepage

using namespace qstr::codepage;

QSTR_VISIBLE char *QSTR_CALL QcvtGetRegistryLoc() {
  // The path (77 characters), a backslash and a language of at most 7
  // characters always fit; the copy is bounded all the same.
  std::snprintf(registryLocation, sizeof registryLocation, "%s\\%s", kCodePageDataPath, QStrGetLanguage());
  return registryLocation;
}

uint32_t QSTR_CALL QcvtGetDOSCodepage(void) { return chooseDosCodepage().codePage; }

uint16_t QSTR_CALL QcvtGetWinCodepage(void) {
  return cachedWindowsCodepage.get([] { return static_cast<uint16_t>(chooseWindowsCodepage().codePage); });
}

int32_t QSTR_CALL QcvtSetWinCodepage(uint32_t codePage) {
  qstr::registry::CKZKey key(QcvtGetRegistryLoc(), kKeyReadWrite);
  if (key.Key() == 0) return 0;
  const uint16_t value = static_cast<uint16_t>(codePage);
  if (key.SetValue(kWindowsValue, kCodePageValueType, &value, sizeof value, 1, 0) != 0) return 0;
  // A cache of 0 means "not yet known": the next call works it out.
  if (value == 0) {
    cachedWindowsCodepage.reset();
  } else {
    cachedWindowsCodepage.set(value);
  }
  return 1;
}
