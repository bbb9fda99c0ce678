// qstr sort (the simple and the multi-level mode) and qstr compare, run as
// programs: the lines they write, their error line and their exit status.
#include <gtest/gtest.h>

#include <filesystem>
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
        args, input,
        "QSTR14_REGISTRY=:memory: LANG=" + locale + ".UTF-8 LC_ALL= LC_CTYPE= QSTR14_LOCALE= QSTR14_ACP=");
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
      // The output is the input's bytes: presentation forms and characters
      // that map to one native character come back as they were read.
      {"sort", "\xEF\xBB\xAD\n\xEF\xBA\xA9\nb\n", "b\n\xEF\xBA\xA9\n\xEF\xBB\xAD\n"},
      {"sort --simple", "\xEF\xBB\xAD\nb\n", "b\n\xEF\xBB\xAD\n"},
      {"sort", "b\r\na\nc\r\n\r\n", "\r\na\nb\r\nc\r\n"},
      {"sort", "b\na\r", "a\r\nb\n"},  // the last line's CR is text; it gets an LF
      {"sort", "b\n\na\n", "\na\nb\n"},
      // Options.
      {"sort -r", "b\na\nc\n", "c\nb\na\n"},
      {"sort -r", "b\nA\na\nc\n", "c\nb\nA\na\n"},  // equal lines keep their order reversed or not
      {"sort -u", "b\nA\na\nb\n", "A\nb\n"},        // the first of equal lines
      {"sort -u --case", "b\nA\na\nb\n", "a\nA\nb\n"},
      {"sort -ru", "a\nb\nB\n", "b\na\n"},
      {"sort -f", "b\nB\na\n", "a\nb\nB\n"},
      {"sort --simple -f", "b\nB\na\nA\n", "a\nA\nb\nB\n"},
      {"sort -t: -k2", "x:b:1\ny:a:2\nz\nw:a:1\n", "z\nw:a:1\ny:a:2\nx:b:1\n"},
      {"sort -t: -k2,2", "x:b:1\ny:a:2\nw:a:1\n", "y:a:2\nw:a:1\nx:b:1\n"},
      {"sort -t , -k 3,3 -r", "a,b,1\nc,d,3\ne,f,2\n", "c,d,3\ne,f,2\na,b,1\n"},
      {"sort -t '\xC3\xA9' -k2", "1\xC3\xA9z\n2\xC3\xA9y\n", "2\xC3\xA9y\n1\xC3\xA9z\n"},
      {"sort -k2,2", "x  b 2\n  a 3\nc 1\n", "c 1\n  a 3\nx  b 2\n"},  // blanks separate fields
      {"sort -k 1,1 -u", "a 2\nb 1\na 1\n", "a 2\nb 1\n"},
      {"sort --lang ES -k2 -t ' '", "1 llama\n2 luz\n", "2 luz\n1 llama\n"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input, c.locale);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.output);
    EXPECT_EQ(r.err, "");
  }
}

// --lang reads the word processor's code in capitals, then an ISO 639-1 code
// or a locale name, and says which it took when the two readings differ;
// without --lang the locale chooses.
TEST_F(SortCompare, ReadsLanguagesByTheirNames) {
  struct Case {
    std::string args, input, output, err, environment = "LANG=en_US.UTF-8";
  };
  const std::string czech = "hz\nch\n", plain = "ch\nhz\n", swedish = "z\n\xC3\xA4\n", english = "\xC3\xA4\nz\n";
  const std::vector<Case> cases = {
      {"sort --lang cs", plain, czech, "qstr sort: --lang cs: Czech (CZ); CS is Chinese (Simplified, CS)\n"},
      {"sort --lang CS", plain, plain, "qstr sort: --lang CS: Chinese (Simplified, CS); cs is Czech (CZ)\n"},
      {"sort --lang cs_CZ.UTF-8", plain, czech, ""},
      {"sort --lang sv-SE", english, swedish, ""},
      {"sort --lang SV", english, swedish, ""},
      {"sort --lang FI", english, swedish, ""},  // Finnish, read as ISO: SU
      {"sort --lang su", english, swedish, "qstr sort: --lang su: Finnish (SU)\n"},
      {"sort --lang de_CH", "\xC3\x9F\nst\nsr\n", "sr\n\xC3\x9F\nst\n", ""},
      {"sort --lang uk", "\xD1\x8C\n\xD1\x8F\n", "\xD1\x8F\n\xD1\x8C\n",
       "qstr sort: --lang uk: Ukrainian (YK); UK is English (United Kingdom, UK)\n"},
      {"compare --porcelain --lang da '\xC3\xA6' z", "", "1\n", ""},
      // The host profile's locale: QSTR14_LOCALE, LC_ALL, LC_CTYPE, LANG; else US.
      {"sort", english, swedish, "", "LANG=sv_SE.UTF-8"},
      {"sort", plain, czech, "", "LANG=en_US.UTF-8 LC_CTYPE=cs_CZ.UTF-8"},
      {"sort", english, english, "", "LANG=sv_SE.UTF-8 LC_ALL=C"},
      {"sort", english, swedish, "", "LANG=C QSTR14_LOCALE=sv_SE"},
      {"sort --lang US", english, english, "", "LANG=sv_SE.UTF-8"},
      {"compare '\xC3\xA4' z", "", "\xC3\xA4 > z (SU, decided by the letters)\n", "", "LANG=fi_FI.UTF-8"},
  };
  for (const Case &c : cases) {
    const std::string environment = "QSTR14_REGISTRY=:memory: LC_ALL= LC_CTYPE= QSTR14_LOCALE= " + c.environment;
    const Outcome r = qstr::test::runQstrCommandLine(c.args, c.input, environment);
    SCOPED_TRACE(describe(c.args + " under " + c.environment, r));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.output);
    EXPECT_EQ(r.err, c.err);
  }
  // The Czech sample words: cs sorts them as CZ does, which CS does not.
  const std::string words = "'" QSTR14_SOURCE_DIR "/samples/words/cs.txt'";
  const Outcome iso = run("sort --lang cs " + words), product = run("sort --lang CZ " + words);
  EXPECT_EQ(iso.out, product.out);
  EXPECT_NE(run("sort --lang CS " + words).out, product.out);
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
    const Outcome c = run("compare --porcelain --lang ES --case '" + lines[i - 1] + "' '" + lines[i] + "'");
    EXPECT_NE(c.out, "1\n") << lines[i - 1] << " / " << lines[i];
  }
}

