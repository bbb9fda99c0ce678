// qstr: the command-line face of the qstr14 library.
#include <algorithm>
#include <iostream>
#include <memory>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

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
       setupInfo},
      {"chars", "list native characters with their Unicode values",
       "usage: qstr chars [SET]\n\n"
       "Lists the native characters of character set SET (0-14, decimal or\n"
       "0x...), or of every set, each set under its number and name: native\n"
       "value, Unicode value and the character. Set 12 follows the ANSI code\n"
       "page.\n\n"
       "On a terminal the columns are aligned; into a pipe or a file they are\n"
       "separated by tabs.\n",
       setupChars},
      {"dump", "list the items of a document stream",
       "usage: qstr dump [--raw] FILE\n\n"
       "Lists the items of the document stream in FILE (- for standard input):\n"
       "offset, length in bytes, and what the item is in words: a character, a\n"
       "character group with its native character and Unicode value, a function\n"
       "(a line end, a paragraph end, a space, or formatting), an attribute\n"
       "switched on or off, a group of formatting, the terminator. Stops with an\n"
       "error at the first malformed item: a group whose end does not match its\n"
       "start, a length that runs past the end.\n\n"
       "--raw prints the terse form instead: offset, kind, length, and the\n"
       "character, function code or attribute. On a terminal the columns are\n"
       "aligned; into a pipe or a file they are separated by tabs (not --raw).\n",
       setupDump},
      {"codepage", "show or set the DOS and Windows code pages",
       "usage: qstr codepage [--set-windows N | --list]\n\n"
       "Shows the registry location and the DOS and Windows code pages the\n"
       "library uses, each with where it comes from (registry, country ID,\n"
       "system). --set-windows N stores N as the Windows code page.\n\n"
       "--list lists every code page qstr knows: the library's number, the\n"
       "Windows number, the kind (Windows, DOS, ISO, Mac, double-byte, Unicode),\n"
       "whether it converts here, and the names 'qstr convert' accepts for it\n"
       "(in any case). A single-byte page converts through the library's own\n"
       "tables; a double-byte page also needs the host's converter (iconv;\n"
       "on Windows the system's) for its double-byte characters. On a terminal\n"
       "the columns are aligned; into a pipe or a file they are separated by\n"
       "tabs.\n",
       setupCodepage},
      {"registry", "list the library's registry values",
       "usage: qstr registry\n\n"
       "Lists the values under the library's registry location with their\n"
       "types. A registry file that does not parse is reported with its line.\n",
       setupRegistry},
      {"convert", "convert text between forms and code pages",
       "usage: qstr convert --from FORM --to FORM [--codepage CODEPAGE] [-o OUT]\n"
       "                    [--strict] [--bom] [FILE]\n\n"
       "Converts FILE (or standard input) from one form to another:\n"
       "  utf8, utf16le   Unicode text\n"
       "  ansi, oem       the library's Windows and DOS code pages\n"
       "  CODEPAGE        any code page of 'qstr codepage --list' by any of its\n"
       "                  names, in any case: cp1252, windows-1252, ibm850,\n"
       "                  latin1, iso-8859-1, cp28591 (= cp18851), mac, sjis,\n"
       "                  gbk, uhc, big5, ...; utf-8 and utf-16le name the\n"
       "                  Unicode forms. An unknown name is refused with the\n"
       "                  nearest names.\n"
       "  native          native string: 16-bit little-endian elements\n"
       "  dz              document stream (written with its terminating zero)\n"
       "  tz              text form (output only)\n"
       "  v5dz            the previous format version's stream (double-byte with\n"
       "                  --codepage cp932); checked whole before it converts\n"
       "  v5cdz-big5      its Chinese double-byte form, Traditional (input only)\n"
       "  v5cdz-gb        its Chinese double-byte form, Simplified (input only)\n"
       "--codepage CODEPAGE names the code page whose double-byte characters\n"
       "native and dz text holds (default: the library's Windows code page); a\n"
       "CODEPAGE form sets it too. Line breaks travel as the native control codes.\n\n"
       "Between utf8 and utf16le nothing is lost: characters pass unchanged,\n"
       "those above U+FFFF as surrogate pairs in UTF-16. Every other conversion\n"
       "goes through native characters. A character without a mapping is\n"
       "dropped or becomes '?' or U+FFFD; each such change is counted on\n"
       "standard error and the first five are named with their place in the\n"
       "input (LINE:COLUMN in text, byte N in native and stream forms). With\n"
       "--strict the first change is an error (exit status 1) and no output\n"
       "file is written.\n\n"
       "The forms themselves change some characters, and say so when they do:\n"
       "  dz      a form feed is stored as a line break and reads back as a line\n"
       "          end (U+000A); the function 0x80 reads as a space; functions\n"
       "          and groups other than line and paragraph ends and attributes\n"
       "          are formatting and are passed over\n"
       "  v5dz    a tab is dropped\n"
       "  tz      a form feed is dropped; LF and CR each end a line (0x0D)\n"
       "Attributes and functions travel only between native, dz and tz; text\n"
       "forms leave them out.\n\n"
       "A byte order mark (EF BB BF, FF FE) at the start of utf8 or utf16le\n"
       "input is understood and not counted as a change; between utf8 and\n"
       "utf16le it is carried over. --bom begins utf8 or utf16le output with\n"
       "one. With -o the output is written under a temporary name and renamed\n"
       "only on success.\n",
       setupConvert},
      {"sort", "sort lines the way the word processor sorts",
       "usage: qstr sort [--lang XX] [--case] [--kana] [OPTIONS] [FILE]\n"
       "       qstr sort --simple [--lang XX] [--ignore-case] [OPTIONS] [FILE]\n\n"
       "Sorts the UTF-8 lines of FILE (or of standard input) and writes them to\n"
       "standard output. Each line is written byte for byte as it was read, with\n"
       "its own line end (LF or CR LF); a last line without one gets an LF, as\n"
       "every line ends. Equal lines keep their order. Lines that are not UTF-8\n"
       "are an error that names the line and column. Characters without a\n"
       "native form are passed over by the comparison.\n\n"
       "By default lines sort by the multi-level comparison of language XX:\n"
       "letters first, with the language's tailoring, contractions and\n"
       "expansions, then the first accent difference, then, with --case, the\n"
       "first case difference (lower case first; upper case first for GR).\n"
       "--kana makes hiragana and katakana differ in the Asian languages (JP KR\n"
       "CT CS LA TA), which need an East Asian code page (QSTR14_ACP) to read\n"
       "their characters.\n\n"
       "XX is the word processor's code in capitals (CZ Czech, DK Danish, SV\n"
       "Swedish, CS Chinese (Simplified)), an ISO 639-1 code or a locale name\n"
       "(cs, da, sv_SE, en-GB); 'qstr langs' or --list-langs lists the 40\n"
       "languages. When XX reads as two languages (CS, cs) standard error says\n"
       "which it took.\n"
       "Without --lang the language is that of the locale the library uses (the\n"
       "first of QSTR14_LOCALE, LC_ALL, LC_CTYPE and LANG that is set; see 'qstr\n"
       "info'), else US (the plain order).\n\n"
       "--simple compares character by character by the sort sequence of\n"
       "language XX (default: the current language, EN), accented letters with\n"
       "their base letters unless the language orders them apart; at the first\n"
       "position where two lines differ only in case, lower case comes first.\n"
       "--ignore-case makes such lines equal.\n\n"
       "Options:\n"
       "  -o, --output FILE     write to FILE, which appears only when complete;\n"
       "                        it may be the input\n"
       "  -r, --reverse         the reverse order (equal lines still keep theirs)\n"
       "  -u, --unique          of lines that compare equal, only the first\n"
       "  -c, --check           write nothing; exit status 1 and 'FILE:LINE:\n"
       "                        disorder: LINE' at the first line out of order\n"
       "                        (with -u, also at a line equal to the one before)\n"
       "  -f, --fold-case       case differences do not count: the multi-level\n"
       "                        default, --ignore-case with --simple\n"
       "  -k, --key N[,M]       compare fields N to M (from 1; without M, to the\n"
       "                        end of the line); lines equal there keep their order\n"
       "  -t, --field-separator C\n"
       "                        fields are separated by the character C; without\n"
       "                        -t, by runs of spaces and tabs, which belong to no\n"
       "                        field\n"
       "  -S, --buffer-size SIZE\n"
       "                        memory for lines and their keys, in bytes or with\n"
       "                        K, M or G (default: a quarter of the memory, at most\n"
       "                        1G); larger inputs are sorted in runs written to\n"
       "                        temporary files in $TMPDIR and merged\n"
       "On a terminal, standard error shows the progress of a long sort.\n",
       setupSort},
      {"compare", "compare two strings the way the word processor sorts",
       "usage: qstr compare [--lang XX] [--case] [--kana] [--explain]\n"
       "                    [--porcelain] A B\n\n"
       "Compares the UTF-8 strings A and B by the multi-level comparison of\n"
       "language XX and says which sorts first and what decided it, as in\n"
       "'llama > luz (ES, decided by the letters: ll sorts after l)': the\n"
       "language, the level (the letters, the accents, case, kana or the\n"
       "length) and the language's contraction or expansion where one decided.\n"
       "--porcelain prints only -1 (A sorts first), 0 or 1, for scripts. --case\n"
       "and --kana make case and kana differences count, as for 'qstr sort'.\n"
       "--explain also prints the primary, secondary and case values of every\n"
       "position of both strings, a contracted pair or an expanded letter on\n"
       "one row, and the level that decided.\n\n"
       "XX is the word processor's code in capitals (CZ), an ISO 639-1 code or\n"
       "a locale name (cs, cs_CZ), read as for 'qstr sort'; without --lang, the\n"
       "locale's language. 'qstr langs' lists the 40 languages: US AF AR CA HR\n"
       "CZ DK NL OZ CE UK FA SU CF FR GA DE SD GR HE MA IS IT NO PL BR PO RU SL\n"
       "ES SV YK UR TK JP KR CT CS LA TA; AR FA HE UR are right-to-left, JP KR\n"
       "CT CS LA TA Asian.\n",
       setupCompare},
      {"langs", "list the languages of sort and compare",
       "usage: qstr langs\n\n"
       "Lists the 40 languages of the multi-level comparison: number, the word\n"
       "processor's code, the ISO 639-1 code, the English name and what is\n"
       "special in the language's sorting (contractions, expansions, letters\n"
       "after z, right-to-left, Asian). A ? after the ISO code marks a reading\n"
       "of the code that is a guess; the lines below the table say why. On a\n"
       "terminal the columns are aligned; into a pipe or a file they are\n"
       "separated by tabs. --lang of sort and compare takes the code, the ISO\n"
       "code or a locale name.\n",
       setupLangs},
  };
  return table;
}

