// qstr chars [SET]: the native characters of one set or of all, each set
// under its name, with their Unicode values and the characters themselves.
#include <iostream>

#include "cli.h"
#include "qstr14/charset.h"
#include "table.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

constexpr unsigned kLastTableSet = 14;

// What each character set holds, by set number.
constexpr const char *kSetNames[kLastTableSet + 1] = {
    "ASCII",
    "Latin letters with diacritics, ligatures, accents",
    "phonetic symbols and modifier letters",
    "box drawing and block elements",
    "typographic symbols",
    "pictographs",
    "mathematical and scientific symbols, arrows",
    "pieces of large mathematical symbols",
    "Greek",
    "Hebrew",
    "Cyrillic and Georgian",
    "half-width katakana",
    "the ANSI code page",
    "Arabic letters and presentation forms",
    "Arabic script letters",
};

// Lists every valid code of `set` that maps to Unicode under the set's
// name. Code 0xFF is left out: ValidQxCharacter reads it as code 0.
void listSet(unsigned set) {
  std::cout << "set " << set << ": " << kSetNames[set] << '\n';
  Table table({"native", "unicode", "char"});
  for (unsigned code = 0; code < 0xFF; ++code) {
    const uint16_t native = static_cast<uint16_t>(set << 8 | code);
    if (!ValidQxCharacter(native)) continue;
    const uint16_t unicode = KZcharQX6xToUnicode(native);
    if (unicode == 0xFFFF) continue;
    std::string shown;
    if (unicode >= 0x20 && !(unicode >= 0x7F && unicode < 0xA0)) appendUtf8(shown, unicode);
    table.add({hex4(native), "U+" + hex4(unicode).substr(2), shown});
  }
  table.print(std::cout);
}

}  // namespace

Action setupChars(CLI::App &app) {
  auto set = std::make_shared<std::optional<std::string>>();
  app.add_option("SET", *set, "character set number");
  return [set] {
    if (!*set) {
      for (unsigned each = 0; each <= kLastTableSet; ++each) {
        if (each != 0) std::cout << '\n';
        listSet(each);
      }
      return kExitOk;
    }
    const auto number = base::parseNumber(**set, 0, kLastTableSet);
    if (!number) throw UsageError{"SET must be a character set number 0-14, not '" + **set + "'"};
    listSet(*number);
    return kExitOk;
  };
}

}  // namespace qstr::cli
