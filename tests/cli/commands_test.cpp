#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "run_qstr.h"

namespace {

using qstr::test::runQstr;

struct CommandCase {
  std::vector<std::string> args;
  int status;
  std::string outPart;  // expected in standard output (or empty)
  std::string errPart;  // expected in standard error (or empty for none)
};

TEST(QstrCommands, UsageAndOutput) {
  const std::vector<CommandCase> cases = {
      {{"--version"}, 0, "qstr 14.", ""},
      {{"--help"}, 0, "commands:", ""},
      {{}, 2, "usage: qstr", ""},
      {{"frobnicate"}, 2, "", "unknown command 'frobnicate'"},
      {{"info"}, 0, "ANSI code page        1252", ""},
      {{"info", "--help"}, 0, "usage: qstr info", ""},
      {{"info", "extra"}, 2, "", "unexpected argument 'extra'"},
      {{"chars", "8"}, 0, "0x0801  U+03B1  \xCE\xB1", ""},
      {{"chars", "0x0B"}, 0, "0x0B3E  U+FF9F", ""},
      {{"chars", "15"}, 2, "", "SET must be a character set number 0-14"},
      {{"chars", "1", "2"}, 2, "", "at most one SET"},
      {{"codepage"}, 0, "Windows code page     1252  (system)", ""},
      {{"registry"}, 0, "(no values)", ""},
      {{"codepage", "--set-windows", "abc"}, 2, "", "--set-windows needs a code page number"},
  };
  for (const CommandCase &c : cases) {
    const auto result = runQstr(c.args);
    std::string what;
    for (const auto &a : c.args) what += a + " ";
    EXPECT_EQ(result.status, c.status) << what << result.err;
    if (!c.outPart.empty()) EXPECT_NE(result.out.find(c.outPart), std::string::npos) << what << result.out;
    if (c.errPart.empty()) {
      EXPECT_EQ(result.err, "") << what;
    } else {
      EXPECT_NE(result.err.find(c.errPart), std::string::npos) << what << result.err;
    }
  }
}

TEST(QstrCommands, InfoExplainsIgnoredOverrides) {
  const auto result = runQstr({"info"}, "", "QSTR14_REGISTRY=:memory: LANG=ja_JP.UTF-8 QSTR14_ACP=abc");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("ANSI code page        932  (locale ja_JP)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("QSTR14_ACP=\"abc\" is not a number"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("country ID            1 (Japanese)"), std::string::npos) << result.out;
}

TEST(QstrCommands, CodePageStoredAndListedThroughAFile) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qstr-cli-registry";
  std::filesystem::remove_all(dir);
  const std::string env = "LANG=en_US QSTR14_REGISTRY=" + (dir / "sub" / "registry.reg").string();
  auto set = runQstr({"codepage", "--set-windows", "1250"}, "", env);
  EXPECT_EQ(set.status, 0) << set.err;
  EXPECT_NE(set.out.find("Windows code page     1250  (registry)"), std::string::npos) << set.out;
  auto listed = runQstr({"registry"}, "", env);
  EXPECT_EQ(listed.status, 0);
  EXPECT_NE(listed.out.find("\"Windows Code Page\"  code page  1250"), std::string::npos) << listed.out;
  // A registry file that does not parse: one line naming file and line.
  { std::ofstream(dir / "sub" / "registry.reg") << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\n"; }
  auto broken = runQstr({"registry"}, "", env);
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.err.find("registry.reg:3:"), std::string::npos) << broken.err;
  EXPECT_EQ(broken.err.find('\n'), broken.err.size() - 1);
  auto refused = runQstr({"codepage", "--set-windows", "1251"}, "", env);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("registry.reg:3:"), std::string::npos) << refused.err;
  std::filesystem::remove_all(dir);
}

}  // namespace
