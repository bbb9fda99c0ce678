// The qstr tool as a user meets it: usage checked first, what each command prints and reports, and the files
// it writes, whole or not at all, also when stopped by a signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using qstr::cli::InputFile;
using qstr::cli::OutputFile;
using qstr::test::readWhole;
using QstrTool = qstr::test::ScratchFolderTest;
using FilesTest = qstr::test::ScratchFolderTest;

struct QstrResult {
  int status;
  std::string out, err;
};

QstrResult runQstr(const std::string &arguments, const std::string &input = "", const std::string &environment = "") {
  char pattern[] = "/tmp/qstr-cli-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  std::ofstream(dir + "/in", std::ios::binary) << input;
  const std::string command = "env QSTR14_REGISTRY=:memory: LANG=en_US.UTF-8 LC_ALL= LC_CTYPE= QSTR14_LOCALE= " +
                              environment + " '" QSTR_BINARY "' " + arguments + " < " + dir + "/in > " + dir +
                              "/out 2> " + dir + "/err";
  const int raw = std::system(command.c_str());
  QstrResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readWhole(dir + "/out"), readWhole(dir + "/err")};
  fs::remove_all(dir);
  return result;
}

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

std::string describe(const std::string &arguments, const QstrResult &result) {
  return arguments + "\n" + result.out + result.err;
}

// The whole of both outputs, or (`parts`) parts of the output and of the one error line.
struct Case {
  std::string args, input;
  int status;
  std::vector<std::string> out;
  std::string err = "", environment = "";
};

