// The qstr tool's usage, its informational commands, dump, and the registry
// kept in a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"
#include "table.h"

namespace {

using qstr::test::contains;
using qstr::test::describe;
using qstr::test::runQstr;

TEST(QstrCommands, OutputAndErrors) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string outPart;  // expected in standard output (or empty)
    std::string errPart;  // expected in standard error (or empty for none)
  };
  const std::vector<Case> cases = {
      {{"--version"}, "", 0, "qstr 14.", ""},
      {{"--help"}, "", 0, "commands:", ""},
      {{}, "", 2, "usage: qstr", ""},
      {{"frobnicate"}, "", 2, "", "unknown command 'frobnicate'"},
      {{"info"}, "", 0, "ANSI code page\t1252\t", ""},
      // Tables reach a pipe tab-separated.
      {{"chars", "8"}, "", 0, "set 8: Greek\nnative\tunicode\tchar\n0x0800\tU+0391\t", ""},
      {{"chars", "8"}, "", 0, "\n0x0801\tU+03B1\t\xCE\xB1\n", ""},
      {{"chars", "0x0B"}, "", 0, "set 11: half-width katakana\n", ""},
      {{"chars", "0x0B"}, "", 0, "\n0x0B3E\tU+FF9F\t", ""},
      {{"chars"}, "", 0, "\t~\n\nset 1: Latin letters", ""},
      {{"chars", "15"}, "", 2, "", "SET must be a character set number 0-14"},
      {{"codepage"}, "", 0, "Windows code page\t1252\tsystem", ""},
      {{"registry"}, "", 0, "(no values)", ""},
      {{"langs"}, "", 0, "\n5\tCZ\tcs\tCzech\tcontraction: ch after h", ""},
      {{"langs", "extra"}, "", 2, "", "unexpected argument 'extra'"},
      {{"sort", "--list-langs"}, "", 0, "\n5\tCZ\tcs\tCzech\tcontraction: ch after h", ""},
      {{"codepage", "--set-windows", "abc"}, "", 2, "", "--set-windows needs a code page number"},
      // The code page list: a header, then a row a page with its names.
      {{"codepage", "--list"}, "", 0, "page\twindows\tkind\tconverts\tnames\n333\t", ""},
      {{"codepage", "--list"}, "", 0, "\n1252\t1252\tWindows\tyes\tcp1252, windows-1252\n", ""},
      {{"codepage", "--list"}, "", 0, "\n18851\t28591\tISO\tyes\tcp18851, cp28591, iso-8859-1, ", ""},
      {{"codepage", "--list"}, "", 0, "\n10001\t10001\tMac\tyes\tcp10001, mac, macintosh", ""},
      {{"codepage", "--list"}, "", 0, "\n949\t949\tdouble-byte\tyes\tcp949, euc-kr, uhc", ""},
      {{"codepage", "--list", "--set-windows", "1250"}, "", 2, "", "--list and --set-windows cannot be combined"},
      // Malformed document streams: the byte offset and what is wrong there.
      {{"dump", "-"}, "A\xF0\x29\x01", 1, "",
       "qstr dump: standard input: byte 1: malformed document stream: the last item is incomplete"},
      {{"dump", "-"}, "\xF2\x01\xF3", 1, "", "byte 0: malformed document stream: group 0xF2 ends with 0xF3"},
      {{"dump", "-"}, std::string("AB\xD3\x00\x05\x00\x00", 7), 1, "",
       "byte 2: malformed document stream: group 0xD3 gives its length as 5"},
      {{"dump", "-"}, std::string("\xD3\x00\x08\x00\x00\x09\x00\xD3", 8), 1, "", "two different lengths"},
      {{"dump", "-"}, std::string("A\0B", 3), 1, "", "byte 2: data after the terminating zero byte"},
      // Files that cannot be read: the system's reason.
      {{"dump", "/nonexistent/file"}, "", 1, "", "qstr dump: /nonexistent/file: No such file or directory"},
      {{"dump", "/"}, "", 1, "", "qstr dump: /: Is a directory"},
  };
  for (const Case &c : cases) {
    const auto r = runQstr(c.args, c.input);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(contains(r.out, c.outPart));
    EXPECT_TRUE(c.errPart.empty() ? r.err.empty() : contains(r.err, c.errPart) && qstr::test::oneLine(r.err));
  }
}

