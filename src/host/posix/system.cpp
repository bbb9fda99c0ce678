// Portable backend: system metrics, language, locale and keyboard, all read
// from the host profile.
#include <cstdio>

#include "host/host.h"
#include "host/profile.h"

namespace qstr::host {
namespace {

// Windows character sets of the code pages that have one of their own.
struct CharsetOfCodePage {
  uint32_t codePage;
  uint32_t charset;
};
constexpr CharsetOfCodePage kCharsets[] = {
    {1252, 0},   {932, 128},  {949, 129},  {1361, 130}, {936, 134},  {950, 136},
    {1253, 161}, {1254, 162}, {1258, 163}, {1255, 177}, {1256, 178}, {1257, 186},
    {1251, 204}, {874, 222},  {1250, 238},
};

}  // namespace

int dbcsEnabled() { return hostProfile().dbcsEnabled.value ? 1 : 0; }

uint32_t ansiCodePage() { return hostProfile().ansiCodePage.value; }

uint32_t oemCodePage() { return hostProfile().oemCodePage.value; }

uint16_t systemDefaultLangId() { return hostProfile().langId.value; }

uint32_t keyboardLayout() {
  // A layout handle carries the device in its high word; callers use only
  // the language in the low word.
  uint16_t lang = hostProfile().keyboardLangId.value;
  return static_cast<uint32_t>(lang) << 16 | lang;
}

int localeDefaultAnsiCodePage(uint16_t langId, char *buffer, int capacity) {
  const LocaleFacts *facts = localeFactsForLangId(langId);
  if (facts == nullptr || buffer == nullptr || capacity <= 0) return 0;
  char text[12];
  int length = std::snprintf(text, sizeof text, "%u", facts->ansiCodePage);
  if (length + 1 > capacity) return 0;
  for (int i = 0; i <= length; ++i) buffer[i] = text[i];
  return length + 1;
}

bool translateCharsetInfo(uint32_t codePage, uint32_t *charset) {
  for (const CharsetOfCodePage &row : kCharsets) {
    if (row.codePage == codePage) {
      if (charset != nullptr) *charset = row.charset;
      return true;
    }
  }
  return false;
}

}  // namespace qstr::host