void check(const Case &c, bool parts = true) {
  const auto r = runQstr(c.args, c.input, c.environment);
  SCOPED_TRACE(describe(c.args + " " + c.environment, r));
  EXPECT_EQ(r.status, c.status);
  if (!parts) {
    EXPECT_EQ(r.out, c.out.empty() ? "" : c.out[0]);
    EXPECT_EQ(r.err, c.err);
    return;
  }
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

TEST_F(QstrTool, UsageIsCheckedFirst) {
  const auto see = [](const std::string &command) { return " (see 'qstr " + command + " --help')"; };
  std::vector<std::pair<std::string, std::string>> cases = {
      {"frobnicate", "qstr: unknown command 'frobnicate'"},
      {"codepage --set-windows abc", "--set-windows needs a code page number"},
      {"info extra", "unexpected argument 'extra'" + see("info")},
      {"compare -a -b", "unknown option -a" + see("compare")},  // named even where an operand is missing
      {"chars -- -1", "SET must be a character set number 0-14, not '-1'"},
      {"convert --from latin9 --to utf8", "--from latin9: unknown code page or form; nearest: latin1, "},
      {"convert --from tz --to utf8", "output form only"},
      {"convert --from utf8 --to dz --bom", "--bom: dz has no byte order mark"},
      {"sort -k 2,1", " "},
      {"sort -t '\xC3' -k1", " "},
      {"sort -S 10X", " "},
      {"sort -c -o out", " "},
  };
  for (const std::string command : {"info", "chars", "dump", "codepage", "registry", "convert", "sort", "compare",
                                    "langs"}) {
    cases.push_back({command + " --frob", "unknown option --frob" + see(command)});
    check({command + " --help", "", 0, {"usage: qstr " + command}});
  }
  for (const auto &[args, err] : cases) check({args, "", 2, {}, err});
}

TEST_F(QstrTool, InformationAndDump) {
  const std::vector<Case> cases = {
      {"--help", "", 0, {"commands:"}},
      {"sort --version", "", 0, {"qstr 14."}},
      {"", "", 2, {"usage: qstr"}},
      {"compare -- -a -b", "", 0, {"-a < -b (US, decided by the letters)\n"}},
      {"info", "", 0,
       {"ANSI code page\t932\tlocale ja_JP", "QSTR14_ACP=\"abc\" is not a number", "country ID\t1 (Japanese)",
        "QSTR14_ISA=\"avx2\" is not plain, sse2 or avx512"},
       "", "LANG=ja_JP.UTF-8 QSTR14_ACP=abc QSTR14_ISA=avx2"},
      {"info", "", 0, {"vector instructions\tplain\tQSTR14_ISA"}, "", "QSTR14_ISA=plain"},
      {"codepage", "", 0, {"Windows code page\t1252\tsystem"}},
      {"dump -", "\xCC\x09" "A\x85\xF0\x29\x01\xF0\xF2\x0C\xF2\xD3\x00\x08\x00\x00\x08\x00\xD3" "B\0"s, 0,
       {"offset\tbytes\titem\n0\t1\tfunction 0xCC: line end\n1\t1\tcontrol character 0x09\n"
                             "2\t1\tcharacter 'A' (0x41)\n3\t1\tfunction 0x85 (formatting)\n"
                             "4\t4\tcharacter group: the native character 0x0129 (U+00E9 \xC3\xA9)\n"
                             "8\t3\tfixed group 0xF2: attribute 12 switched on\n11\t8\tvariable group 0xD3",
                             "\n20\t1\tterminator: the end of the stream\n"}},
      {"dump -", "A\xF0\x29\x01", 1, {}, "standard input: byte 1: malformed document stream: the last item is"},
      {"dump -", "\xF2\x01\xF3", 1, {}, "byte 0: malformed document stream: group 0xF2 ends with 0xF3"},
      {"dump -", std::string("AB\xD3\x00\x05\x00\x00", 7), 1, {}, "byte 2: malformed document stream: group 0xD3"},
      {"dump -", std::string("A\0B", 3), 1, {}, "byte 2: data after the terminating zero byte"},
      {"dump /nonexistent/file", "", 1, {}, "/nonexistent/file: No such file or directory"},
  };
  for (const Case &c : cases) check(c);
}

TEST_F(QstrTool, CodePageStoredListedAndParseErrorsReported) {
  const auto file = dir_ / "sub" / "registry.reg";
  const std::string env = "QSTR14_REGISTRY=" + file.string();
  check({"codepage --set-windows 1250 extra", "", 2, {}, "unexpected argument 'extra'", env});
  EXPECT_FALSE(fs::exists(file));
  check({"codepage --set-windows 1250", "", 0, {"Windows code page\t1250\tregistry"}, "", env});
  check({"registry", "", 0, {"\"Windows Code Page\"\tcode page\t1250"}, "", env});
  std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\n";
  check({"registry", "", 1, {}, "registry.reg:3:", env});
  check({"codepage --set-windows 1251", "", 1, {}, "registry.reg:3:", env});
}

TEST_F(QstrTool, SortsComparesAndReportsBadInput) {
  const std::string swedish = "z\n\xC3\xA4\n", english = "\xC3\xA4\nz\n";
  const std::string kana = "\xE3\x82\xAB\n\xE3\x81\x8B\n\xE3\x81\x82\n";  // katakana ka, hiragana ka, a
  const std::string unsorted = write("c.txt", "a\nc\nb\n").string();
  const std::string invalid = "qstr sort: standard input:2:1: invalid UTF-8\n", e = "\xC3\xA9";
  std::vector<Case> runs = {
      {"sort --simple", "b\nA\na\n\xC3\xA4\nz\n1\n", 0, {"1\na\n\xC3\xA4\nA\nb\nz\n"}},
      {"sort --simple --lang SV", english, 0, {swedish}},
      {"sort --simple --ignore-case", "b\nB\na\nA\nb\n", 0, {"a\nA\nb\nB\nb\n"}},  // equal lines keep their order
      {"sort --simple", "b\r\na", 0, {"a\nb\r\n"}},  // line ends are kept; the last line gets one
      // Characters without a native form are invisible.
      {"sort --simple", "\xEF\xBB\xAD\nb\n\xE4\xB8\x80\n", 0, {"\xE4\xB8\x80\nb\n\xEF\xBB\xAD\n"}},
      {"sort", "b\nA\na\n\xC3\xA9\ne\nz\n1\n", 0, {"1\nA\na\nb\ne\n\xC3\xA9\nz\n"}},
      {"sort --case --lang GR", "b\na\nA\n", 0, {"A\na\nb\n"}},
      // Spanish keys are not exact for "lll": the sort still orders as compare does.
      {"sort --lang ES --case", "lll\nllm\nll\nLL\nl\ncalle\nCalle\ncz\nch\nc\n", 0,
       {"c\ncalle\nCalle\ncz\nch\nl\nll\nLL\nlll\nllm\n"}},
      {"sort --lang DE", "\xC3\x9F\nst\nsr\n", 0, {"sr\n\xC3\x9F\nst\n"}},  // sharp s as "ss"
      {"sort --lang JP", kana, 0, {"\xE3\x81\x82\n\xE3\x82\xAB\n\xE3\x81\x8B\n"}, "", "LANG=ja_JP.UTF-8"},
      {"sort --lang JP --kana", kana, 0, {"\xE3\x81\x82\n\xE3\x81\x8B\n\xE3\x82\xAB\n"}, "", "LANG=ja_JP.UTF-8"},
      {"sort -r", "b\nA\na\nc\n", 0, {"c\nb\nA\na\n"}},
      {"sort -u", "b\nA\na\nb\n", 0, {"A\nb\n"}},  // the first of equal lines
      {"sort -t: -k2", "x:b:1\ny:a:2\nz\nw:a:1\n", 0, {"z\nw:a:1\ny:a:2\nx:b:1\n"}},
      // A separator of two bytes: fields counted in characters, an empty field between two separators.
      {"sort -t '" + e + "' -k2,2", "3" + e + "b" + e + "a\n1" + e + "a" + e + "z\n2" + e + "a" + e + "b\n", 0,
       {"1" + e + "a" + e + "z\n2" + e + "a" + e + "b\n3" + e + "b" + e + "a\n"}},
      {"sort -t '" + e + "' -k1,2", "a" + e + "b" + e + "a\na" + e + e + "z\n", 0,
       {"a" + e + e + "z\na" + e + "b" + e + "a\n"}},
      // --lang: the product's code, then ISO 639-1.
      {"sort --lang cs", "ch\nhz\n", 0, {"hz\nch\n"},
       "qstr sort: --lang cs: Czech (CZ); CS is Chinese (Simplified, CS)\n"},
      {"sort", english, 0, {swedish}, "", "LANG=sv_SE.UTF-8"},
      {"sort", english, 0, {english}, "", "LANG=sv_SE.UTF-8 LC_ALL=C"},
      {"compare ab abc", "", 0, {"ab < abc (US, decided by the length: ab runs out first)\n"}},
      {"compare e '\xC3\xA9'", "", 0, {"e < \xC3\xA9 (US, decided by the accents)\n"}},
      {"compare --case A a", "", 0, {"A > a (US, decided by case)\n"}},
      {"compare --porcelain --lang da '\xC3\xA6' z", "", 0, {"1\n"}},
      {"sort", "ok\n\xC3\xA9\xC3\x28\n", 1, {}, "qstr sort: standard input:2:2: invalid UTF-8\n"},
      {"sort -c '" + unsorted + "'", "", 1, {}, "qstr sort: " + unsorted + ":3: disorder: b\n"},
  };
  for (const std::string bytes : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80"}) {
    runs.push_back({"sort --simple", "a\n" + bytes + "\n", 1, {}, invalid});
  }
  for (const Case &run : runs) check(run, false);
  // A contracted pair is one row with both positions' values.
  const auto r = runQstr("compare --lang ES --explain ch c");
  EXPECT_TRUE(r.out.starts_with("ch > c (ES, decided by the letters: ch sorts after c)\nA:\n"
                                "char\tnative\tprimary\tsecondary\tcase\tnote\n"
                                "ch\t0x0063 0x0068\t132 138\t0x0000 0x0000\t0 0\tch sorts after c\nB:\n"))
      << r.out;
  EXPECT_TRUE(r.out.ends_with("\ndecided by: primary values\n")) << r.out;
}

// Runs merged from temporary files (several levels deep with the smallest buffers) give the in-memory result.
TEST_F(QstrTool, SortsInRunsAsInMemoryAndWritesTheOutputFile) {
  const char *stems[] = {"lla", "lll", "Calle", "cz", "ch", "\xC3\xA9t\xC3\xA9", "ete", "\xEF\xBB\xAD", "LL", "b"};
  std::string input;
  for (int i = 0; i < 700; ++i) {
    input += std::string(stems[(i * 7) % 10]) + (i % 3 == 0 ? "" : std::to_string((i * 37) % 50));
    input += i % 5 == 0 ? "\r\n" : "\n";
  }
  for (const char *options : {"--lang ES --case", "--simple -f -u", "-t 1 -k2"}) {
    const auto whole = runQstr(std::string("sort ") + options, input);
    ASSERT_EQ(whole.status, 0) << options;
    for (const char *size : {"1K", "300"}) {
      const std::string args = std::string("sort -S ") + size + " " + options;
      const auto r = runQstr(args, input, "TMPDIR='" + dir_.string() + "'");
      SCOPED_TRACE(describe(args, r));
      EXPECT_EQ(r.out, whole.out);
      EXPECT_TRUE(fs::is_empty(dir_));
    }
  }
  const std::string in = write("in.txt", "b\r\na\n").string(), out = (dir_ / "out.txt").string();
  EXPECT_EQ(runQstr("sort -o '" + out + "'", "y\nx").out, "");
  EXPECT_EQ(readWhole(out), "x\ny\n");
  EXPECT_EQ(runQstr("sort '" + in + "' -o '" + in + "'").out, "");
  EXPECT_EQ(readWhole(in), "a\nb\r\n");
  EXPECT_EQ(runQstr("sort -o '" + in + "'", "z\n\xFF\n").status, 1);
  EXPECT_EQ(readWhole(in), "a\nb\r\n");
}

TEST_F(QstrTool, FormsChangesAndErrors) {
  struct Conversion {
    std::string args, input, output;
    int status;
    std::vector<std::string> report;  // the lines on standard error start so
    bool back = false;
  };
  const std::string out = (dir_ / "out").string(), emoji = "\xF0\x9F\x98\x80", in = "standard input";
  const std::string zhe = in + ":2:2: U+0416 CYRILLIC CAPITAL LETTER ZHE became '?' (not in code page 1252)";
  const std::string grin = ": U+1F600 GRINNING FACE dropped (no native character)\n";
  const auto one = [](const std::string &change) { return std::vector<std::string>{"1 character changed", change}; };
  const std::vector<Conversion> cases = {
      {"utf8 --to Windows-1252", "caf\xC3\xA9 \xE2\x82\xAC\r\n", "caf\xE9 \x80\r\n", 0, {}, true},
      {"cp65001 --to Shift_JIS", "\xE4\xBA\x9C\xEF\xBD\xB1", "\x88\x9F\xB1", 0, {}, true},
      {"utf8 --to utf-16LE", "A\xC3\xA9" + emoji, "A\0\xE9\0\x3D\xD8\x00\xDE"s, 0, {}, true},
      {"utf8 --to native", "A\xC3\xA9\n", "A\0\x29\x01\x0A\xF9"s, 0, {}, true},
      {"utf8 --to dz", "A\xC3\xA9\n", "A\xF0\x29\x01\xF0\xCC\0"s, 0, {}, true},
      {"utf8 --to v5dz", "A\xC3\xA9", "A\xC0\x29\x01\xC0\0"s, 0, {}, true},
      {"native --to dz", "\x7F\0\x80\0"s, "\x7F\xF0\x80\x00\xF0\0"s, 0, {}, true},  // 0x80 up: a group
      {"utf8 --to tz", "A\xC3\xA9\n", "A\xFD\x29\x01\x0D", 0, {}},
      {"v5dz --to native", "A\xC3\x05\xC3" "B\x0A\0"s, "A\0\x0A\xFE" "B\0\x0A\xF9"s, 0, {}},
      {"v5dz --to utf8", "A\xC0\x18\x01\xC0", "A\xC4\xB1", 0, {}},  // 0x0118 becomes 0x01EF
      {"v5cdz-gb --to native", "\x24\x64\0"s, "\x00\x83"s, 0, {}},
      {"utf8 --to native", "x" + emoji + "y \xE4\xB8\xAD\n" + emoji + emoji + emoji + emoji + emoji,
       "x\0y\0 \0\x0A\xF9"s, 0,
       {"7 characters changed", in + ":1:2" + grin, in + ":1:5: U+4E2D CJK", in + ":2:1", in + ":2:2", in + ":2:3",
        "and 2 more"}},
      {"utf8 --to cp1252 -o " + out, "a\n\x62\xD0\x96" "c\n", "a\nb?c\n", 0, one(zhe)},
      {"utf8 --to cp1252 --strict -o " + out, "a\n\x62\xD0\x96" "c\n", "", 1, {zhe}},
      {"native --to utf8", "A\0\xFF\x0E"s, "A\xEF\xBF\xBD", 0, one(in + ": byte 2: native character 0x0EFF")},
      {"utf8 --to dz", "a\fb", "a\xCC" "b\0"s, 0, one(in + ":1:2: U+000C FORM FEED became U+000A")},
      {"utf8 --to cp1252 -o " + out, "ab\xC3(", "", 1, {in + ":1:3: invalid UTF-8\n"}},
      {"utf16le --to utf8", "a\0\n\0\x3D\xD8" "b\0"s, "", 1, {in + ":2:1: invalid UTF-16"}},
      {"utf16le --to utf8", "ab\n", "", 1, {in + ":1:2: odd number of bytes"}},
      {"dz --to utf8", "AB\xF0\x29\x01", "", 1, {in + ": byte 2: malformed document stream"}},
      {"v5dz --to utf8", "A\xC0\x29", "", 1, {in + ": byte 1: incomplete or unclosed version-5 item"}},
      // Byte order marks: passed over, written with --bom, kept between Unicode forms.
      {"utf16le --to cp1252", "\xFF\xFEh\0\x3D\xD8\x00\xDE"s, "h", 0, one(in + ":1:2" + grin)},
      {"cp1252 --to utf16le --bom", "hi", "\xFF\xFEh\0i\0"s, 0, {}},
      {"utf16le --to utf8 --bom", "\xFF\xFE" "a\0\x3D\xD8\x00\xDE\xFF\xFE"s,
       "\xEF\xBB\xBF" "a" + emoji + "\xEF\xBB\xBF", 0, {}},
  };
  for (const Conversion &c : cases) {
    const bool toFile = c.args.ends_with(" -o " + out);
    const auto r = runQstr("convert --from " + c.args, c.input);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    std::istringstream lines(r.err);
    std::size_t n = 0;
    for (std::string line; std::getline(lines, line); ++n) {
      EXPECT_TRUE(n < c.report.size() && (line + "\n").starts_with("qstr convert: " + c.report[n])) << line;
    }
    EXPECT_EQ(n, c.report.size());
    if (c.status == 0) EXPECT_EQ(toFile ? readWhole(out) : r.out, c.output);
    if (c.status != 0) EXPECT_TRUE(fs::is_empty(dir_));
    fs::remove(out);
    const std::size_t to = c.args.find(" --to ");
    const std::string back = "convert --from " + c.args.substr(to + 6) + " --to " + c.args.substr(0, to);
    if (c.back) check({back, c.output, 0, {c.input}}, false);
  }
}

std::vector<std::string> names(const fs::path &folder) {
  std::vector<std::string> all;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    all.push_back(entry.path().lexically_relative(folder));
  }
  std::sort(all.begin(), all.end());
  return all;
}