// qstr langs: a header, then the 40 languages in number order up to the
// first blank line.
TEST(QstrCommands, LangsListsFortyLanguages) {
  const auto r = runQstr({"langs"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "No\tCode\tISO\tLanguage\tSorting");
  int rows = 0;
  while (std::getline(lines, line) && !line.empty()) {
    EXPECT_TRUE(line.starts_with(std::to_string(rows) + "\t")) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 40);
  EXPECT_TRUE(contains(r.out, "\n39\tTA\tth?\tThai\t")) << r.out;
}

// Usage is checked before any work, the same way for every command: bad
// usage is one line naming what is wrong (unknown options and parse errors
// point at --help), exit status 2 and nothing on standard output; "--" ends
// the options; --help and --version work everywhere.
TEST(QstrCommands, UsageOfEveryCommand) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string outPart;  // expected in standard output (or empty)
    std::string errPart;  // expected in the one error line (or empty for none)
    std::string input = "";
  };
  const auto see = [](const std::string &command) { return " (see 'qstr " + command + " --help')"; };
  std::vector<Case> cases = {
      // An option that needs a value, given none.
      {{"codepage", "--set-windows"}, 2, "", "--set-windows"},
      {{"compare", "a", "b", "--lang"}, 2, "", "--lang"},
      {{"sort", "--lang"}, 2, "", "--lang"},
      {{"convert", "--to", "utf8", "--from"}, 2, "", "--from"},
      // Operands missing or one too many.
      {{"dump"}, 2, "", "FILE"},
      {{"compare", "a"}, 2, "", see("compare")},
      {{"info", "extra"}, 2, "", "unexpected argument 'extra'" + see("info")},
      {{"registry", "extra"}, 2, "", "unexpected argument 'extra'"},
      {{"codepage", "extra"}, 2, "", "unexpected argument 'extra'"},
      {{"chars", "1", "2"}, 2, "", "unexpected argument '2'"},
      {{"dump", "-", "extra"}, 2, "", "unexpected argument 'extra'"},
      {{"compare", "a", "b", "c"}, 2, "", see("compare")},
      {{"sort", "a", "b"}, 2, "", "unexpected argument 'b'"},
      {{"convert", "--from", "utf8", "--to", "utf8", "a", "b"}, 2, "", "unexpected argument 'b'"},
      // An unknown option is named even where an operand is missing too.
      {{"compare", "-a", "-b"}, 2, "", "unknown option -a" + see("compare")},
      {{"convert", "-x"}, 2, "", "unknown option -x" + see("convert")},
      {{"codepage", "--set-windows", "1250", "--frob"}, 2, "", "unknown option --frob"},
      // "--" ends the options: what follows is an operand, even "--".
      {{"compare", "--", "-a", "-b"}, 0, "-a < -b (US, decided by the letters)\n", ""},
      {{"compare", "--explain", "--porcelain", "--", "-b", "-a"}, 0, "1\nA:\n", ""},
      {{"compare", "--porcelain", "a", "--", "--"}, 0, "1\n", ""},
      {{"compare", "a", "--", "--", "b"}, 2, "", see("compare")},
      {{"chars", "--", "-1"}, 2, "", "SET must be a character set number 0-14, not '-1'"},
      {{"info", "--", "--frob"}, 2, "", "unexpected argument '--frob'"},
      {{"dump", "--", "-"}, 0, "terminator", "", std::string("A\0", 2)},
      {{"sort", "--", "-"}, 0, "a\nb\n", "", "b\na\n"},
  };
  for (const std::string command : {"info", "chars", "dump", "codepage", "registry", "convert", "sort", "compare",
                                    "langs"}) {
    cases.push_back({{command, "--help"}, 0, "usage: qstr " + command, ""});
    cases.push_back({{command, "--version"}, 0, "qstr 14.", ""});
    cases.push_back({{command, "--frob"}, 2, "", "unknown option --frob" + see(command)});
  }
  for (const Case &c : cases) {
    const auto r = runQstr(c.args, c.input);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(contains(r.out, c.outPart));
    if (c.status == 2) EXPECT_EQ(r.out, "");
    if (c.errPart.empty()) {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_TRUE(r.err.starts_with("qstr " + c.args[0] + ": "));
      EXPECT_TRUE(contains(r.err, c.errPart));
      EXPECT_TRUE(qstr::test::oneLine(r.err));
    }
  }
}

TEST(QstrCommands, CharsListsTheValidCodesOfASet) {
  const auto ascii = runQstr({"chars", "0"});
  EXPECT_TRUE(ascii.out.starts_with("set 0: ASCII\nnative\tunicode\tchar\n0x0020\tU+0020\t \n")) << ascii.out;
  EXPECT_TRUE(ascii.out.ends_with("\n0x007E\tU+007E\t~\n")) << ascii.out;
  // Code 0xFF of a set is not a character of its own.
  const auto ansi = runQstr({"chars", "12"});
  EXPECT_TRUE(contains(ansi.out, "\n0x0CFE\tU+00FE\t")) << ansi.out;
  EXPECT_FALSE(contains(ansi.out, "0x0CFF")) << ansi.out;
}

