// qstr convert: every form there and back (by any of its names, in any
// case), and every change to the text and every input error reported where
// it happens; a file (-o) is written only on success, and nothing is left
// otherwise.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

using namespace std::string_literals;
using ConvertTest = qstr::test::ScratchFolderTest;

TEST_F(ConvertTest, FormsChangesAndErrors) {
  struct Case {
    std::string args;  // --from, --to and options; -o writes into the scratch folder
    std::string input, output;
    int status;
    std::vector<std::string> report;  // the lines on standard error start so
    bool back = false;                // the output converts back to the input
  };
  const std::string out = (dir_ / "out").string(), emoji = "\xF0\x9F\x98\x80", in = "standard input";
  const std::string zhe = in + ":2:2: U+0416 CYRILLIC CAPITAL LETTER ZHE became '?' (not in code page 1252)";
  const std::string grin = ": U+1F600 GRINNING FACE dropped (no native character)\n";
  const auto one = [](const std::string &change) { return std::vector<std::string>{"1 character changed", change}; };
  const std::vector<Case> cases = {
      {"utf8 --to Windows-1252", "caf\xC3\xA9 \xE2\x82\xAC\r\n", "caf\xE9 \x80\r\n", 0, {}, true},
      {"cp65001 --to Shift_JIS", "\xE4\xBA\x9C\xEF\xBD\xB1", "\x88\x9F\xB1", 0, {}, true},
      {"UTF-8 --to latin1", "\xC3\x84", "\xC4", 0, {}, true},
      {"utf8 --to utf-16LE", "A\xC3\xA9" + emoji, "A\0\xE9\0\x3D\xD8\x00\xDE"s, 0, {}, true},
      {"utf8 --to native", "A\xC3\xA9\n", "A\0\x29\x01\x0A\xF9"s, 0, {}, true},
      {"utf8 --to dz", "A\xC3\xA9\n", "A\xF0\x29\x01\xF0\xCC\0"s, 0, {}, true},
      {"utf8 --to v5dz", "A\xC3\xA9", "A\xC0\x29\x01\xC0\0"s, 0, {}, true},
      {"native --to dz", "\x7F\0\x80\0"s, "\x7F\xF0\x80\x00\xF0\0"s, 0, {}, true},  // 0x80 up: a group
      {"utf8 --to tz", "A\xC3\xA9\n", "A\xFD\x29\x01\x0D", 0, {}},
      {"dz --to utf8", "A\x85\xF0\x29\x01\xF0\xCC\0"s, "A\xC3\xA9\n", 0, {}},
      // The previous format version: checked whole, converted, renumbered.
      {"v5dz --to native", "A\xC3\x05\xC3" "B\x0A\0"s, "A\0\x0A\xFE" "B\0\x0A\xF9"s, 0, {}},
      {"v5dz --to utf8", "A\xC0\x18\x01\xC0", "A\xC4\xB1", 0, {}},  // 0x0118 becomes 0x01EF
      {"v5cdz-gb --to native", "\x24\x64\0"s, "\x00\x83"s, 0, {}},
      // Changes: counted, the first five named; --strict makes the first an error.
      {"utf8 --to native", "x" + emoji + "y \xE4\xB8\xAD\n" + emoji + emoji + emoji + emoji + emoji,
       "x\0y\0 \0\x0A\xF9"s, 0,
       {"7 characters changed", in + ":1:2" + grin, in + ":1:5: U+4E2D CJK UNIFIED IDEOGRAPH-4E2D dropped",
        in + ":2:1" + grin, in + ":2:2" + grin, in + ":2:3" + grin, "and 2 more"}},
      {"utf8 --to cp1252 -o " + out, "a\n\x62\xD0\x96" "c\n", "a\nb?c\n", 0, one(zhe)},
      {"utf8 --to cp1252 --strict -o " + out, "a\n\x62\xD0\x96" "c\n", "", 1, {zhe}},
      {"native --to utf8", "A\0\xFF\x0E"s, "A\xEF\xBF\xBD", 0, one(in + ": byte 2: native character 0x0EFF")},
      {"utf8 --to dz -o " + out, "a\fb", "a\xCC" "b\0"s, 0, one(in + ":1:2: U+000C FORM FEED became U+000A")},
      {"dz --to utf8", "A\x80" "B\0"s, "A B", 0, one(in + ": byte 1: function 0x80 became U+0020 SPACE")},
      {"utf8 --to tz", "a\fb", "ab", 0, one(in + ":1:2: U+000C FORM FEED dropped")},
      {"utf8 --to v5dz", "a\tb\n", "ab\n\0"s, 0, one(in + ":1:2: U+0009 CHARACTER TABULATION dropped")},
      // Invalid input: line and column in text, the byte offset in binary forms.
      {"utf8 --to cp1252 -o " + out, "ab\xC3(", "", 1, {in + ":1:3: invalid UTF-8\n"}},
      {"utf8 --to utf16le", "\xC3\xA9\n" + emoji + "b\xED\xA0\x80", "", 1, {in + ":2:3: invalid UTF-8"}},
      {"utf16le --to utf8", "a\0\n\0\x3D\xD8" "b\0"s, "", 1, {in + ":2:1: invalid UTF-16"}},
      {"utf16le --to utf8", "ab\n", "", 1, {in + ":1:2: odd number of bytes"}},
      {"native --to utf8", "abc", "", 1, {in + ": byte 2: odd number of bytes"}},
      {"dz --to utf8", "AB\xF0\x29\x01", "", 1, {in + ": byte 2: malformed document stream"}},
      {"dz --to utf8", "A\0B"s, "", 1, {in + ": byte 2: data after the stream"}},
      {"v5dz --to utf8", "A\xC0\x29", "", 1, {in + ": byte 1: incomplete or unclosed version-5 item"}},
      // Byte order marks: passed over, written with --bom, kept between Unicode forms.
      {"utf16le --to cp1252", "\xFF\xFEh\0\x3D\xD8\x00\xDE"s, "h", 0, one(in + ":1:2" + grin)},
      {"cp1252 --to utf16le --bom", "hi", "\xFF\xFEh\0i\0"s, 0, {}},
      {"utf16le --to utf8 --bom", "\xFF\xFE" "a\0\x3D\xD8\x00\xDE\xFF\xFE"s,
       "\xEF\xBB\xBF" "a" + emoji + "\xEF\xBB\xBF", 0, {}},
  };
  for (const Case &c : cases) {
    const bool toFile = c.args.ends_with(" -o " + out);
    const auto r = qstr::test::runQstr("convert --from " + c.args, c.input);
    SCOPED_TRACE(qstr::test::describe(c.args, r));
    EXPECT_EQ(r.status, c.status);
    std::istringstream lines(r.err);
    std::size_t n = 0;
    for (std::string line; std::getline(lines, line); ++n) {
      EXPECT_TRUE(n < c.report.size() && (line + "\n").starts_with("qstr convert: " + c.report[n])) << line;
    }
    EXPECT_EQ(n, c.report.size());
    if (c.status == 0) EXPECT_EQ(toFile ? qstr::test::readWhole(out) : r.out, c.output);
    if (c.status != 0) EXPECT_TRUE(std::filesystem::is_empty(dir_)) << "no file is left";
    std::filesystem::remove(out);
    const std::size_t to = c.args.find(" --to ");
    if (c.back) qstr::test::expectRun({"convert --from " + c.args.substr(to + 6) + " --to " + c.args.substr(0, to),
                                       c.output, 0, c.input, ""});
  }
}

}  // namespace
