// The qstr tool as a user meets it: usage checked before any work, the same
// way for every command; what the informational commands and dump print.
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

struct Case {
  std::string args, input;
  int status;
  std::vector<std::string> out;  // parts of standard output; none: empty after bad usage
  std::string err;               // part of the one line "qstr COMMAND: ..."; empty: none
  std::string environment = "";
};

void check(const Case &c) {
  const auto r = qstr::test::runQstr(c.args, c.input, c.environment);
  SCOPED_TRACE(qstr::test::describe(c.args, r));
  EXPECT_EQ(r.status, c.status);
  if (c.status == 2 && c.out.empty()) EXPECT_EQ(r.out, "");
  for (const std::string &part : c.out) EXPECT_TRUE(contains(r.out, part)) << part;
  if (c.err.empty()) {
    EXPECT_EQ(r.err, "");
  } else {
    EXPECT_TRUE(r.err.starts_with("qstr " + c.args.substr(0, c.args.find(' ')) + ": ") || c.err.starts_with("qstr: "));
    EXPECT_TRUE(contains(r.err, c.err));
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
  }
}

// Bad usage: status 2, no output, one line naming what is wrong (and --help).
TEST(QstrCommands, UsageIsCheckedFirst) {
  const auto see = [](const std::string &command) { return " (see 'qstr " + command + " --help')"; };
  std::vector<std::pair<std::string, std::string>> cases = {
      {"frobnicate", "qstr: unknown command 'frobnicate'"},
      {"codepage --set-windows abc", "--set-windows needs a code page number"},
      {"dump", "FILE"},
      {"compare a", see("compare")},
      {"info extra", "unexpected argument 'extra'" + see("info")},
      {"compare -a -b", "unknown option -a" + see("compare")},  // named even where an operand is missing
      {"chars -- -1", "SET must be a character set number 0-14, not '-1'"},
      {"convert --from utf8", "--to is required"},
      {"convert --from latin9 --to utf8", "--from latin9: unknown code page or form; nearest: latin1, "},
      {"convert --from utf8 --to cp936 --codepage gbkk", "--codepage gbkk: unknown code page; nearest: gbk, "},
      {"convert --from tz --to utf8", "output form only"},
      {"convert --from utf8 --to v5cdz-big5", "input form only"},
      {"convert --from utf8 --to dz --bom", "--bom: dz has no byte order mark"},
  };
  for (const char *args : {"sort --lang E1", "sort --ignore-case", "sort --simple --case", "sort -k 0", "sort -k 2,1",
                           "sort -k 1.2", "sort -k", "sort -t ab -k1", "sort -t '\xC3' -k1", "sort -S 10X",
                           "sort -c -o out", "compare --lang ESP a b"}) {
    cases.push_back({args, " "});
  }
  for (const std::string command : {"info", "chars", "dump", "codepage", "registry", "convert", "sort", "compare",
                                    "langs"}) {
    cases.push_back({command + " --frob", "unknown option --frob" + see(command)});
    check({command + " --help", "", 0, {"usage: qstr " + command}, ""});
  }
  for (const auto &[args, err] : cases) check({args, "", 2, {}, err});
}

