// Shared pieces of the qstr tool: the subcommand table and the one-line
// error convention (exit 1 bad input, 2 bad usage). Arguments are parsed by
// CLI11: each subcommand registers its options and positional arguments.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "text.h"

namespace qstr::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;
inline constexpr int kExitUsage = 2;

// Thrown for bad usage; main prints it and exits with kExitUsage.
struct UsageError {
  std::string message;
};

// Prints "qstr COMMAND: message" to standard error.
void printError(const std::string &command, const std::string &message);

// Where in an input something is, as messages give it: "NAME:LINE:COLUMN"
// in text (line and column from 1, the column in characters), and
// "NAME: byte N" in binary forms (N from 0).
std::string textPosition(const std::string &name, std::uint64_t line, std::uint64_t column);
std::string bytePosition(const std::string &name, std::uint64_t offset);

// What runs a subcommand once its arguments are parsed: an exit status.
using Action = std::function<int()>;

// A subcommand: its options are registered on `app` by `setup`, which
// returns the action that reads them.
struct Command {
  const char *name;
  const char *summary;
  const char *usage;  // full --help text
  Action (*setup)(CLI::App &app);
};

const std::vector<Command> &commands();
const Command &findCommand(const std::string &name);

// ---- Lines to sort (cmd_sort.cpp) ----

struct Line {
  NativeText text;
  const char *ending;  // written back after the line: "\n" or "\r\n"
};

// The line's native characters, terminated.
const uint16_t *nativeString(const Line &line);

// Splits the input into lines ended by LF or CR LF (a last line may have
// neither); null, after a message, when a line is not UTF-8.
std::optional<std::vector<Line>> readLines(const std::string &bytes, const std::string &name);

// The contents of FILE, or of standard input when FILE is empty or "-";
// null when the file cannot be read. `name` says which, for messages.
std::optional<std::string> readInput(const std::string &file, std::string &name);

// ---- Languages of the multi-level comparison (cmd_compare.cpp) ----

// The language number of a --lang value (one of the 40 two-letter codes, in
// either case), 0 for an empty one; a UsageError for anything else.
uint16_t languageOption(const std::string &code);

Action setupInfo(CLI::App &app);
Action setupChars(CLI::App &app);
Action setupCodepage(CLI::App &app);
Action setupRegistry(CLI::App &app);
Action setupConvert(CLI::App &app);
Action setupDump(CLI::App &app);
Action setupSort(CLI::App &app);
Action setupCompare(CLI::App &app);

// The two ways of sorting (cmd_sort.cpp, cmd_sort_multilevel.cpp).
struct SortOptions {
  std::string file;
  std::string lang;
  bool simple = false;
  bool ignoreCase = false;
  bool caseFlag = false;
  bool kanaFlag = false;
};
int runSortSimple(const SortOptions &options);
int runSortMultilevel(const SortOptions &options);

}  // namespace qstr::cli
