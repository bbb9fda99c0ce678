// qstr sort (simple and multi-level) and qstr compare: the lines they write,
// how they read languages, their error line and status, and their files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

using qstr::test::runQstr;
using SortCompare = qstr::test::ScratchFolderTest;

TEST_F(SortCompare, SortsComparesAndReportsBadInput) {
  const std::string czech = "hz\nch\n", plain = "ch\nhz\n", swedish = "z\n\xC3\xA4\n", english = "\xC3\xA4\nz\n";
  const std::string kana = "\xE3\x82\xAB\n\xE3\x81\x8B\n\xE3\x81\x82\n";  // katakana ka, hiragana ka, a
  const std::string bad = write("bad.txt", "ok\n\xC3\x28\n").string(), check = write("c.txt", "a\nc\nb\n").string();
  const std::string invalid = "qstr sort: standard input:2:1: invalid UTF-8\n";
  std::vector<qstr::test::Run> runs = {
      // Simple: a and a-umlaut equal but for case, which puts capitals after.
      {"sort --simple", "b\nA\na\n\xC3\xA4\nz\n1\n", 0, "1\na\n\xC3\xA4\nA\nb\nz\n"},
      {"sort --simple --ignore-case", "b\nB\na\nA\nb\n", 0, "a\nA\nb\nB\nb\n"},  // equal lines keep their order
      {"sort --simple", "b\r\na", 0, "a\nb\r\n"},  // line ends are kept; the last line gets one
      // Characters without a native form are invisible; lines come back as read.
      {"sort --simple", "\xEF\xBB\xAD\nb\n\xE4\xB8\x80\n", 0, "\xE4\xB8\x80\nb\n\xEF\xBB\xAD\n"},
      {"sort", "b\nA\na\n\xC3\xA9\ne\nz\n1\n", 0, "1\nA\na\nb\ne\n\xC3\xA9\nz\n"},  // equal lines keep their order
      {"sort --case --lang GR", "b\na\nA\n", 0, "A\na\nb\n"},
      {"sort --lang ES", "d\nchico\ncz\nc\nllama\nluz\n", 0, "c\ncz\nchico\nd\nluz\nllama\n"},
      {"sort", "b\r\n\r\na\r", 0, "\r\na\r\nb\r\n"},  // the last line's CR is text; it gets an LF
      // Under a Japanese code page katakana equals hiragana unless --kana.
      {"sort --lang JP", kana, 0, "\xE3\x81\x82\n\xE3\x82\xAB\n\xE3\x81\x8B\n", "", "LANG=ja_JP.UTF-8"},
      {"sort --lang JP --kana", kana, 0, "\xE3\x81\x82\n\xE3\x81\x8B\n\xE3\x82\xAB\n", "", "LANG=ja_JP.UTF-8"},
      {"sort -r", "b\nA\na\nc\n", 0, "c\nb\nA\na\n"},  // equal lines keep their order reversed or not
      {"sort -u", "b\nA\na\nb\n", 0, "A\nb\n"},        // the first of equal lines
      {"sort -t: -k2", "x:b:1\ny:a:2\nz\nw:a:1\n", 0, "z\nw:a:1\ny:a:2\nx:b:1\n"},
      {"sort -k2,2", "x  b 2\n  a 3\nc 1\n", 0, "c 1\n  a 3\nx  b 2\n"},  // blanks separate fields
      // --lang: the product's code, then ISO 639-1; which it took is said when they differ.
      {"sort --lang cs", plain, 0, czech, "qstr sort: --lang cs: Czech (CZ); CS is Chinese (Simplified, CS)\n"},
      {"sort --lang CS", plain, 0, plain, "qstr sort: --lang CS: Chinese (Simplified, CS); cs is Czech (CZ)\n"},
      {"sort --lang uk", "\xD1\x8C\n\xD1\x8F\n", 0, "\xD1\x8F\n\xD1\x8C\n",
       "qstr sort: --lang uk: Ukrainian (YK); UK is English (United Kingdom, UK)\n"},
      // Without --lang the locale chooses: QSTR14_LOCALE, LC_ALL, LC_CTYPE, LANG; else US.
      {"sort", english, 0, swedish, "", "LANG=sv_SE.UTF-8"},
      {"sort", plain, 0, czech, "", "LC_CTYPE=cs_CZ.UTF-8"},
      {"sort", english, 0, english, "", "LANG=sv_SE.UTF-8 LC_ALL=C"},
      // compare says which level and which tailoring decided; --porcelain the number alone.
      {"compare abc abd", "", 0, "abc < abd (US, decided by the letters)\n"},
      {"compare ab abc", "", 0, "ab < abc (US, decided by the length: ab runs out first)\n"},
      {"compare e '\xC3\xA9'", "", 0, "e < \xC3\xA9 (US, decided by the accents)\n"},
      {"compare --case A a", "", 0, "A > a (US, decided by case)\n"},
      {"compare --lang ES llama luz", "", 0, "llama > luz (ES, decided by the letters: ll sorts after l)\n"},
      {"compare --porcelain --lang ES cz ch", "", 0, "-1\n"},
      // Bad input: one line naming the place, status 1; -c names the first line out of order.
      {"compare '\xC3\x28' a", "", 1, "", "qstr compare: A is not UTF-8\n"},
      {"sort", "ok\n\xC3\xA9\xC3\x28\n", 1, "", "qstr sort: standard input:2:2: invalid UTF-8\n"},
      {"sort -k2", "ok\n\xC3\xA9 x\xC3\n", 1, "", "qstr sort: standard input:2:4: invalid UTF-8\n"},
      {"sort -S 1K", std::string(3000, 'x') + "\n\xC3\x28\n", 1, "", invalid},
      {"sort --simple '" + bad + "'", "", 1, "", "qstr sort: " + bad + ":2:1: invalid UTF-8\n"},
      {"sort -c", "a\nA\nb\n", 0, ""},
      {"sort -c", "a\nc\r\nb\nd\n", 1, "", "qstr sort: standard input:3: disorder: b\n"},
      {"sort --check --simple", "B\nb\n", 1, "", "qstr sort: standard input:2: disorder: b\n"},
      {"sort -c '" + check + "'", "", 1, "", "qstr sort: " + check + ":3: disorder: b\n"},
  };
  for (const std::string bytes : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\xE4\xB8"}) {
    runs.push_back({"sort --simple", "a\n" + bytes + "\n", 1, "", invalid});
  }
  for (const qstr::test::Run &run : runs) qstr::test::expectRun(run);
  // --explain: a row a sorting element; a contracted pair has both positions' values.
  const auto r = runQstr("compare --lang ES --explain ch c");
  EXPECT_TRUE(r.out.starts_with("ch > c (ES, decided by the letters: ch sorts after c)\nA:\n"
                                "char\tnative\tprimary\tsecondary\tcase\tnote\n"
                                "ch\t0x0063 0x0068\t132 138\t0x0000 0x0000\t0 0\tch sorts after c\nB:\n"))
      << r.out;
  EXPECT_TRUE(r.out.ends_with("\ndecided by: primary values\n")) << r.out;
}

