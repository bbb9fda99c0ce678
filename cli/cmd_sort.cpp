// qstr sort: sorts UTF-8 lines the way the word processor sorts, by the
// multi-level comparison of a language (through sort keys where they are
// exact) or, with --simple, by the one-level sort. The lines written are
// the lines read, byte for byte; only their order changes.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "files.h"
#include "qstr14/frame.h"
#include "sort_engine.h"
#include "sort_order.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

using sorting::Order;
using sorting::SortRecord;

struct SortCommand {
  std::string file;
  std::optional<std::string> output;
  std::string lang;
  bool simple = false, ignoreCase = false, foldCase = false, caseFlag = false, kanaFlag = false;
  bool reverse = false, unique = false, check = false, listLanguages = false;
  std::string separator, key, bufferSize;
  bool separatorGiven = false;
};

bool isLanguageCode(const std::string &code) {
  return !code.empty() && code.size() <= 7 &&
         std::all_of(code.begin(), code.end(), base::isAsciiLetter<char>);
}

// A field number of -k: 1 or more.
unsigned fieldNumber(const std::string &text, const std::string &key) {
  const auto number = text.empty() || text[0] == '0' ? std::nullopt : base::parseNumber(text, 0, 0xFFFFFFu);
  if (!number || text.find_first_not_of("0123456789") != std::string::npos) {
    throw UsageError{"-k takes a field number N or a range N,M (from 1), not '" + key + "'"};
  }
  return *number;
}

// -S/--buffer-size: bytes, or K, M or G of them (powers of 1024).
std::uint64_t bufferSizeOption(const std::string &text) {
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  std::uint64_t unit = 1;
  const std::string suffix = text.substr(digits);
  if (suffix == "K" || suffix == "k") unit = 1ull << 10;
  if (suffix == "M" || suffix == "m") unit = 1ull << 20;
  if (suffix == "G" || suffix == "g") unit = 1ull << 30;
  if (digits == 0 || digits > 12 || (unit == 1 && !suffix.empty())) {
    throw UsageError{"--buffer-size takes a size such as 4096, 64K, 100M or 1G, not '" + text + "'"};
  }
  const std::uint64_t size = std::stoull(text.substr(0, digits)) * unit;
  if (size == 0) throw UsageError{"--buffer-size must be more than 0"};
  return std::min(size, sorting::kLargestBuffer);
}

sorting::OrderOptions orderOptions(const SortCommand &command) {
  sorting::OrderOptions options;
  options.simple = command.simple;
  options.ignoreCase = command.ignoreCase || (command.simple && command.foldCase);
  options.caseFlag = command.caseFlag;
  options.kanaFlag = command.kanaFlag;
  options.reverse = command.reverse;
  if (command.simple) {
    if (!command.lang.empty()) {
      if (!isLanguageCode(command.lang)) {
        throw UsageError{"--lang takes a language code of 1-7 letters, not '" + command.lang + "'"};
      }
      QStrSetLanguage(command.lang.c_str());
    }
  } else {
    options.language = languageOption(command.lang, "sort");
  }
  if (command.separatorGiven) {
    const std::string &separator = command.separator;
    uint32_t character = 0;
    const int length = separator.empty() ? -1
                                         : decodeUtf8(reinterpret_cast<const uint8_t *>(separator.data()),
                                                      separator.size(), character);
    if (length <= 0 || static_cast<std::size_t>(length) != separator.size()) {
      throw UsageError{"-t takes one character, not '" + separator + "'"};
    }
    options.separator = separator;
  }
  if (!command.key.empty()) {
    const std::size_t comma = command.key.find(',');
    options.firstField = fieldNumber(command.key.substr(0, comma), command.key);
    if (comma != std::string::npos) {
      options.lastField = fieldNumber(command.key.substr(comma + 1), command.key);
      if (options.lastField < options.firstField) {
        throw UsageError{"-k " + command.key + ": the range ends before it starts"};
      }
    }
  }
  return options;
}

