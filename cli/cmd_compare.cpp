// qstr compare [--lang XX] [--case] [--kana] [--explain] A B: compares two
// UTF-8 strings by the multi-level comparison of a language and prints -1, 0
// or 1; --explain adds the values of every position of both strings and the
// level that decided.
#include <cstdio>
#include <iostream>
#include <optional>

#include "cli.h"
#include "languages.h"
#include "qstr14/charset.h"
#include "qstr14/collate.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

using tool::CollationOptions;
using tool::DecidingLevel;

const uint16_t *nativeString(const NativeText &text) {
  return reinterpret_cast<const uint16_t *>(text.native.c_str());
}

NativeText nativeArgument(const std::string &text, const char *which) {
  const auto units = decodeUtf8(text);
  if (!units) throw std::string(which) + " is not UTF-8";
  return toNative(*units);
}

const char *levelName(DecidingLevel level) {
  switch (level) {
    case DecidingLevel::kPrimary: return "primary values";
    case DecidingLevel::kLength: return "length at the primary level (one string runs out first)";
    case DecidingLevel::kSecondary: return "secondary values";
    case DecidingLevel::kCase: return "case";
    case DecidingLevel::kEqual: break;
  }
  return "none: the strings are equal";
}

std::string shown(uint16_t native) {
  const uint16_t unicode = KZcharQX6xToUnicode(native);
  if (unicode == 0xFFFF || unicode < 0x20) return "?";
  std::string out;
  appendUtf8(out, unicode);
  return out;
}

void explainString(const char *label, const NativeText &text, const CollationOptions &options) {
  const bool asian = tool::isAsianLanguage(options.language);
  std::cout << label << ":\n  char  native  primary  secondary  " << (asian ? "flags" : "case") << '\n';
  for (const tool::PositionValues &v : tool::collationValues(nativeString(text), options)) {
    char primary[16];
    if (v.ignorable) {
      std::snprintf(primary, sizeof primary, "ignored");
    } else {
      std::snprintf(primary, sizeof primary, asian ? "0x%04X" : "%u", v.primary);
    }
    char row[96];
    std::snprintf(row, sizeof row, "  %-4s  0x%04X  %-7s  0x%04X     %u\n", shown(v.character).c_str(), v.character,
                  primary, v.secondary, v.caseValue);
    std::cout << row;
  }
}

struct CompareOptions {
  std::string lang;
  bool caseFlag = false, kanaFlag = false, explain = false;
  std::vector<std::string> strings;
};

int runCompare(const CompareOptions &given) {
  const CollationOptions options{languageOption(given.lang, "compare"), given.caseFlag, given.kanaFlag};
  NativeText a, b;
  try {
    a = nativeArgument(given.strings[0], "A");
    b = nativeArgument(given.strings[1], "B");
  } catch (const std::string &message) {
    printError("compare", message);
    return kExitBadInput;
  }
  // The answer is the exported comparison's; the explanation walks the
  // same strings again to say which level decided.
  const int result = QxQS6Cmpcoll(nativeString(a), nativeString(b), options.language, options.caseFlag,
                                  options.kanaFlag);
  std::cout << result << '\n';
  if (given.explain) {
    explainString("A", a, options);
    explainString("B", b, options);
    std::cout << "decided by: " << levelName(tool::compareExplained(nativeString(a), nativeString(b), options).level)
              << '\n';
  }
  return kExitOk;
}

}  // namespace

uint16_t languageOption(const std::string &code, const std::string &command) {
  if (code.empty()) return hostLanguage();
  const std::optional<LanguageChoice> choice = readLanguage(code);
  if (!choice) {
    throw UsageError{"--lang " + code + ": no such language (see 'qstr langs' for the codes and names)"};
  }
  if (!choice->note.empty()) printError(command, choice->note);
  return choice->number;
}

Action setupCompare(CLI::App &app) {
  auto options = std::make_shared<CompareOptions>();
  app.add_option("--lang", options->lang, "language code");
  app.add_flag("--case", options->caseFlag, "case differences count");
  app.add_flag("--kana", options->kanaFlag, "kana differences count");
  app.add_flag("--explain", options->explain, "show the values of every position");
  app.add_option("STRINGS", options->strings, "the two strings A and B")->required()->expected(2);
  return [options] { return runCompare(*options); };
}

}  // namespace qstr::cli