TEST(QstrCommands, DumpListsEveryItem) {
  const std::string stream("A\x85\xF0\x29\x01\xF0\xF2\x0C\xF2\xD3\x00\x08\x00\x00\x08\x00\xD3" "B\0", 19);
  const std::string withFunctions = std::string("\xCC\xCF\x09", 3) + stream;
  // In words (tab-separated into a pipe), and --raw as the terse columns.
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
      {{"dump", "-"},
       {"offset\tbytes\titem\n0\t1\tfunction 0xCC: line end\n1\t1\tfunction 0xCF: end of paragraph\n"
        "2\t1\tcontrol character 0x09\n3\t1\tcharacter 'A' (0x41)\n4\t1\tfunction 0x85 (formatting)\n"
        "5\t4\tcharacter group: the native character 0x0129 (U+00E9 \xC3\xA9)\n",
        "\n9\t3\tfixed group 0xF2: attribute 12 switched on\n12\t8\tvariable group 0xD3 (formatting)\n",
        "\n21\t1\tterminator: the end of the stream\n"}},
      {{"dump", "--raw", "-"},
       {"offset     item              bytes  content\n", "\n5          character group       4  0x0129  U+00E9",
        "\n9          fixed group           3  0xF2  attribute 12 on\n", "\n12         variable group        8  0xD3\n",
        "\n21         terminator            1  end of stream\n"}},
  };
  for (const auto &[args, parts] : cases) {
    const auto r = runQstr(args, withFunctions);
    SCOPED_TRACE(describe(args, r));
    EXPECT_EQ(r.status, 0);
    for (const std::string &part : parts) EXPECT_TRUE(contains(r.out, part)) << part;
  }
}

// A terminal sees columns padded by characters, not bytes ("l·l", "é"),
// the last column unpadded and right-aligned columns padded on the left; a
// pipe sees the cells as they are, joined by tabs.
TEST(QstrCommands, TablesAlignOnATerminalAndSeparateByTabsElsewhere) {
  qstr::cli::Table table({"No", "name", "note"});
  table.alignRight(0);
  table.add({"5", "l\xC2\xB7l", "x"});
  table.add({"10", "\xC3\xA9", ""});
  const std::vector<std::pair<bool, std::string>> cases = {
      {true, "No  name  note\n 5  l\xC2\xB7l   x\n10  \xC3\xA9     \n"},
      {false, "No\tname\tnote\n5\tl\xC2\xB7l\tx\n10\t\xC3\xA9\t\n"},
  };
  for (const auto &[aligned, expected] : cases) {
    std::ostringstream out;
    table.print(out, aligned);
    EXPECT_EQ(out.str(), expected);
  }
}

TEST(QstrCommands, InfoExplainsIgnoredOverrides) {
  const auto r = runQstr({"info"}, "", "QSTR14_REGISTRY=:memory: LANG=ja_JP.UTF-8 QSTR14_ACP=abc QSTR14_ISA=avx2");
  EXPECT_EQ(r.status, 0);
  for (const char *line : {"ANSI code page\t932\tlocale ja_JP", "QSTR14_ACP=\"abc\" is not a number",
                           "country ID\t1 (Japanese)", "QSTR14_ISA=\"avx2\" is not plain, sse2 or avx512"}) {
    EXPECT_TRUE(contains(r.out, line)) << line << "\n" << r.out;
  }
  const auto capped = runQstr({"info"}, "", "QSTR14_REGISTRY=:memory: QSTR14_ISA=plain");
  EXPECT_TRUE(contains(capped.out, "vector instructions\tplain\tQSTR14_ISA")) << capped.out;
}

using RegistryFile = qstr::test::ScratchFolderTest;

TEST_F(RegistryFile, CodePageStoredListedAndParseErrorsReported) {
  const auto file = dir_ / "sub" / "registry.reg";  // its folder is created on the first write
  const std::string env = "LANG=en_US QSTR14_REGISTRY=" + file.string();
  // Bad usage is refused before anything is stored.
  auto r = runQstr({"codepage", "--set-windows", "1250", "extra"}, "", env);
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(std::filesystem::exists(file));
  r = runQstr({"codepage", "--set-windows", "1250"}, "", env);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(r.out, "Windows code page\t1250\tregistry")) << r.out;
  r = runQstr({"registry"}, "", env);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains(r.out, "\"Windows Code Page\"\tcode page\t1250")) << r.out;
  // A registry file that does not parse: one line naming file and line.
  std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\n";
  for (const std::vector<std::string> &args :
       {std::vector<std::string>{"registry"}, std::vector<std::string>{"codepage", "--set-windows", "1251"}}) {
    r = runQstr(args, "", env);
    SCOPED_TRACE(describe(args, r));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "registry.reg:3:"));
    EXPECT_TRUE(qstr::test::oneLine(r.err));
  }
}

}  // namespace
