// qstr sort (the simple and the multi-level mode) and qstr compare, run as
// programs: the lines they write, their error line and their exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

using qstr::test::describe;
using Outcome = qstr::test::QstrResult;

class SortCompare : public qstr::test::ScratchFolderTest {
 protected:
  // Runs qstr with `args` (quoted by the caller) under a locale and a
  // private registry.
  static Outcome run(const std::string &args, const std::string &input = "", const std::string &locale = "en_US") {
    return qstr::test::runQstrCommandLine(
        args, input, "QSTR14_REGISTRY=:memory: LANG=" + locale + ".UTF-8 LC_ALL= QSTR14_LOCALE= QSTR14_ACP=");
  }
};

TEST_F(SortCompare, SortsLines) {
  struct Case {
    std::string args, input, output, locale = "en_US";
  };
  const std::vector<Case> cases = {
      // Simple: a and a-umlaut are equal but for case, which puts the capital after both.
      {"sort --simple", "b\nA\na\n\xC3\xA4\nz\n1\n", "1\na\n\xC3\xA4\nA\nb\nz\n"},
      {"sort --simple --lang SV", "b\nA\na\n\xC3\xA4\nz\n1\n", "1\na\nA\nb\nz\n\xC3\xA4\n"},
      {"sort --simple --lang sv", "\xC3\xB6\n\xC3\xA4\n", "\xC3\xA4\n\xC3\xB6\n"},
      {"sort --simple --ignore-case", "b\nB\na\nA\nb\n", "a\nA\nb\nB\nb\n"},  // equal lines keep their order
      {"sort --simple", "B\nb\n", "b\nB\n"},
      {"sort --simple", "b\r\na\n", "a\nb\r\n"},  // line ends are kept
      {"sort --simple", "b\na", "a\nb\n"},
      {"sort --simple", "", ""},
      // Characters without a native form are invisible to the simple
      // comparison and come back unchanged.
      {"sort --simple", "\xE4\xB8\x80\nb\n\xF0\x9F\x98\x80\n", "\xE4\xB8\x80\n\xF0\x9F\x98\x80\nb\n"},
      // Multi-level.
      {"sort", "b\nA\na\n\xC3\xA9\ne\nz\n1\n", "1\nA\na\nb\ne\n\xC3\xA9\nz\n"},  // equal lines keep their order
      {"sort --case", "b\nA\na\n", "a\nA\nb\n"},
      {"sort --case --lang GR", "b\na\nA\n", "A\na\nb\n"},
      {"sort --lang ES", "d\nchico\ncz\nc\nllama\nluz\n", "c\ncz\nchico\nd\nluz\nllama\n"},
      {"sort --lang es", "d\nchico\ncz\n", "cz\nchico\nd\n"},
      {"sort --lang DK", "\xC3\x86g\nzoo\nabe\n", "abe\nzoo\n\xC3\x86g\n"},
      {"sort --lang DE", "\xC3\x9F\nst\nsr\n", "sr\n\xC3\x9F\nst\n"},  // sharp s as "ss"
      {"sort --lang HE", "\xD7\x91\n\xD7\x90\xD6\xB0\n\xD7\x90\n", "\xD7\x90\n\xD7\x90\xD6\xB0\n\xD7\x91\n"},
      {"sort", "b\r\na", "a\nb\r\n"},
      {"sort", "", ""},
      // Japanese under a Japanese code page: katakana equals hiragana
      // unless --kana, which puts hiragana first.
      {"sort --lang JP", "\xE3\x82\xAB\n\xE3\x81\x8B\n\xE3\x81\x82\n", "\xE3\x81\x82\n\xE3\x82\xAB\n\xE3\x81\x8B\n",
       "ja_JP"},
      {"sort --lang JP --kana", "\xE3\x82\xAB\n\xE3\x81\x8B\n", "\xE3\x81\x8B\n\xE3\x82\xAB\n", "ja_JP"},
      {"sort --simple '" + write("words.txt", "pear\napple\n").string() + "'", "", "apple\npear\n"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input, c.locale);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.output);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(SortCompare, SortsManyLinesStablyWithAndWithoutKeys) {
  // Spanish keys are not exact for every line ("lll"); the sort mixes keys
  // and comparisons and must still agree with pairwise comparisons.
  std::string input;
  const char *words[] = {"lll", "llm", "ll", "LL", "l", "calle", "Calle", "cz", "ch", "c"};
  for (int i = 0; i < 40; ++i) input += std::string(words[(i * 7) % 10]) + "\n";
  const Outcome r = run("sort --lang ES --case", input);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(r.out.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 40u);
  for (size_t i = 1; i < lines.size(); ++i) {
    const Outcome c = run("compare --lang ES --case '" + lines[i - 1] + "' '" + lines[i] + "'");
    EXPECT_NE(c.out, "1\n") << lines[i - 1] << " / " << lines[i];
  }
}

TEST_F(SortCompare, ComparesAndExplainsTheDecidingLevel) {
  const std::vector<std::pair<std::string, std::string>> results = {
      {"compare abc abd", "-1\n"},           {"compare a A", "0\n"},
      {"compare --case a A", "-1\n"},        {"compare --lang ES ch d", "-1\n"},
      {"compare --lang ES cz ch", "-1\n"},   {"compare --lang CZ ch h", "1\n"},
      {"compare --lang FR '\xC3\xA6' ae", "0\n"},
  };
  for (const auto &[args, output] : results) {
    const Outcome r = run(args);
    SCOPED_TRACE(describe(args, r));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, output);
  }
  const std::vector<std::pair<std::string, std::string>> levels = {
      {"compare --explain abc abd", "primary values"},
      {"compare --explain ab abc", "length at the primary level (one string runs out first)"},
      {"compare --explain e '\xC3\xA9'", "secondary values"},
      {"compare --explain --case a A", "case"},
      {"compare --explain a A", "none: the strings are equal"},
  };
  for (const auto &[args, level] : levels) {
    const Outcome r = run(args);
    SCOPED_TRACE(describe(args, r));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.ends_with("\ndecided by: " + level + "\n"));
  }
  const Outcome r = run("compare --lang ES --explain ch c");
  EXPECT_TRUE(qstr::test::contains(r.out, "  c     0x0063  132")) << r.out;  // the pair: c + 1
  EXPECT_TRUE(qstr::test::contains(r.out, "  h     0x0068  138")) << r.out;
}

