// qstr sort --simple, run as a program: the lines it writes, its error
// line and its exit status.
#include <gtest/gtest.h>

#include "run_qstr.h"
#include "scratch_folder_test.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Outcome = qstr::test::QstrResult;

class SortCommand : public qstr::test::ScratchFolderTest {
 protected:
  // Runs qstr with `args` (quoted by the caller) under an English profile
  // and a private registry.
  Outcome run(const std::string &args, const std::string &input = "") {
    return qstr::test::runQstrCommandLine(args, input);
  }
};

TEST_F(SortCommand, SortsByTheLanguagesSequence) {
  struct Case {
    std::string args, input, output;
  };
  const std::vector<Case> cases = {
      // a and a-umlaut are equal but for case, which puts the capital after both
      {"sort --simple", "b\nA\na\n\xC3\xA4\nz\n1\n", "1\na\n\xC3\xA4\nA\nb\nz\n"},
      {"sort --simple --lang SV", "b\nA\na\n\xC3\xA4\nz\n1\n", "1\na\nA\nb\nz\n\xC3\xA4\n"},
      {"sort --simple --lang sv", "\xC3\xB6\n\xC3\xA4\n", "\xC3\xA4\n\xC3\xB6\n"},
      {"sort --simple --ignore-case", "b\nB\na\nA\nb\n", "a\nA\nb\nB\nb\n"},  // equal lines keep their order
      {"sort --simple", "B\nb\n", "b\nB\n"},
      {"sort --simple", "b\r\na\n", "a\nb\r\n"},  // line ends are kept
      {"sort --simple", "b\na", "a\nb\n"},
      {"sort --simple", "", ""},
      // characters without a native form are invisible to the comparison and
      // come back unchanged
      {"sort --simple", "\xE4\xB8\x80\nb\n\xF0\x9F\x98\x80\n", "\xE4\xB8\x80\n\xF0\x9F\x98\x80\nb\n"},
  };
  for (const Case &c : cases) {
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
    EXPECT_EQ(r.out, c.output) << c.args;
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(SortCommand, ReadsAFile) {
  const fs::path file = write("words.txt", "pear\napple\n");
  const Outcome r = run("sort --simple '" + file.string() + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "apple\npear\n");
}

TEST_F(SortCommand, ReportsBadInputAndBadUsage) {
  const fs::path file = write("bad.txt", "ok\n\xC3\x28\n");
  Outcome r = run("sort --simple '" + file.string() + "'");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "qstr sort: " + file.string() + ": line 2: invalid UTF-8\n");
  EXPECT_EQ(r.out, "");

  for (const std::string &bytes : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xE4\xB8"}) {
    r = run("sort --simple", "a\nb\n" + bytes + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "qstr sort: (standard input): line 3: invalid UTF-8\n");
  }

  r = run("sort --simple '" + (dir_ / "missing.txt").string() + "'");
  EXPECT_EQ(r.status, 1);

  for (const std::string &args : {"sort --simple --lang E1", "sort --simple --lang", "sort --simple a b",
                                  "sort --simple --case"}) {
    r = run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err.rfind("qstr sort: ", 0), 0u) << args << ": " << r.err;
  }
}

}  // namespace