TEST_F(SortCompare, ComparesAndExplainsTheDecidingLevel) {
  // In words by default, the level and the language's tailoring that
  // decided; --porcelain prints the number alone.
  const std::vector<std::pair<std::string, std::string>> results = {
      {"compare abc abd", "abc < abd (US, decided by the letters)\n"},
      {"compare ab abc", "ab < abc (US, decided by the length: ab runs out first)\n"},
      {"compare e '\xC3\xA9'", "e < \xC3\xA9 (US, decided by the accents)\n"},
      {"compare a A", "a = A (US, no level that counts tells them apart)\n"},
      {"compare --case A a", "A > a (US, decided by case)\n"},
      {"compare --lang ES llama luz", "llama > luz (ES, decided by the letters: ll sorts after l)\n"},
      {"compare --lang ES cz ch", "cz < ch (ES, decided by the letters: ch sorts after c)\n"},
      {"compare --lang CZ hz ch", "hz < ch (CZ, decided by the letters: ch sorts after h)\n"},
      {"compare --lang DE '\xC3\x9F' st", "\xC3\x9F < st (DE, decided by the letters: \xC3\x9F sorts as ss)\n"},
      {"compare --lang FR af '\xC3\xA6'", "af > \xC3\xA6 (FR, decided by the letters: \xC3\xA6 sorts as ae)\n"},
      // A tailoring elsewhere in the strings did not decide.
      {"compare --lang ES llama llamb", "llama < llamb (ES, decided by the letters)\n"},
      {"compare --porcelain abc abd", "-1\n"},        {"compare --porcelain a A", "0\n"},
      {"compare --porcelain --case a A", "-1\n"}, {"compare --porcelain --lang ES ch d", "-1\n"},
      {"compare --porcelain --lang ES cz ch", "-1\n"},
      {"compare --porcelain --lang CZ ch h", "1\n"},
      {"compare --porcelain --lang FR '\xC3\xA6' ae", "0\n"},
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
  // A contracted pair and an expanded letter are one row each, with the
  // values of both their positions: the pair is c + 1, then h.
  for (const auto &[args, row] : std::vector<std::pair<std::string, std::string>>{
           {"compare --lang ES --explain ch c", "\nch\t0x0063 0x0068\t132 138\t0x0000 0x0000\t0 0\tch sorts after c\n"},
           {"compare --lang ES --explain c ch", "\nB:\nchar\tnative\tprimary\tsecondary\tcase\tnote\nch\t"},
           {"compare --lang DE --explain 'a\xC3\x9F' a",
            "\na\t0x0061\t128\t0x0000\t0\t\n\xC3\x9F\t0x0073 0x0073\t155 155\t0x0000 0x0000\t0 0\t"
            "\xC3\x9F sorts as ss\n"}}) {
    const Outcome r = run(args);
    EXPECT_TRUE(qstr::test::contains(r.out, row)) << args << "\n" << r.out;
  }
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
      {"sort", "ok\n\xC3\x28\n", 1, "qstr sort: standard input:2:1: invalid UTF-8\n"},
      {"sort", "ok\n\xC3\xA9\xC3\x28\n", 1, "qstr sort: standard input:2:2: invalid UTF-8\n"},
      {"sort -k2", "ok\n\xC3\xA9 x\xC3\n", 1, "qstr sort: standard input:2:4: invalid UTF-8\n"},
      {"sort -c", "a\nb\n\xFF\n", 1, "qstr sort: standard input:3:1: invalid UTF-8\n"},
      {"sort -S 1K", std::string(3000, 'x') + "\n\xC3\x28\n", 1, "qstr sort: standard input:2:1: invalid UTF-8\n"},
      {"sort --simple '" + bad + "'", "", 1, "qstr sort: " + bad + ":2:1: invalid UTF-8\n"},
      {"sort '" + missing + "'", "", 1, "qstr sort: "},
      {"sort --simple '" + missing + "'", "", 1, "qstr sort: "},
  };
  for (const std::string bytes : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xE4\xB8"}) {
    cases.push_back({"sort --simple", "a\nb\n" + bytes + "\n", 1, "qstr sort: standard input:3:1: invalid UTF-8\n"});
  }
  for (const char *args : {"compare a", "compare a b c", "compare --lang XX a b", "compare --lang ESP a b",
                           "compare --lang", "compare --frob a b"}) {
    cases.push_back({args, "", 2, "qstr compare: "});
  }
  cases.push_back({"sort --lang xx", "", 2, "qstr sort: --lang xx: no such language (see 'qstr langs'"});
  for (const char *args : {"sort --lang E1", "sort a b", "sort --ignore-case", "sort --lang", "sort --simple --lang E1",
                           "sort --simple --lang", "sort --simple a b", "sort --simple --case", "sort -k 0",
                           "sort -k x", "sort -k 2,1", "sort -k 1.2", "sort -k", "sort -t ab -k1", "sort -t '' -k1",
                           "sort -t '\xC3' -k1", "sort -S 0", "sort -S 10X", "sort -S K", "sort -c -o out",
                           "sort -f --case", "sort --frob"}) {
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

// -c: silent and 0 when in order; otherwise 1 and the first line out of
// order, named.
TEST_F(SortCompare, ChecksTheOrder) {
  struct Case {
    std::string args, input;
    int status;
    std::string err;
  };
  const std::string file = write("check.txt", "a\nc\nb\n").string();
  const std::vector<Case> cases = {
      {"sort -c", "a\nA\nb\n", 0, ""},
      {"sort -c", "", 0, ""},
      {"sort -c", "a\nc\r\nb\nd\n", 1, "qstr sort: standard input:3: disorder: b\n"},
      {"sort -c '" + file + "'", "", 1, "qstr sort: " + file + ":3: disorder: b\n"},
      {"sort -c -u", "a\nA\n", 1, "qstr sort: standard input:2: disorder: A\n"},
      {"sort -c --case", "A\na\n", 1, "qstr sort: standard input:2: disorder: a\n"},
      {"sort -c -r", "c\nb\nb\na", 0, ""},
      {"sort -c -t, -k2", "x,a\nb,b\na,c\n", 0, ""},
      {"sort --check --lang ES", "luz\nllama\n", 0, ""},
      {"sort --check --simple", "B\nb\n", 1, "qstr sort: standard input:2: disorder: b\n"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
  }
}

TEST_F(SortCompare, WritesTheOutputFile) {
  const std::string out = (dir_ / "out.txt").string(), in = write("in.txt", "b\r\na\n").string();
  Outcome r = run("sort -o '" + out + "'", "y\nx");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(qstr::test::readWhole(out), "x\ny\n");
  // Onto its own input: the input is read whole first.
  r = run("sort '" + in + "' -o '" + in + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(qstr::test::readWhole(in), "a\nb\r\n");
  // A failed sort leaves the output as it was.
  r = run("sort -o '" + in + "'", "z\n\xFF\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(qstr::test::readWhole(in), "a\nb\r\n");
}

// Past --buffer-size the lines go to runs in temporary files that are
// merged (several levels deep with the smallest buffers); the result is
// the in-memory sort's, and the runs are gone afterwards.
TEST_F(SortCompare, SortsInRunsAsInMemory) {
  const char *stems[] = {"lla", "luz", "Calle", "cz", "ch", "\xC3\xA9t\xC3\xA9", "ete", "\xEF\xBB\xAD", "Zoo", "b"};
  std::string input;
  for (int i = 0; i < 700; ++i) {
    input += std::string(stems[(i * 7) % 10]) + (i % 3 == 0 ? "" : std::to_string((i * 37) % 50));
    input += i % 5 == 0 ? "\r\n" : "\n";
  }
  const std::string runs = (dir_ / "runs").string();
  std::filesystem::create_directory(runs);
  for (const char *options : {"", "-u", "-r --case", "--lang ES --case", "--lang ES -u", "--simple", "--simple -f -u",
                              "-t 1 -k2", "--lang HE -r"}) {
    const Outcome whole = run(std::string("sort ") + options, input);
    ASSERT_EQ(whole.status, 0) << options << whole.err;
    for (const char *size : {"1K", "300"}) {
      const std::string args = std::string("sort -S ") + size + " " + options;
      const Outcome r = qstr::test::runQstrCommandLine(
          args, input,
          "QSTR14_REGISTRY=:memory: LANG=en_US.UTF-8 LC_ALL= LC_CTYPE= QSTR14_LOCALE= TMPDIR='" + runs + "'");
      SCOPED_TRACE(describe(args, r));
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.out, whole.out);
      EXPECT_TRUE(std::filesystem::is_empty(runs));
    }
  }
}

}  // namespace