// Every failure is one line on standard error, starting with the command's
// name, and nothing on standard output.
TEST_F(SortCompare, ReportsBadInputAndBadUsage) {
  struct Case {
    std::string args, input;
    int status;
    std::string errStart;  // the whole line when it ends in a line feed
  };
  const std::string bad = write("bad.txt", "ok\n\xC3\x28\n").string(), missing = (dir_ / "missing.txt").string();
  std::vector<Case> cases = {
      {"compare '\xC3\x28' a", "", 1, "qstr compare: A is not UTF-8\n"},
      {"sort", "ok\n\xC3\x28\n", 1, "qstr sort: (standard input): line 2: invalid UTF-8\n"},
      {"sort --simple '" + bad + "'", "", 1, "qstr sort: " + bad + ": line 2: invalid UTF-8\n"},
      {"sort '" + missing + "'", "", 1, "qstr sort: "},
      {"sort --simple '" + missing + "'", "", 1, "qstr sort: "},
  };
  for (const std::string bytes : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xE4\xB8"}) {
    cases.push_back({"sort --simple", "a\nb\n" + bytes + "\n", 1,
                     "qstr sort: (standard input): line 3: invalid UTF-8\n"});
  }
  for (const char *args : {"compare a", "compare a b c", "compare --lang XX a b", "compare --lang ESP a b",
                           "compare --lang", "compare --frob a b"}) {
    cases.push_back({args, "", 2, "qstr compare: "});
  }
  for (const char *args : {"sort --lang E1", "sort a b", "sort --ignore-case", "sort --lang", "sort --simple --lang E1",
                           "sort --simple --lang", "sort --simple a b", "sort --simple --case"}) {
    cases.push_back({args, "", 2, "qstr sort: "});
  }
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(r.err.starts_with(c.errStart));
    EXPECT_TRUE(qstr::test::oneLine(r.err));
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