// The old mode (0: no file), whether a link names it, the new mode under umask 027.
TEST_F(FilesTest, OutputReplacesItsOwnInputKeepingModeAndLink) {
  struct Case { int oldMode; bool throughLink; int mode; };
  const std::vector<Case> cases = {{0, false, 0640}, {0755, false, 0755}, {0600, true, 0600},
                                   {0, true, 0640}};  // a link to a file still to be made
  const mode_t umaskBefore = umask(027);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    SCOPED_TRACE(i);
    const fs::path folder = dir_ / std::to_string(i), target = folder / "target", link = folder / "link";
    fs::create_directory(folder);
    if (c.oldMode != 0) fs::permissions(write(std::to_string(i) + "/target", "old"), fs::perms(c.oldMode));
    if (c.throughLink) fs::create_symlink("target", link);
    const std::string path = c.throughLink ? link : target;
    OutputFile out(path);
    std::string old;
    if (c.oldMode != 0) EXPECT_TRUE(InputFile(path).readAll(old));
    EXPECT_TRUE(out.write("new:" + old));
    EXPECT_TRUE(out.commit()) << out.error();
    EXPECT_EQ(readWhole(target), "new:" + old);
    EXPECT_EQ(static_cast<int>(fs::status(target).permissions()), c.mode);
    EXPECT_EQ(names(folder).size(), c.throughLink ? 2u : 1u);
    EXPECT_EQ(fs::is_symlink(link), c.throughLink);
  }
  umask(umaskBefore);
}

