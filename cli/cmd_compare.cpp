// qstr compare [--lang XX] [--case] [--kana] [--explain] [--porcelain] A B:
// compares two UTF-8 strings by the multi-level comparison of a language
// and says in words which sorts first and what decided it ("llama > luz
// (ES, decided by the letters: ll sorts after l)"); --porcelain prints the
// bare -1, 0 or 1 for scripts. --explain adds the values of every position
// of both strings, a contracted pair or an expanded letter on one row.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>

#include "cli.h"
#include "languages.h"
#include "qstr14/charset.h"
#include "qstr14/collate.h"
#include "table.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

using tool::CollationOptions;
using tool::DecidingLevel;
using tool::PositionValues;

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

// A string as the comparison walks it: the values of its positions, and
// the positions grouped by the characters of the string they came from.
// A group is one position, or a contracted pair or an expanded letter with
// the position of the letter it holds back.
struct Walked {
  const NativeText *text;
  std::vector<PositionValues> positions;
  struct Group {
    std::size_t first, count;  // positions
  };
  std::vector<Group> groups;

  Walked(const NativeText &t, const CollationOptions &options)
      : text(&t), positions(tool::collationValues(nativeString(t), options)) {
    for (std::size_t i = 0; i < positions.size(); ++i) {
      if (positions[i].length == 0 && !groups.empty()) {
        ++groups.back().count;
      } else {
        groups.push_back({i, 1});
      }
    }
  }

  // The characters of the string the group took, as typed.
  std::string source(const Group &group) const {
    const PositionValues &first = positions[group.first];
    return encodeUtf8(std::u16string_view(text->source).substr(first.offset, std::max<std::size_t>(first.length, 1)));
  }

  // What the language made of the group's characters, or empty when it
  // took them one position a character: "ll sorts after l", "ß sorts as ss".
  std::string tailoring(const Group &group) const {
    const PositionValues &first = positions[group.first];
    if (first.length > 1) return source(group) + " sorts after " + shown(first.character);
    if (group.count > 1) {
      std::string letters;
      for (std::size_t i = group.first; i < group.first + group.count; ++i) letters += shown(positions[i].character);
      return source(group) + " sorts as " + letters;
    }
    return "";
  }

  const Group *groupOf(std::size_t position) const {
    for (const Group &group : groups) {
      if (position >= group.first && position < group.first + group.count) return &group;
    }
    return nullptr;
  }
};

// The first position (counted over the positions that take part at the
// level) where the two strings differ at `level`, in each string; nothing
// when the level did not decide at a position.
std::optional<std::pair<std::size_t, std::size_t>> decidingPositions(const Walked &a, const Walked &b,
                                                                     DecidingLevel level) {
  if (level == DecidingLevel::kEqual || level == DecidingLevel::kLength) return std::nullopt;
  const bool primary = level == DecidingLevel::kPrimary;
  const auto value = [level](const PositionValues &v) -> unsigned {
    return level == DecidingLevel::kPrimary ? v.primary : level == DecidingLevel::kSecondary ? v.secondary : v.caseValue;
  };
  std::size_t i = 0, j = 0;
  for (;;) {
    while (primary && i < a.positions.size() && a.positions[i].ignorable) ++i;
    while (primary && j < b.positions.size() && b.positions[j].ignorable) ++j;
    if (i >= a.positions.size() || j >= b.positions.size()) return std::nullopt;
    if (value(a.positions[i]) != value(b.positions[j])) return std::make_pair(i, j);
    ++i, ++j;
  }
}

// The level that decided, in words: "letters", "accents", "case", "kana".
std::string levelWords(DecidingLevel level, const CollationOptions &options) {
  switch (level) {
    case DecidingLevel::kPrimary: return "the letters";
    case DecidingLevel::kLength: return "the length";
    case DecidingLevel::kSecondary: return "the accents";
    case DecidingLevel::kCase:
      if (!tool::isAsianLanguage(options.language)) return "case";
      return options.caseFlag && options.kanaFlag ? "case or kana" : options.kanaFlag ? "kana" : "case";
    case DecidingLevel::kEqual: break;
  }
  return "";
}

// One line: "A < B (XX, decided by ...)".
std::string verdict(const std::string &textA, const std::string &textB, int result, const Walked &a,
                    const Walked &b, const tool::Comparison &how, const CollationOptions &options) {
  std::string line = textA + (result < 0 ? " < " : result > 0 ? " > " : " = ") + textB + " (" +
                     kLanguages[options.language].code + ", ";
  if (how.level == DecidingLevel::kEqual) return line + "no level that counts tells them apart)";
  line += "decided by " + levelWords(how.level, options);
  if (how.level == DecidingLevel::kLength) {
    return line + ": " + (result < 0 ? textA : textB) + " runs out first)";
  }
  if (const auto at = decidingPositions(a, b, how.level)) {
    std::string tailored;
    if (const Walked::Group *group = a.groupOf(at->first)) tailored = a.tailoring(*group);
    if (const Walked::Group *group = b.groupOf(at->second); tailored.empty() && group != nullptr) {
      tailored = b.tailoring(*group);
    }
    if (!tailored.empty()) line += ": " + tailored;
  }
  return line + ")";
}

void explainString(const char *label, const Walked &walked, const CollationOptions &options) {
  const bool asian = tool::isAsianLanguage(options.language);
  std::cout << label << ":\n";
  Table table({"char", "native", "primary", "secondary", asian ? "flags" : "case", "note"});
  for (const Walked::Group &group : walked.groups) {
    std::string natives, primaries, secondaries, cases;
    for (std::size_t i = group.first; i < group.first + group.count; ++i) {
      const PositionValues &v = walked.positions[i];
      const char *space = i == group.first ? "" : " ";
      char primary[16];
      if (v.ignorable) {
        std::snprintf(primary, sizeof primary, "ignored");
      } else {
        std::snprintf(primary, sizeof primary, asian ? "0x%04X" : "%u", v.primary);
      }
      char secondary[8];
      std::snprintf(secondary, sizeof secondary, "0x%04X", v.secondary);
      natives += space + hex4(v.character);
      primaries += space + std::string(primary);
      secondaries += space + std::string(secondary);
      cases += space + std::to_string(v.caseValue);
    }
    const PositionValues &first = walked.positions[group.first];
    std::string chars = first.length == 0 ? shown(first.character) : walked.source(group);
    table.add({chars, natives, primaries, secondaries, cases, walked.tailoring(group)});
  }
  table.print(std::cout);
}

struct CompareOptions {
  std::string lang;
  bool caseFlag = false, kanaFlag = false, explain = false, porcelain = false;
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
  const tool::Comparison how = tool::compareExplained(nativeString(a), nativeString(b), options);
  const Walked walkedA(a, options), walkedB(b, options);
  if (given.porcelain) {
    std::cout << result << '\n';
  } else {
    std::cout << verdict(given.strings[0], given.strings[1], result, walkedA, walkedB, how, options) << '\n';
  }
  if (given.explain) {
    explainString("A", walkedA, options);
    explainString("B", walkedB, options);
    std::cout << "decided by: " << levelName(how.level) << '\n';
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
  app.add_flag("--porcelain", options->porcelain, "print only -1, 0 or 1");
  app.add_option("STRINGS", options->strings, "the two strings A and B")->required()->expected(2);
  return [options] { return runCompare(*options); };
}

}  // namespace qstr::cli
