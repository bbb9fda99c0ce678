// qstr: the command-line face of the qstr14 library.
#include <iostream>

#include "cli.h"
#include "qstr14/version.h"

namespace qstr::cli {

const std::vector<Command> &commands() {
  static const std::vector<Command> table = {
      {"info", "show what the library sees of this machine",
       "usage: qstr info\n\n"
       "Prints the system language ID, the ANSI and OEM code pages, double-byte\n"
       "support, the keyboard language, the registry file and the current\n"
       "language, each with where its value came from.\n",
       runInfo},
      {"chars", "list native characters with their Unicode values",
       "usage: qstr chars [SET]\n\n"
       "Lists the native characters of character set SET (0-14, decimal or\n"
       "0x...), or of every set: native value, Unicode value, the character.\n"
       "Sets 0 (above 0x7F) and 12 follow the ANSI code page.\n",
       runChars},
      {"sort", "sort lines the way the word processor sorts",
       "usage: qstr sort --simple [--lang XX] [--ignore-case] [FILE]\n\n"
       "Sorts the UTF-8 lines of FILE (or of standard input) by the sort sequence\n"
       "of language XX (default: the current language, EN) and writes them to\n"
       "standard output. --simple compares character by character, accented\n"
       "letters with their base letters unless the language orders them apart;\n"
       "at the first position where two lines differ only in case, lower case\n"
       "comes first. --ignore-case makes such lines equal. Equal lines keep their\n"
       "order. Lines end with LF or CR LF, which are kept.\n",
       runSort},
  };
  return table;
}

const Command &findCommand(const std::string &name) {
  for (const Command &command : commands()) {
    if (name == command.name) return command;
  }
  throw UsageError{"unknown command '" + name + "'"};
}

namespace {

void printMainHelp() {
  std::cout << "usage: qstr [--version] [--help] COMMAND [ARGS]\n\ncommands:\n";
  for (const Command &command : commands()) {
    std::cout << "  " << command.name << std::string(12 - std::string(command.name).size(), ' ')
              << command.summary << '\n';
  }
  std::cout << "\n'qstr COMMAND --help' describes a command.\n";
}

}  // namespace
}  // namespace qstr::cli

int main(int argc, char **argv) {
  using namespace qstr::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    printMainHelp();
    return args.empty() ? kExitUsage : kExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "qstr " << QSTR14_VERSION_STRING << '\n';
    return kExitOk;
  }
  for (const Command &command : commands()) {
    if (args[0] != command.name) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
      return command.run(rest);
    } catch (const UsageError &error) {
      printError(command.name, error.message);
      return kExitUsage;
    }
  }
  printError("", "unknown command '" + args[0] + "' (see 'qstr --help')");
  return kExitUsage;
}