TEST_F(FilesTest, FailuresNameTheFileAndTheReasonAndLeaveNothing) {
  const auto readAll = [](const std::string &path) {
    InputFile in(path);
    std::string bytes;
    return in.readAll(bytes) ? std::string("read") : in.error();
  };
  const std::string folder = (dir_ / "folder").string(), missing = (dir_ / "missing").string();
  fs::create_directory(folder);
  EXPECT_EQ(readAll(folder), folder + ": Is a directory");
  EXPECT_EQ(OutputFile(missing + "/out").error(), missing + "/out: No such file or directory");
  EXPECT_EQ(OutputFile(folder).error(), folder + ": Is a directory");
  OutputFile out(missing);  // a folder takes the output's place before the commit
  EXPECT_TRUE(out.write("x"));
  fs::create_directories(missing + "/inside");
  EXPECT_FALSE(out.commit());
  EXPECT_EQ(out.error(), missing + ": Is a directory");
  EXPECT_EQ(names(dir_), (std::vector<std::string>{"folder", "missing", "missing/inside"}));
}

// Stopped with its output and sort's runs half written, the tool dies of the signal, leaving the old file.
TEST_F(FilesTest, StopSignalsRemoveTemporaryFiles) {
  const std::vector<std::pair<int, const char *>> cases = {{SIGINT, "sort"}, {SIGHUP, "sort"}, {SIGTERM, "convert"}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto [signal, command] = cases[i];
    SCOPED_TRACE(i);
    const fs::path folder = dir_ / std::to_string(i);
    fs::create_directory(folder);
    const std::string target = write(std::to_string(i) + "/target", "old").string();
    setenv("TMPDIR", folder.c_str(), 1);
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    const pid_t child = fork();
    if (child == 0) {
      ::signal(signal, SIG_DFL);  // not left ignored by whoever runs the tests
      alarm(10);                  // a child the signal fails to stop dies of SIGALRM
      dup2(input[0], 0);
      const char *to = target.c_str();
      if (command == std::string("sort")) execl(QSTR_BINARY, "qstr", "sort", "-S", "4K", "-o", to, nullptr);
      execl(QSTR_BINARY, "qstr", "convert", "--from", "utf8", "--to", "utf16le", "-o", to, nullptr);
      _exit(127);
    }
    close(input[0]);
    std::string lines;
    for (int n = 0; n < 20000; ++n) lines += "line " + std::to_string(n * 7919 % 20000) + "\n";
    ASSERT_EQ(::write(input[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    const std::size_t held = command == std::string("sort") ? 3 : 2;  // the output's and a run's
    for (int wait = 0; wait < 500 && names(folder).size() < held; ++wait) usleep(10000);
    EXPECT_GE(names(folder).size(), held);
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(input[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(names(folder), std::vector<std::string>{"target"});
    EXPECT_EQ(readWhole(target), "old");
  }
  unsetenv("TMPDIR");
}

}  // namespace