void printError(const std::string &command, const std::string &message) {
  std::cerr << "qstr";
  if (!command.empty()) std::cerr << ' ' << command;
  std::cerr << ": " << message << '\n';
}

std::string textPosition(const std::string &name, std::uint64_t line, std::uint64_t column) {
  return name + ':' + std::to_string(line) + ':' + std::to_string(column);
}

std::string bytePosition(const std::string &name, std::uint64_t offset) {
  return name + ": byte " + std::to_string(offset);
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

// --help prints the command's own text, written for people, rather than a
// list generated from the options.
class UsageText : public CLI::FormatterBase {
 public:
  explicit UsageText(const char *usage) : usage_(usage) {}
  std::string make_help(const CLI::App *, std::string, CLI::AppFormatMode) const override { return usage_; }

 private:
  std::string usage_;
};

// The first argument that no option or operand of `command` took, as a
// message, or empty. CLI11 leaves the "--" that ends the options among
// them; what follows it is never an option.
std::string unexpectedArgument(const Command &command, const std::vector<std::string> &extra) {
  bool afterMark = false;
  for (const std::string &arg : extra) {
    if (arg == "--" && !afterMark) {
      afterMark = true;
      continue;
    }
    const bool option = !afterMark && arg.size() > 1 && arg[0] == '-';
    return (option ? "unknown option " + arg : "unexpected argument '" + arg + "'") + " (see 'qstr " +
           command.name + " --help')";
  }
  return "";
}

// Parses the arguments of one command and runs it: --help and --version
// print and succeed, bad usage is one line and exit status 2.
int runCommand(const Command &command, std::vector<std::string> args) {
  CLI::App app(command.summary, std::string("qstr ") + command.name);
  app.formatter(std::make_shared<UsageText>(command.usage));
  app.set_version_flag("--version", std::string("qstr ") + QSTR14_VERSION_STRING);
  app.allow_windows_style_options(false);
  app.allow_extras(true);  // named below, in the tool's own words
  const Action action = command.setup(app);
  try {
    std::reverse(args.begin(), args.end());  // CLI11 takes its arguments last first
    app.parse(args);
    if (std::string problem = unexpectedArgument(command, app.remaining()); !problem.empty()) {
      throw UsageError{problem};
    }
    return action();
  } catch (const CLI::CallForHelp &) {
    std::cout << command.usage;
    return kExitOk;
  } catch (const CLI::CallForVersion &) {
    std::cout << "qstr " << QSTR14_VERSION_STRING << '\n';
    return kExitOk;
  } catch (const CLI::ParseError &error) {
    // An unknown option comes before what CLI11 checks once every argument
    // is read (a missing operand): "-a" was perhaps meant as an operand.
    std::string problem = unexpectedArgument(command, app.remaining());
    if (problem.empty()) problem = std::string(error.what()) + " (see 'qstr " + command.name + " --help')";
    printError(command.name, problem);
    return kExitUsage;
  } catch (const UsageError &error) {
    printError(command.name, error.message);
    return kExitUsage;
  }
}

}  // namespace
}  // namespace qstr::cli

int main(int argc, char **argv) {
  using namespace qstr::cli;
#ifdef _WIN32
  // Text in every form is bytes: no line-end translation on the way in or out.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
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
    if (args[0] == command.name) return runCommand(command, std::vector<std::string>(args.begin() + 1, args.end()));
  }
  printError("", "unknown command '" + args[0] + "' (see 'qstr --help')");
  return kExitUsage;
}