// What the informational commands and dump print; a pipe gets tabs.
TEST(QstrCommands, InformationAndDump) {
  const std::string stream("\xCC\x09" "A\x85\xF0\x29\x01\xF0\xF2\x0C\xF2\xD3\x00\x08\x00\x00\x08\x00\xD3" "B\0", 21);
  const std::vector<Case> cases = {
      {"--help", "", 0, {"commands:"}, ""},
      {"info --version", "", 0, {"qstr 14."}, ""},
      {"", "", 2, {"usage: qstr"}, ""},
      // "--" ends the options, even before "--".
      {"compare -- -a -b", "", 0, {"-a < -b (US, decided by the letters)\n"}, ""},
      {"compare --porcelain a -- --", "", 0, {"1\n"}, ""},
      {"info", "", 0,
       {"ANSI code page\t932\tlocale ja_JP", "QSTR14_ACP=\"abc\" is not a number", "country ID\t1 (Japanese)",
        "QSTR14_ISA=\"avx2\" is not plain, sse2 or avx512"},
       "", "LANG=ja_JP.UTF-8 QSTR14_ACP=abc QSTR14_ISA=avx2"},
      // Code 0xFF of a set is no character.
      {"chars 0x0B", "", 0, {"set 11: half-width katakana\n"}, ""},
      {"chars", "", 0, {"set 0: ASCII\nnative\tunicode\tchar\n0x0020\tU+0020\t \n", "\t~\n\nset 1: Latin letters",
                        "\n0x0CFE\tU+00FE\t\xC3\xBE\n\nset 13"}, ""},
      {"codepage", "", 0, {"Windows code page\t1252\tsystem"}, ""},
      {"codepage --list", "", 0, {"page\twindows\tkind\tconverts\tnames\n333\t",
                                  "\n18851\t28591\tISO\tyes\tcp18851, cp28591, iso-8859-1, "}, ""},
      {"langs", "", 0, {"No\tCode\tISO\tLanguage\tSorting\n0\t", "\n5\tCZ\tcs\tCzech\tcontraction: ch after h",
                        "\n39\tTA\tth?\tThai\t"}, ""},
      {"dump -", stream, 0, {"offset\tbytes\titem\n0\t1\tfunction 0xCC: line end\n1\t1\tcontrol character 0x09\n"
                             "2\t1\tcharacter 'A' (0x41)\n3\t1\tfunction 0x85 (formatting)\n"
                             "4\t4\tcharacter group: the native character 0x0129 (U+00E9 \xC3\xA9)\n"
                             "8\t3\tfixed group 0xF2: attribute 12 switched on\n11\t8\tvariable group 0xD3",
                             "\n20\t1\tterminator: the end of the stream\n"}, ""},
      {"dump --raw -", stream, 0,
       {"offset     item              bytes  content\n0          function              1  0xCC\n",
        "\n4          character group       4  0x0129  U+00E9"}, ""},
      {"dump -", "A\xF0\x29\x01", 1, {}, "standard input: byte 1: malformed document stream: the last item is"},
      {"dump -", std::string("A\0B", 3), 1, {}, "byte 2: data after the terminating zero byte"},
      {"dump /nonexistent/file", "", 1, {}, "/nonexistent/file: No such file or directory"},
  };
  for (const Case &c : cases) check(c);
  // A tier asked for is used unless the processor lacks it.
  for (const std::string tier : {"plain", "sse2", "avx512"}) {
    const std::string out = qstr::test::runQstr("info", "", "QSTR14_ISA=" + tier).out;
    const std::string row = "vector instructions\t" + tier;
    EXPECT_TRUE(contains(out, row + "\tQSTR14_ISA") || contains(out, "\tprocessor")) << out;
    EXPECT_FALSE(contains(out, row + "\tprocessor")) << out;
  }
}

// On a terminal columns are padded by characters (not bytes), the last not at all.
TEST(QstrCommands, TablesAlignOnATerminalAndSeparateByTabsElsewhere) {
  qstr::cli::Table table({"No", "name", "note"});
  table.alignRight(0);
  table.add({"5", "l\xC2\xB7l", "x"});
  table.add({"10", "\xC3\xA9", ""});
  for (const bool aligned : {true, false}) {
    std::ostringstream out;
    table.print(out, aligned);
    EXPECT_EQ(out.str(), aligned ? "No  name  note\n 5  l\xC2\xB7l   x\n10  \xC3\xA9     \n"
                                 : "No\tname\tnote\n5\tl\xC2\xB7l\tx\n10\t\xC3\xA9\t\n");
  }
}

using RegistryFile = qstr::test::ScratchFolderTest;

// Bad usage stores nothing; a file that does not parse is named with its line.
TEST_F(RegistryFile, CodePageStoredListedAndParseErrorsReported) {
  const auto file = dir_ / "sub" / "registry.reg";  // its folder is created on the first write
  const std::string env = "QSTR14_REGISTRY=" + file.string();
  check({"codepage --set-windows 1250 extra", "", 2, {}, "unexpected argument 'extra'", env});
  EXPECT_FALSE(std::filesystem::exists(file));
  check({"codepage --set-windows 1250", "", 0, {"Windows code page\t1250\tregistry"}, "", env});
  check({"registry", "", 0, {"\"Windows Code Page\"\tcode page\t1250"}, "", env});
  std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\n";
  check({"registry", "", 1, {}, "registry.reg:3:", env});
  check({"codepage --set-windows 1251", "", 1, {}, "registry.reg:3:", env});
}

}  // namespace
