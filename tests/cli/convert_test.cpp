#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run_qstr.h"

namespace {

using qstr::test::runQstr;

struct ConvertCase {
  std::vector<std::string> args;
  std::string input;
  std::string output;
  int status;
  std::string errorPart;  // expected on standard error, or empty for none
};

TEST(QstrConvert, FormsAndErrors) {
  const std::vector<ConvertCase> cases = {
      {{"convert", "--from", "utf8", "--to", "cp1252"}, "caf\xC3\xA9 \xE2\x82\xAC\n", "caf\xE9 \x80\n", 0, ""},
      {{"convert", "--from", "cp1252", "--to", "utf8"}, "caf\xE9\r\n", "caf\xC3\xA9\r\n", 0, ""},
      {{"convert", "--from", "utf8", "--to", "cp437"}, "\xC3\x84", "\x8E", 0, ""},
      {{"convert", "--from", "cp932", "--to", "utf8"}, "\x88\x9F\xB1", "\xE4\xBA\x9C\xEF\xBD\xB1", 0, ""},
      {{"convert", "--from", "utf8", "--to", "utf16le"}, "A\xC3\xA9", std::string("A\0\xE9\0", 4), 0, ""},
      {{"convert", "--from", "utf8", "--to", "native"}, "A\xC3\xA9\n", std::string("A\0\x29\x01\x0A\xF9", 6), 0, ""},
      {{"convert", "--from", "utf8", "--to", "dz"}, "A\xC3\xA9\n", std::string("A\xF0\x29\x01\xF0\xCC\0", 7), 0, ""},
      {{"convert", "--from", "dz", "--to", "utf8"}, std::string("A\x85\xF0\x29\x01\xF0\xCC\0", 8), "A\xC3\xA9\n", 0, ""},
      {{"convert", "--from", "utf8", "--to", "tz"}, "A\xC3\xA9\n", "A\xFD\x29\x01\x0D", 0, ""},
      // The previous format version: checked whole, converted, renumbered.
      {{"convert", "--from", "v5dz", "--to", "native"}, std::string("A\xC3\x05\xC3" "B\x0A\0", 7),
       std::string("A\0\x0A\xFE" "B\0\x0A\xF9", 8), 0, ""},
      {{"convert", "--from", "v5dz", "--to", "utf8"}, std::string("A\xC0\x18\x01\xC0", 5), "A\xC4\xB1", 0, ""},  // 0x0118 becomes 0x01EF
      {{"convert", "--from", "v5cdz-gb", "--to", "native"}, std::string("\x24\x64\0", 3), std::string("\x00\x83", 2), 0, ""},
      {{"convert", "--from", "utf8", "--to", "v5dz"}, "A\xC3\xA9", std::string("A\xC0\x29\x01\xC0\0", 6), 0, ""},
      {{"convert", "--from", "v5dz", "--to", "utf8"}, std::string("A\xC0\x29", 3), "", 1, "byte 1: incomplete or unclosed version-5 item"},
      {{"convert", "--from", "utf8", "--to", "v5cdz-big5"}, "", "", 2, "input form only"},
      // Characters without a mapping are counted; --strict makes them an error.
      {{"convert", "--from", "utf8", "--to", "cp1252"}, "\xD0\x96", "?", 0, "1 character had no mapping"},
      {{"convert", "--from", "utf8", "--to", "cp1252", "--strict"}, "\xD0\x96", "?", 1, "1 character had no mapping"},
      // Input that is not valid in its form: the byte offset.
      {{"convert", "--from", "utf8", "--to", "cp1252"}, "ab\xC3(", "", 1, "standard input: byte 2: invalid UTF-8"},
      {{"convert", "--from", "utf8", "--to", "cp1252"}, "ab\xED\xA0\x80", "", 1, "byte 2: invalid UTF-8"},
      {{"convert", "--from", "utf8", "--to", "cp1252"}, "ab\xE2\x82", "", 1, "byte 2: invalid UTF-8"},
      {{"convert", "--from", "native", "--to", "utf8"}, "abc", "", 1, "byte 2: odd number of bytes"},
      {{"convert", "--from", "dz", "--to", "utf8"}, std::string("A\xD3\x00\x05\x00", 5), "", 1, "byte 1: malformed document stream"},
      {{"convert", "--from", "dz", "--to", "utf8"}, std::string("AB\xF0\x29\x01", 5), "", 1, "byte 2: malformed document stream"},
      {{"convert", "--from", "dz", "--to", "utf8"}, std::string("A\xF2\x01\xF3", 4), "", 1, "ends with 0xF3"},
      {{"convert", "--from", "dz", "--to", "utf8"}, std::string("A\0B", 3), "", 1, "byte 2: data after the stream"},
      // Usage errors.
      {{"convert", "--from", "utf8"}, "", "", 2, "both --from and --to"},
      {{"convert", "--from", "ebcdic", "--to", "utf8"}, "", "", 2, "unknown form"},
      {{"convert", "--from", "tz", "--to", "utf8"}, "", "", 2, "output form only"},
      {{"convert", "--from", "cp932", "--to", "cp936"}, "", "", 2, "one code page"},
      {{"convert", "--from", "utf8", "--to", "cp1252", "--bogus"}, "", "", 2, "unknown option --bogus"},
  };
  for (const ConvertCase &c : cases) {
    const auto result = runQstr(c.args, c.input);
    std::string what;
    for (const auto &a : c.args) what += a + " ";
    EXPECT_EQ(result.status, c.status) << what << result.err;
    // A failed run to standard output may have written what came before
    // the error: only a successful run's output is compared.
    if (c.status == 0) EXPECT_EQ(result.out, c.output) << what;
    if (c.errorPart.empty()) {
      EXPECT_EQ(result.err, "") << what;
    } else {
      EXPECT_NE(result.err.find(c.errorPart), std::string::npos) << what << ": " << result.err;
      EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << what << ": one line";
    }
  }
}

TEST(QstrConvert, OutputFileOnlyOnSuccess) {
  const std::string dir = std::filesystem::temp_directory_path() / "qstr-convert-output";
  std::filesystem::create_directories(dir);
  const std::string out = dir + "/out.txt";
  std::filesystem::remove(out);
  auto failed = runQstr({"convert", "--from", "utf8", "--to", "cp1252", "-o", out}, "ok \xC3");
  EXPECT_EQ(failed.status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir)) << "no partial or temporary file is left";
  auto done = runQstr({"convert", "--from", "utf8", "--to", "cp1252", "-o", out}, "ok \xC3\xA9");
  EXPECT_EQ(done.status, 0);
  EXPECT_EQ(qstr::test::readWhole(out), "ok \xE9");
  auto strict = runQstr({"convert", "--from", "utf8", "--to", "cp1252", "--strict", "-o", out}, "\xD0\x96");
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(qstr::test::readWhole(out), "ok \xE9") << "a failed run leaves the old file";
  std::filesystem::remove_all(dir);
}

// Round trips through every form that can be read back, on a text of
// several scripts.
TEST(QstrConvert, RoundTripsThroughEveryReadableForm) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xCE\xB1\xCE\xB2 \xD0\x96 \xE2\x82\xAC\tend\r\n";
  for (const char *form : {"utf16le", "native", "dz"}) {
    auto there = runQstr({"convert", "--from", "utf8", "--to", form}, text);
    ASSERT_EQ(there.status, 0) << form << there.err;
    auto back = runQstr({"convert", "--from", form, "--to", "utf8"}, there.out);
    ASSERT_EQ(back.status, 0) << form << back.err;
    EXPECT_EQ(back.out, text) << form;
  }
}

}  // namespace
