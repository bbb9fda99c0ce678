// Shared pieces of the qstr tool: subcommand table, argument parsing and
// the one-line error convention (exit 1 bad input, 2 bad usage).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "text.h"

namespace qstr::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;
inline constexpr int kExitUsage = 2;

// What a subcommand accepts: options that take a value and flags that do not.
struct OptionSpec {
  std::vector<std::string> valued;  // e.g. "--from"
  std::vector<std::string> flags;   // e.g. "--strict"
};

struct ParsedArgs {
  std::map<std::string, std::string> values;
  std::vector<std::string> flags;
  std::vector<std::string> positional;

  bool has(const std::string &flag) const;
  std::optional<std::string> value(const std::string &option) const;
};

// Thrown for bad usage; main prints it and exits with kExitUsage.
struct UsageError {
  std::string message;
};

// Parses "--opt value", "--opt=value", "--flag", the one-letter options the
// options name ("-o value") and positional arguments; "--" ends the options.
// "--help" is always a flag.
ParsedArgs parseArgs(const std::vector<std::string> &args, const OptionSpec &options,
                     const std::string &command);

// Prints "qstr COMMAND: message" to standard error.
void printError(const std::string &command, const std::string &message);

struct Command {
  const char *name;
  const char *summary;
  const char *usage;  // full --help text
  int (*run)(const std::vector<std::string> &args);
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

// The contents of FILE (positional[0]) or of standard input ("-" or none);
// null when the file cannot be read. `name` says which, for messages.
std::optional<std::string> readInput(const std::vector<std::string> &positional, std::string &name);

// ---- Languages of the multi-level comparison (cmd_compare.cpp) ----

// The language number of --lang (one of the 40 two-letter codes, in either
// case), 0 without the option; a UsageError for anything else.
uint16_t languageOption(const ParsedArgs &parsed);

int runInfo(const std::vector<std::string> &args);
int runChars(const std::vector<std::string> &args);
int runCodepage(const std::vector<std::string> &args);
int runRegistry(const std::vector<std::string> &args);
int runConvert(const std::vector<std::string> &args);
int runDump(const std::vector<std::string> &args);
int runSort(const std::vector<std::string> &args);
int runSortMultilevel(const std::vector<std::string> &args);
int runCompare(const std::vector<std::string> &args);

}  // namespace qstr::cli
