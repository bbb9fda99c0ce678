// The qstr tool's usage, its informational commands, dump, and the registry
// kept in a file.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

using qstr::test::contains;
using qstr::test::describe;
using qstr::test::runQstr;

TEST(QstrCommands, UsageOutputAndErrors) {
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
      {{"info"}, "", 0, "ANSI code page        1252", ""},
      {{"info", "--help"}, "", 0, "usage: qstr info", ""},
      {{"info", "extra"}, "", 2, "", "unexpected argument 'extra'"},
      {{"chars", "8"}, "", 0, "0x0801  U+03B1  \xCE\xB1", ""},
      {{"chars", "0x0B"}, "", 0, "0x0B3E  U+FF9F", ""},
      {{"chars", "15"}, "", 2, "", "SET must be a character set number 0-14"},
      {{"chars", "1", "2"}, "", 2, "", "unexpected argument '2'"},
      {{"codepage"}, "", 0, "Windows code page     1252  (system)", ""},
      {{"registry"}, "", 0, "(no values)", ""},
      {{"codepage", "--set-windows", "abc"}, "", 2, "", "--set-windows needs a code page number"},
      // Malformed document streams: the byte offset and what is wrong there.
      {{"dump", "-"}, "A\xF0\x29\x01", 1, "", "byte 1: malformed document stream: the last item is incomplete"},
      {{"dump", "-"}, "\xF2\x01\xF3", 1, "", "byte 0: malformed document stream: group 0xF2 ends with 0xF3"},
      {{"dump", "-"}, std::string("AB\xD3\x00\x05\x00\x00", 7), 1, "",
       "byte 2: malformed document stream: group 0xD3 gives its length as 5"},
      {{"dump", "-"}, std::string("\xD3\x00\x08\x00\x00\x09\x00\xD3", 8), 1, "", "two different lengths"},
      {{"dump", "-"}, std::string("A\0B", 3), 1, "", "byte 2: data after the terminating zero byte"},
  };
  for (const Case &c : cases) {
    const auto r = runQstr(c.args, c.input);
    SCOPED_TRACE(describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    EXPECT_TRUE(contains(r.out, c.outPart));
    EXPECT_TRUE(c.errPart.empty() ? r.err.empty() : contains(r.err, c.errPart));
  }
  EXPECT_EQ(runQstr({"dump"}).status, 2);
  EXPECT_EQ(runQstr({"dump", "/nonexistent/file"}).status, 1);
}

TEST(QstrCommands, DumpListsEveryItem) {
  const std::string stream("A\x85\xF0\x29\x01\xF0\xF2\x0C\xF2\xD3\x00\x08\x00\x00\x08\x00\xD3" "B\0", 19);
  const auto r = runQstr({"dump", "-"}, stream);
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char *line : {"2          character group       4  0x0129  U+00E9",
                           "6          fixed group           3  0xF2  attribute 12 on",
                           "9          variable group        8  0xD3", "18         terminator            1"}) {
    EXPECT_TRUE(contains(r.out, line)) << line << "\n" << r.out;
  }
}

TEST(QstrCommands, InfoExplainsIgnoredOverrides) {
  const auto r = runQstr({"info"}, "", "QSTR14_REGISTRY=:memory: LANG=ja_JP.UTF-8 QSTR14_ACP=abc QSTR14_ISA=avx2");
  EXPECT_EQ(r.status, 0);
  for (const char *line : {"ANSI code page        932  (locale ja_JP)", "QSTR14_ACP=\"abc\" is not a number",
                           "country ID            1 (Japanese)", "QSTR14_ISA=\"avx2\" is not plain, sse2 or avx512"}) {
    EXPECT_TRUE(contains(r.out, line)) << line << "\n" << r.out;
  }
  const auto capped = runQstr({"info"}, "", "QSTR14_REGISTRY=:memory: QSTR14_ISA=plain");
  EXPECT_TRUE(contains(capped.out, "vector instructions   plain  (QSTR14_ISA)")) << capped.out;
}

using RegistryFile = qstr::test::ScratchFolderTest;

TEST_F(RegistryFile, CodePageStoredListedAndParseErrorsReported) {
  const auto file = dir_ / "sub" / "registry.reg";  // its folder is created on the first write
  const std::string env = "LANG=en_US QSTR14_REGISTRY=" + file.string();
  auto r = runQstr({"codepage", "--set-windows", "1250"}, "", env);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(r.out, "Windows code page     1250  (registry)")) << r.out;
  r = runQstr({"registry"}, "", env);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains(r.out, "\"Windows Code Page\"  code page  1250")) << r.out;
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
