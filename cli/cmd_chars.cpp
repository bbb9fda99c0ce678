// qstr chars [SET]: the native characters of one set or of all, with their
// Unicode values and the characters themselves.
#include <iostream>

#include "cli.h"
#include "qstr14/charset.h"
#include "text.h"

namespace qstr::cli {
namespace {

constexpr unsigned kLastTableSet = 14;

// Lists every valid code of `set` that maps to Unicode; returns how many.
// Code 0xFF is left out: ValidQxCharacter reads it as code 0.
int listSet(unsigned set) {
  int listed = 0;
  for (unsigned code = 0; code < 0xFF; ++code) {
    const uint16_t native = static_cast<uint16_t>(set << 8 | code);
    if (!ValidQxCharacter(native)) continue;
    const uint16_t unicode = KZcharQX6xToUnicode(native);
    if (unicode == 0xFFFF) continue;
    std::string line = hex4(native) + "  U+" + hex4(unicode).substr(2) + "  ";
    if (unicode >= 0x20 && !(unicode >= 0x7F && unicode < 0xA0)) appendUtf8(line, unicode);
    std::cout << line << '\n';
    ++listed;
  }
  return listed;
}

}  // namespace

Action setupChars(CLI::App &app) {
  auto set = std::make_shared<std::optional<std::string>>();
  app.add_option("SET", *set, "character set number");
  return [set] {
    if (!*set) {
      for (unsigned each = 0; each <= kLastTableSet; ++each) listSet(each);
      return kExitOk;
    }
    const auto number = parseNumber(**set, kLastTableSet);
    if (!number) throw UsageError{"SET must be a character set number 0-14, not '" + **set + "'"};
    listSet(*number);
    return kExitOk;
  };
}

}  // namespace qstr::cli
