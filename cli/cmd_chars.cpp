// qstr chars [SET]: the native characters of one set or of all, with their
// Unicode values and the characters themselves.
#include <iostream>

#include "charset/unicode_mapping.h"
#include "cli.h"
#include "qstr14/charset.h"
#include "text.h"

namespace qstr::cli {
namespace {

constexpr unsigned kLastTableSet = 14;

// Lists every valid code of `set` that maps to Unicode; returns how many.
int listSet(unsigned set) {
  const charset::ValidityRange range = charset::validityRange(set);
  int listed = 0;
  for (unsigned code = range.lowest; code <= range.highest; ++code) {
    const uint16_t native = static_cast<uint16_t>(set << 8 | code);
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

int runChars(const std::vector<std::string> &args) {
  ParsedArgs parsed = parseArgs(args, {}, "chars");
  if (parsed.has("--help")) {
    std::cout << findCommand("chars").usage;
    return kExitOk;
  }
  if (parsed.positional.size() > 1) throw UsageError{"expected at most one SET"};
  if (parsed.positional.empty()) {
    for (unsigned set = 0; set <= kLastTableSet; ++set) listSet(set);
    return kExitOk;
  }
  const auto set = parseNumber(parsed.positional[0], kLastTableSet);
  if (!set) throw UsageError{"SET must be a character set number 0-14, not '" + parsed.positional[0] + "'"};
  listSet(*set);
  return kExitOk;
}

}  // namespace qstr::cli
