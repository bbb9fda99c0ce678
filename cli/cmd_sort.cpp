// qstr sort --simple [--lang XX] [--ignore-case] [FILE]: sorts UTF-8 lines
// the way the word processor's simple sort does, by the sort sequence of
// the current language. Without --simple the command sorts by the
// multi-level comparison (cmd_sort_multilevel.cpp).
#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "cli.h"
#include "qstr14/frame.h"
#include "qstr14/strings.h"
#include "text.h"

namespace qstr::cli {

const uint16_t *nativeString(const Line &line) {
  return reinterpret_cast<const uint16_t *>(line.text.native.c_str());
}

namespace {

bool isLanguageCode(const std::string &code) {
  return !code.empty() && code.size() <= 7 &&
         std::all_of(code.begin(), code.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

}  // namespace

// Splits the input into lines ended by LF or CR LF (a last line may have
// neither); null and a message for a line that is not UTF-8.
std::optional<std::vector<Line>> readLines(const std::string &bytes, const std::string &name) {
  std::vector<Line> lines;
  std::size_t start = 0;
  for (std::size_t number = 1; start < bytes.size(); ++number) {
    std::size_t end = bytes.find('\n', start);
    const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    const bool crlf = end > start && end < bytes.size() && bytes[end - 1] == '\r';
    const auto units = decodeUtf8(std::string_view(bytes).substr(start, end - start - (crlf ? 1 : 0)));
    if (!units) {
      printError("sort", name + ": line " + std::to_string(number) + ": invalid UTF-8");
      return std::nullopt;
    }
    lines.push_back({toNative(*units), crlf ? "\r\n" : "\n"});
    start = next;
  }
  return lines;
}

std::optional<std::string> readInput(const std::string &file, std::string &name) {
  if (file.empty() || file == "-") {
    name = "(standard input)";
    return std::string(std::istreambuf_iterator<char>(std::cin), {});
  }
  name = file;
  std::ifstream in(name, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

int runSortSimple(const SortOptions &options) {
  if (!options.lang.empty()) {
    if (!isLanguageCode(options.lang)) {
      throw UsageError{"--lang takes a language code of 1-7 letters, not '" + options.lang + "'"};
    }
    QStrSetLanguage(options.lang.c_str());
  }
  std::string name;
  const auto input = readInput(options.file, name);
  if (!input) {
    printError("sort", name + ": cannot open");
    return kExitBadInput;
  }
  auto lines = readLines(*input, name);
  if (!lines) return kExitBadInput;

  const auto compare = options.ignoreCase ? Q6wstricmp : Q6wstrcmp;
  std::stable_sort(lines->begin(), lines->end(), [compare](const Line &a, const Line &b) {
    return compare(nativeString(a), nativeString(b)) < 0;
  });
  for (const Line &line : *lines) std::cout << encodeUtf8(fromNative(line.text)) << line.ending;
  return kExitOk;
}

Action setupSort(CLI::App &app) {
  auto options = std::make_shared<SortOptions>();
  app.add_option("--lang", options->lang, "language code");
  CLI::Option *simple = app.add_flag("--simple", options->simple, "the one-level sort");
  app.add_flag("--ignore-case", options->ignoreCase, "lines that differ only in case are equal")->needs(simple);
  app.add_flag("--case", options->caseFlag, "case differences count")->excludes(simple);
  app.add_flag("--kana", options->kanaFlag, "kana differences count")->excludes(simple);
  app.add_option("FILE", options->file, "lines to sort (- for standard input)");
  return [options] { return options->simple ? runSortSimple(*options) : runSortMultilevel(*options); };
}

}  // namespace qstr::cli
