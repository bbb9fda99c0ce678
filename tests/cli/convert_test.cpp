// The qstr convert command: every form both ways, its errors with the byte
// offset, and the output file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

using qstr::test::contains;
using qstr::test::describe;
using qstr::test::readWhole;
using qstr::test::runQstr;

// qstr convert --from FROM --to TO, then the other arguments; an empty form
// is left out.
std::vector<std::string> convert(const std::vector<std::string> &forms) {
  std::vector<std::string> args = {"convert"};
  if (!forms[0].empty()) args.insert(args.end(), {"--from", forms[0]});
  if (!forms[1].empty()) args.insert(args.end(), {"--to", forms[1]});
  args.insert(args.end(), forms.begin() + 2, forms.end());
  return args;
}

TEST(QstrConvert, FormsAndErrors) {
  struct Case {
    std::vector<std::string> forms;  // from, to, other arguments
    std::string input, output;
    int status;
    std::string errorPart;  // expected on standard error, or empty for none
  };
  const std::vector<Case> cases = {
      {{"utf8", "cp1252"}, "caf\xC3\xA9 \xE2\x82\xAC\n", "caf\xE9 \x80\n", 0, ""},
      {{"cp1252", "utf8"}, "caf\xE9\r\n", "caf\xC3\xA9\r\n", 0, ""},
      {{"utf8", "cp437"}, "\xC3\x84", "\x8E", 0, ""},
      {{"cp932", "utf8"}, "\x88\x9F\xB1", "\xE4\xBA\x9C\xEF\xBD\xB1", 0, ""},
      {{"utf8", "utf16le"}, "A\xC3\xA9", std::string("A\0\xE9\0", 4), 0, ""},
      {{"utf8", "native"}, "A\xC3\xA9\n", std::string("A\0\x29\x01\x0A\xF9", 6), 0, ""},
      {{"utf8", "dz"}, "A\xC3\xA9\n", std::string("A\xF0\x29\x01\xF0\xCC\0", 7), 0, ""},
      {{"dz", "utf8"}, std::string("A\x85\xF0\x29\x01\xF0\xCC\0", 8), "A\xC3\xA9\n", 0, ""},
      {{"utf8", "tz"}, "A\xC3\xA9\n", "A\xFD\x29\x01\x0D", 0, ""},
      // The previous format version: checked whole, converted, renumbered.
      {{"v5dz", "native"}, std::string("A\xC3\x05\xC3" "B\x0A\0", 7),
       std::string("A\0\x0A\xFE" "B\0\x0A\xF9", 8), 0, ""},
      {{"v5dz", "utf8"}, std::string("A\xC0\x18\x01\xC0", 5), "A\xC4\xB1", 0, ""},  // 0x0118 becomes 0x01EF
      {{"v5cdz-gb", "native"}, std::string("\x24\x64\0", 3), std::string("\x00\x83", 2), 0, ""},
      {{"utf8", "v5dz"}, "A\xC3\xA9", std::string("A\xC0\x29\x01\xC0\0", 6), 0, ""},
      {{"v5dz", "utf8"}, std::string("A\xC0\x29", 3), "", 1, "byte 1: incomplete or unclosed version-5 item"},
      {{"utf8", "v5cdz-big5"}, "", "", 2, "input form only"},
      // Characters without a mapping are counted; --strict makes them an error.
      {{"utf8", "cp1252"}, "\xD0\x96", "?", 0, "1 character had no mapping"},
      {{"utf8", "cp1252", "--strict"}, "\xD0\x96", "?", 1, "1 character had no mapping"},
      // Input that is not valid in its form: the byte offset.
      {{"utf8", "cp1252"}, "ab\xC3(", "", 1, "standard input: byte 2: invalid UTF-8"},
      {{"utf8", "cp1252"}, "ab\xED\xA0\x80", "", 1, "byte 2: invalid UTF-8"},
      {{"utf8", "cp1252"}, "ab\xE2\x82", "", 1, "byte 2: invalid UTF-8"},
      {{"native", "utf8"}, "abc", "", 1, "byte 2: odd number of bytes"},
      {{"dz", "utf8"}, std::string("A\xD3\x00\x05\x00", 5), "", 1, "byte 1: malformed document stream"},
      {{"dz", "utf8"}, std::string("AB\xF0\x29\x01", 5), "", 1, "byte 2: malformed document stream"},
      {{"dz", "utf8"}, std::string("A\xF2\x01\xF3", 4), "", 1, "ends with 0xF3"},
      {{"dz", "utf8"}, std::string("A\0B", 3), "", 1, "byte 2: data after the stream"},
      // Usage errors.
      {{"utf8", ""}, "", "", 2, "--to is required"},
      {{"ebcdic", "utf8"}, "", "", 2, "unknown form"},
      {{"tz", "utf8"}, "", "", 2, "output form only"},
      {{"cp932", "cp936"}, "", "", 2, "one code page"},
      {{"utf8", "cp1252", "--bogus"}, "", "", 2, "unknown option --bogus"},
  };
  for (const Case &c : cases) {
    const auto args = convert(c.forms);
    const auto r = runQstr(args, c.input);
    SCOPED_TRACE(describe(args, r));
    EXPECT_EQ(r.status, c.status);
    // A failed run to standard output may have written what came before
    // the error: only a successful run's output is compared.
    if (c.status == 0) EXPECT_EQ(r.out, c.output);
    EXPECT_TRUE(c.errorPart.empty() ? r.err.empty() : contains(r.err, c.errorPart) && qstr::test::oneLine(r.err));
  }
}

using ConvertToFile = qstr::test::ScratchFolderTest;

TEST_F(ConvertToFile, WrittenOnlyOnSuccess) {
  const std::string out = (dir_ / "out.txt").string();
  EXPECT_EQ(runQstr(convert({"utf8", "cp1252", "-o", out}), "ok \xC3").status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir_)) << "no partial or temporary file is left";
  EXPECT_EQ(runQstr(convert({"utf8", "cp1252", "-o", out}), "ok \xC3\xA9").status, 0);
  EXPECT_EQ(readWhole(out), "ok \xE9");
  EXPECT_EQ(runQstr(convert({"utf8", "cp1252", "--strict", "-o", out}), "\xD0\x96").status, 1);
  EXPECT_EQ(readWhole(out), "ok \xE9") << "a failed run leaves the old file";
}

// Round trips through every form that can be read back, on a text of
// several scripts.
TEST(QstrConvert, RoundTripsThroughEveryReadableForm) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xCE\xB1\xCE\xB2 \xD0\x96 \xE2\x82\xAC\tend\r\n";
  for (const char *form : {"utf16le", "native", "dz"}) {
    const auto there = runQstr(convert({"utf8", form}), text);
    ASSERT_EQ(there.status, 0) << form << there.err;
    const auto back = runQstr(convert({form, "utf8"}), there.out);
    ASSERT_EQ(back.status, 0) << form << back.err;
    EXPECT_EQ(back.out, text) << form;
  }
}

}  // namespace
