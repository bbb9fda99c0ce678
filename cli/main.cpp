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
       "usage: qstr sort [--lang XX] [--case] [--kana] [FILE]\n"
       "       qstr sort --simple [--lang XX] [--ignore-case] [FILE]\n\n"
       "Sorts the UTF-8 lines of FILE (or of standard input) and writes them to\n"
       "standard output. Equal lines keep their order. Lines end with LF or\n"
       "CR LF, which are kept. Characters without a native form are passed over.\n\n"
       "By default lines sort by the multi-level comparison of language XX (one\n"
       "of the two-letter codes that 'qstr compare --help' lists; default US,\n"
       "the plain order): letters first, with the language's tailoring,\n"
       "contractions and expansions, then the first accent difference, then,\n"
       "with --case, the first case difference (lower case first; upper case\n"
       "first for GR). --kana makes hiragana and katakana differ in the Asian\n"
       "languages (JP KR CT CS LA TA), which need an East Asian code page\n"
       "(QSTR14_ACP) to read their characters.\n\n"
       "--simple compares character by character by the sort sequence of\n"
       "language XX (default: the current language, EN), accented letters with\n"
       "their base letters unless the language orders them apart; at the first\n"
       "position where two lines differ only in case, lower case comes first.\n"
       "--ignore-case makes such lines equal.\n",
       runSort},
      {"compare", "compare two strings the way the word processor sorts",
       "usage: qstr compare [--lang XX] [--case] [--kana] [--explain] A B\n\n"
       "Compares the UTF-8 strings A and B by the multi-level comparison of\n"
       "language XX and prints -1 (A sorts first), 0 or 1. --case and --kana\n"
       "make case and kana differences count, as for 'qstr sort'. --explain\n"
       "also prints the primary, secondary and case values of every position\n"
       "of both strings and the level that decided.\n\n"
       "Languages: US AF AR CA HR CZ DK NL OZ CE UK FA SU CF FR GA DE SD GR HE\n"
       "MA IS IT NO PL BR PO RU SL ES SV YK UR TK JP KR CT CS LA TA; AR FA HE UR\n"
       "are right-to-left, JP KR CT CS LA TA Asian.\n",
       runCompare},
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
