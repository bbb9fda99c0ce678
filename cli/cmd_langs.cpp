// qstr langs: the 40 languages of the multi-level comparison, with the
// word processor's code, the English name, the ISO 639-1 code and what is
// special in each language's sorting; the guessed readings are marked and
// explained below the table.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli.h"
#include "languages.h"

namespace qstr::cli {
namespace {

// Characters in a UTF-8 string, for padding columns ("l·l" is 3).
std::size_t width(const char *text) {
  std::size_t count = 0;
  for (const char *p = text; *p != '\0'; ++p) count += (static_cast<unsigned char>(*p) & 0xC0) != 0x80;
  return count;
}

std::string padded(const char *text, std::size_t columns) {
  const std::size_t used = width(text);
  return std::string(text) + std::string(used < columns ? columns - used : 1, ' ');
}

int runLangs() {
  std::size_t nameWidth = 8;
  for (const Language &language : kLanguages) nameWidth = std::max(nameWidth, width(language.name) + 2);
  std::cout << " No  Code  ISO  " << padded("Language", nameWidth) << "Sorting\n";
  for (uint16_t n = 0; n < kLanguageCount; ++n) {
    const Language &language = kLanguages[n];
    char lead[32];
    std::snprintf(lead, sizeof lead, "%3u  %-4s  %s%s  ", n, language.code, language.iso,
                  language.guess != nullptr ? "?" : " ");
    std::cout << lead << padded(language.name, nameWidth) << language.sorting << '\n';
  }
  std::cout << "\n? The reading of the code is a guess:\n";
  for (const Language &language : kLanguages) {
    if (language.guess != nullptr) std::cout << "  " << language.code << "  " << language.guess << '\n';
  }
  std::cout << "\n--lang takes the code (CZ), an ISO 639-1 code or a locale name (cs, cs_CZ).\n";
  return kExitOk;
}

}  // namespace

Action setupLangs(CLI::App &) {
  return [] { return runLangs(); };
}

}  // namespace qstr::cli
