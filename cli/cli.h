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

namespace qstr::tool {
struct Setting;  // tool_support.h
}

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

// ---- Settings (cmd_info.cpp) ----

// The settings as info and codepage show them: a table of name, value,
// where the value came from, and why an override was not used.
void printSettings(const std::vector<tool::Setting> &settings);

// ---- Languages of the multi-level comparison (cmd_compare.cpp) ----

// The language number of a --lang value of `command`: the word processor's
// code, an ISO 639-1 code or a locale name (languages.h); for an empty one,
// the host locale's language. Says on standard error which language it
// took when the value reads as two; a UsageError when it reads as none.
uint16_t languageOption(const std::string &code, const std::string &command);

Action setupInfo(CLI::App &app);
Action setupChars(CLI::App &app);
Action setupCodepage(CLI::App &app);
Action setupRegistry(CLI::App &app);
Action setupConvert(CLI::App &app);
Action setupDump(CLI::App &app);
Action setupSort(CLI::App &app);
Action setupCompare(CLI::App &app);
Action setupLangs(CLI::App &app);
// The table of languages that `qstr langs` and `qstr sort --list-langs` print.
int printLanguages();

}  // namespace qstr::cli
