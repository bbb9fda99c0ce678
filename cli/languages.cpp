// Reading --lang values and locale names as languages of the multi-level
// comparison.
#include "languages.h"

#include <algorithm>

#include "tool_support.h"

namespace qstr::cli {
namespace {

char lower(char c) { return base::toAsciiLower(c); }
char upper(char c) { return base::toAsciiUpper(c); }

bool isLetters(const std::string &text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), base::isAsciiLetter<char>);
}

std::optional<uint16_t> productCode(const std::string &code) {
  for (uint16_t n = 0; n < kLanguageCount; ++n) {
    if (code == kLanguages[n].code) return n;
  }
  return std::nullopt;
}

bool hasTerritory(const Language &language, const std::string &territory) {
  const std::string list = std::string(" ") + language.territories + " ";
  return !territory.empty() && list.find(" " + territory + " ") != std::string::npos;
}

// "Czech (CZ)", "Chinese (Simplified, CS)".
std::string described(uint16_t number) {
  std::string name = kLanguages[number].name;
  if (name.ends_with(')')) return name.substr(0, name.size() - 1) + ", " + kLanguages[number].code + ")";
  return name + " (" + kLanguages[number].code + ")";
}

}  // namespace

std::optional<uint16_t> localeLanguage(const std::string &locale) {
  // language[_-]territory[.codeset][@modifier]
  const std::string name = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t split = name.find_first_of("_-");
  std::string iso = name.substr(0, split), territory;
  if (split != std::string::npos) territory = name.substr(split + 1);
  if (!isLetters(iso) || iso.size() != 2 || (!territory.empty() && !isLetters(territory))) return std::nullopt;
  for (char &c : iso) c = lower(c);
  for (char &c : territory) c = upper(c);
  std::optional<uint16_t> first, unmarked;
  for (uint16_t n = 0; n < kLanguageCount; ++n) {
    const Language &language = kLanguages[n];
    if (iso != language.iso) continue;
    if (hasTerritory(language, territory)) return n;
    if (!first) first = n;
    if (!unmarked && language.territories[0] == '\0') unmarked = n;
  }
  return unmarked ? unmarked : first;
}

std::optional<LanguageChoice> readLanguage(const std::string &value) {
  // The word processor's code exactly as it is written ("CZ", "CS"), then
  // an ISO code or locale name ("cs", "cs_CZ", "EN"), then the product code
  // in lower case ("dk"), which no other reading claims. -1: no reading.
  std::string folded = value, lowered = value;
  for (char &c : folded) c = upper(c);
  for (char &c : lowered) c = lower(c);
  const auto number = [](std::optional<uint16_t> n) { return n ? int{*n} : -1; };
  const int product = value.size() == 2 ? number(productCode(folded)) : -1;
  const int iso = number(localeLanguage(value));
  const auto chosen = [&value](int language, const std::string &other, int otherLanguage) {
    LanguageChoice choice{static_cast<uint16_t>(language), ""};
    if (otherLanguage >= 0 && otherLanguage != language) {
      choice.note = "--lang " + value + ": " + described(static_cast<uint16_t>(language)) + "; " + other + " is " +
                    described(static_cast<uint16_t>(otherLanguage));
    }
    return choice;
  };
  if (product >= 0 && value == folded) return chosen(product, lowered, iso);
  if (iso >= 0) return chosen(iso, folded, product);
  if (product >= 0) {
    return LanguageChoice{static_cast<uint16_t>(product), "--lang " + value + ": " + described(static_cast<uint16_t>(product))};
  }
  return std::nullopt;
}

uint16_t hostLanguage() {
  // The locale of the library's host profile (QSTR14_LOCALE, LC_ALL,
  // LC_CTYPE, LANG), as the rest of the library sees it; Windows has none.
  return localeLanguage(tool::hostLocale()).value_or(0);
}

}  // namespace qstr::cli