// -c: the first line out of order, named; nothing when all are in order.
// Reads the input a block at a time, holding two lines.
int checkOrder(const Order &order, InputFile &input, bool strictly) {
  std::string pending, previousLine, previousKey;
  std::vector<uint8_t> key;
  bool havePrevious = false, previousInexact = false, atEnd = false;
  std::uint64_t number = 0;
  std::vector<uint8_t> block(1 << 16);
  while (!atEnd) {
    const std::size_t got = input.read(block.data(), block.size());
    if (got == 0 && !input.error().empty()) {
      printError("sort", input.error());
      return kExitBadInput;
    }
    pending.append(reinterpret_cast<const char *>(block.data()), got);
    atEnd = got == 0;
    if (atEnd && !pending.empty() && pending.back() != '\n') pending += '\n';
    std::size_t start = 0;
    for (std::size_t newline; (newline = pending.find('\n', start)) != std::string::npos; start = newline + 1) {
      ++number;
      const char *line = pending.data() + start;
      const std::size_t length = newline + 1 - start;
      const std::string_view text = sorting::lineText(line, length);
      key.resize(order.keyRoom(text));
      bool inexact = false;
      sorting::BadColumn bad = 0;
      key.resize(order.buildKey(text, key.data(), inexact, bad));
      if (bad != 0) {
        printError("sort", textPosition(input.name(), number, bad) + ": invalid UTF-8");
        return kExitBadInput;
      }
      const SortRecord current{line, length, key.data(), static_cast<uint32_t>(key.size()), inexact};
      if (havePrevious) {
        const SortRecord previous{previousLine.data(), previousLine.size(),
                                  reinterpret_cast<const uint8_t *>(previousKey.data()),
                                  static_cast<uint32_t>(previousKey.size()), previousInexact};
        const int order_ = order.ordered(previous, current);
        if (order_ > 0 || (strictly && order_ == 0)) {
          printError("sort", input.name() + ":" + std::to_string(number) + ": disorder: " + std::string(text));
          return kExitBadInput;
        }
      }
      havePrevious = true;
      previousInexact = inexact;
      previousLine.assign(line, length);
      previousKey.assign(reinterpret_cast<const char *>(key.data()), key.size());
    }
    pending.erase(0, start);
  }
  return kExitOk;
}

int runSort(const SortCommand &command) {
  const Order order(orderOptions(command));
  sorting::EngineSettings settings;
  settings.bufferSize = command.bufferSize.empty() ? sorting::defaultBufferSize() : bufferSizeOption(command.bufferSize);
  settings.unique = command.unique;
  settings.threads = sorting::defaultThreads();
  if (command.check && command.output) throw UsageError{"-c checks the order and writes nothing: drop -o"};

  InputFile input(command.file);
  if (!input.error().empty()) {
    printError("sort", input.error());
    return kExitBadInput;
  }
  if (command.check) return checkOrder(order, input, command.unique);
  OutputFile output(command.output);
  if (!output.error().empty()) {
    printError("sort", output.error());
    return kExitBadInput;
  }
  try {
    sorting::Progress progress;
    sorting::Engine engine(order, settings, progress);
    if (!engine.read(input) || !engine.write(output)) return kExitBadInput;
  } catch (const std::bad_alloc &) {
    printError("sort", "out of memory (a smaller --buffer-size may help)");
    return kExitBadInput;
  }
  if (!output.commit()) {
    printError("sort", output.error());
    return kExitBadInput;
  }
  return kExitOk;
}

}  // namespace

Action setupSort(CLI::App &app) {
  auto command = std::make_shared<SortCommand>();
  app.add_option("--lang", command->lang, "language code");
  CLI::Option *simple = app.add_flag("--simple", command->simple, "the one-level sort");
  app.add_flag("--ignore-case", command->ignoreCase, "lines that differ only in case are equal")->needs(simple);
  CLI::Option *caseFlag = app.add_flag("--case", command->caseFlag, "case differences count")->excludes(simple);
  app.add_flag("--kana", command->kanaFlag, "kana differences count")->excludes(simple);
  app.add_flag("-f,--fold-case", command->foldCase, "case differences do not count")->excludes(caseFlag);
  app.add_flag("-r,--reverse", command->reverse, "the reverse order");
  app.add_flag("-u,--unique", command->unique, "the first of equal lines only");
  app.add_flag("-c,--check", command->check, "check the order");
  app.add_option("-o,--output", command->output, "output file");
  app.add_option("-t,--field-separator", command->separator, "field separator")->each([command](const std::string &) {
    command->separatorGiven = true;
  });
  app.add_option("-k,--key", command->key, "fields compared");
  app.add_option("-S,--buffer-size", command->bufferSize, "memory for lines");
  app.add_option("FILE", command->file, "lines to sort (- for standard input)");
  app.add_flag("--list-langs", command->listLanguages, "list the languages (as qstr langs)");
  return [command] { return command->listLanguages ? printLanguages() : runSort(*command); };
}

}  // namespace qstr::cli