// Past --buffer-size, runs in temporary files merged (several levels deep
// with the smallest buffers) give the in-memory result and are removed. Onto
// its own input the input is read first; a failed sort leaves the output.
TEST_F(SortCompare, SortsInRunsAsInMemoryAndWritesTheOutputFile) {
  const char *stems[] = {"lla", "lll", "Calle", "cz", "ch", "\xC3\xA9t\xC3\xA9", "ete", "\xEF\xBB\xAD", "LL", "b"};
  std::string input;
  for (int i = 0; i < 700; ++i) {
    input += std::string(stems[(i * 7) % 10]) + (i % 3 == 0 ? "" : std::to_string((i * 37) % 50));
    input += i % 5 == 0 ? "\r\n" : "\n";
  }
  for (const char *options : {"--lang ES --case", "-r -u", "--simple -f -u"}) {
    const auto whole = runQstr(std::string("sort ") + options, input);
    ASSERT_EQ(whole.status, 0) << options << whole.err;
    for (const char *size : {"1K", "300"}) {
      const std::string args = std::string("sort -S ") + size + " " + options;
      const auto r = runQstr(args, input, "TMPDIR='" + dir_.string() + "'");
      SCOPED_TRACE(qstr::test::describe(args, r));
      EXPECT_EQ(r.out, whole.out);
      EXPECT_TRUE(std::filesystem::is_empty(dir_));
    }
  }
  const std::string in = write("in.txt", "b\r\na\n").string();
  EXPECT_EQ(runQstr("sort '" + in + "' -o '" + in + "'").out, "");
  EXPECT_EQ(qstr::test::readWhole(in), "a\nb\r\n");
  EXPECT_EQ(runQstr("sort -o '" + in + "'", "z\n\xFF\n").status, 1);
  EXPECT_EQ(qstr::test::readWhole(in), "a\nb\r\n");
}

// Spanish keys are not exact for "lll": the sort still agrees with compare.
TEST(SortAndCompare, Agree) {
  std::istringstream sorted(runQstr("sort --lang ES --case", "lll\nllm\nll\nLL\nl\ncalle\nCalle\ncz\nch\nc\n").out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(sorted, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 10u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto c = runQstr("compare --porcelain --lang ES --case '" + lines[i - 1] + "' '" + lines[i] + "'");
    EXPECT_NE(c.out, "1\n") << lines[i - 1] << " / " << lines[i];
  }
}

}  // namespace
