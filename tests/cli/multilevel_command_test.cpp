// qstr sort (the multi-level mode) and qstr compare, run as programs.
#include <gtest/gtest.h>

#include "run_qstr.h"
#include "scratch_folder_test.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Outcome = qstr::test::QstrResult;

class MultilevelCommand : public qstr::test::ScratchFolderTest {
 protected:
  // Runs qstr with `args` (quoted by the caller) under a profile and a
  // private registry.
  Outcome run(const std::string &args, const std::string &input = "", const std::string &locale = "en_US") {
    return qstr::test::runQstrCommandLine(
        args, input, "QSTR14_REGISTRY=:memory: LANG=" + locale + ".UTF-8 LC_ALL= QSTR14_LOCALE= QSTR14_ACP=");
  }
};

TEST_F(MultilevelCommand, SortsByLanguage) {
  struct Case {
    std::string args, input, output, locale = "en_US";
  };
  const std::vector<Case> cases = {
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
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input, c.locale);
    EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
    EXPECT_EQ(r.out, c.output) << c.args;
    EXPECT_EQ(r.err, "") << c.args;
  }
}

TEST_F(MultilevelCommand, SortsManyLinesStablyWithAndWithoutKeys) {
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

TEST_F(MultilevelCommand, Compares) {
  struct Case {
    std::string args, output;
  };
  const std::vector<Case> cases = {
      {"compare abc abd", "-1\n"},
      {"compare a A", "0\n"},
      {"compare --case a A", "-1\n"},
      {"compare --lang ES ch d", "-1\n"},
      {"compare --lang ES cz ch", "-1\n"},
      {"compare --lang CZ ch h", "1\n"},
      {"compare --lang FR '\xC3\xA6' ae", "0\n"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args);
    EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
    EXPECT_EQ(r.out, c.output) << c.args;
  }
}

TEST_F(MultilevelCommand, ExplainsTheDecidingLevel) {
  struct Case {
    std::string args, level;
  };
  const std::vector<Case> cases = {
      {"compare --explain abc abd", "decided by: primary values\n"},
      {"compare --explain ab abc", "decided by: length at the primary level (one string runs out first)\n"},
      {"compare --explain e '\xC3\xA9'", "decided by: secondary values\n"},
      {"compare --explain --case a A", "decided by: case\n"},
      {"compare --explain a A", "decided by: none: the strings are equal\n"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args);
    EXPECT_EQ(r.status, 0) << c.args;
    ASSERT_GE(r.out.size(), c.level.size()) << c.args;
    EXPECT_EQ(r.out.substr(r.out.size() - c.level.size()), c.level) << c.args << "\n" << r.out;
  }
  const Outcome r = run("compare --lang ES --explain ch c");
  EXPECT_NE(r.out.find("  c     0x0063  132"), std::string::npos) << r.out;  // the pair: c + 1
  EXPECT_NE(r.out.find("  h     0x0068  138"), std::string::npos) << r.out;
}

TEST_F(MultilevelCommand, ReportsBadInputAndBadUsage) {
  Outcome r = run("compare '\xC3\x28' a");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "qstr compare: A is not UTF-8\n");
  r = run("sort", "ok\n\xC3\x28\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "qstr sort: (standard input): line 2: invalid UTF-8\n");
  r = run("sort '" + (dir_ / "missing.txt").string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("qstr sort: ", 0), 0u);

  for (const std::string &args : {"compare a", "compare a b c", "compare --lang XX a b", "compare --lang ESP a b",
                                  "compare --lang", "compare --frob a b"}) {
    r = run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err.rfind("qstr compare: ", 0), 0u) << args << ": " << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  for (const std::string &args : {"sort --lang E1", "sort a b", "sort --ignore-case", "sort --lang"}) {
    r = run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err.rfind("qstr sort: ", 0), 0u) << args << ": " << r.err;
  }
}

}  // namespace
