// Shared pieces of the qstr tool: subcommand table, argument parsing and
// the one-line error convention (exit 1 bad input, 2 bad usage).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

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

// Parses "--opt value", "--opt=value", "--flag" and positional arguments;
// "--" ends the options. "--help" is always a flag.
ParsedArgs parseArgs(const std::vector<std::string> &args, const OptionSpec &spec,
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

int runInfo(const std::vector<std::string> &args);
int runChars(const std::vector<std::string> &args);
int runSort(const std::vector<std::string> &args);

}  // namespace qstr::cli
