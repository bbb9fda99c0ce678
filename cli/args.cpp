#include <algorithm>
#include <iostream>

#include "cli.h"

namespace qstr::cli {

bool ParsedArgs::has(const std::string &flag) const {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::optional<std::string> ParsedArgs::value(const std::string &option) const {
  auto found = values.find(option);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

ParsedArgs parseArgs(const std::vector<std::string> &args, const OptionSpec &options,
                     const std::string &command) {
  auto contains = [](const std::vector<std::string> &list, const std::string &name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    const bool shortOption = arg.size() == 2 && arg[0] == '-' && arg[1] != '-' &&
                             (contains(options.valued, arg) || contains(options.flags, arg));
    if (optionsEnded || (!shortOption && (arg.size() < 2 || arg.compare(0, 2, "--") != 0))) {
      if (arg == "--") {
        optionsEnded = true;
        continue;
      }
      parsed.positional.push_back(arg);
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (auto eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    if (contains(options.valued, name)) {
      if (inlineValue) {
        parsed.values[name] = *inlineValue;
      } else if (i + 1 < args.size()) {
        parsed.values[name] = args[++i];
      } else {
        throw UsageError{"option " + name + " needs a value"};
      }
    } else if ((contains(options.flags, name) || name == "--help") && !inlineValue) {
      parsed.flags.push_back(name);
    } else {
      throw UsageError{"unknown option " + arg + " (see 'qstr " + command + " --help')"};
    }
  }
  return parsed;
}

void printError(const std::string &command, const std::string &message) {
  std::cerr << "qstr";
  if (!command.empty()) std::cerr << ' ' << command;
  std::cerr << ": " << message << '\n';
}

}  // namespace qstr::cli
