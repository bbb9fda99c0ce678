// qstr langs: the 40 languages of the multi-level comparison, with the
// word processor's code, the English name, the ISO 639-1 code and what is
// special in each language's sorting; the guessed readings are marked and
// explained below the table.
#include <iostream>

#include "cli.h"
#include "languages.h"
#include "table.h"

namespace qstr::cli {

int printLanguages() {
  Table table({"No", "Code", "ISO", "Language", "Sorting"});
  table.alignRight(0);
  for (uint16_t n = 0; n < kLanguageCount; ++n) {
    const Language &language = kLanguages[n];
    table.add({std::to_string(n), language.code, std::string(language.iso) + (language.guess != nullptr ? "?" : ""),
               language.name, language.sorting});
  }
  table.print(std::cout);
  std::cout << "\n? The reading of the code is a guess:\n";
  for (const Language &language : kLanguages) {
    if (language.guess != nullptr) std::cout << "  " << language.code << "  " << language.guess << '\n';
  }
  std::cout << "\n--lang takes the code (CZ), an ISO 639-1 code or a locale name (cs, cs_CZ).\n";
  return kExitOk;
}

Action setupLangs(CLI::App &) { return printLanguages; }

}  // namespace qstr::cli
