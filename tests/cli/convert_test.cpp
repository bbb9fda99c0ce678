// The qstr convert command: every form both ways, its errors with their
// position, the changes it reports, and the output file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "run_qstr.h"
#include "support/scratch_folder.h"

namespace {

using qstr::test::contains;
using qstr::test::describe;
using qstr::test::readWhole;
using qstr::test::runQstr;
using namespace std::string_literals;

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
      // Input that is not valid in its form: line and column in text, the
      // byte offset in binary forms.
      {{"utf8", "cp1252"}, "ab\xC3(", "", 1, "qstr convert: standard input:1:3: invalid UTF-8\n"},
      {{"utf8", "cp1252"}, "ab\xED\xA0\x80", "", 1, "standard input:1:3: invalid UTF-8"},
      {{"utf8", "utf16le"}, "\xC3\xA9\n\xF0\x9F\x98\x80" "b\xE2\x82", "", 1, "standard input:2:3: invalid UTF-8"},
      {{"utf16le", "utf8"}, std::string("a\0\n\0\x3D\xD8" "b\0", 8), "", 1, "standard input:2:1: invalid UTF-16"},
      {{"utf16le", "cp1252"}, std::string("a\0\x00\xDC", 4), "", 1, "standard input:1:2: invalid UTF-16"},
      {{"utf16le", "utf8"}, "ab\n", "", 1, "standard input:1:2: odd number of bytes"},
      {{"native", "utf8"}, "abc", "", 1, "byte 2: odd number of bytes"},
      {{"dz", "utf8"}, std::string("A\xD3\x00\x05\x00", 5), "", 1, "byte 1: malformed document stream"},
      {{"dz", "utf8"}, std::string("AB\xF0\x29\x01", 5), "", 1, "byte 2: malformed document stream"},
      {{"dz", "utf8"}, std::string("A\xF2\x01\xF3", 4), "", 1, "ends with 0xF3"},
      {{"dz", "utf8"}, std::string("A\0B", 3), "", 1, "byte 2: data after the stream"},
      // Usage errors.
      {{"utf8", ""}, "", "", 2, "--to is required"},
      {{"ebcdic", "utf8"}, "", "", 2, "--from ebcdic: unknown code page or form; nearest: "},
      // Unknown names are refused with the nearest names, nearest first.
      {{"latin9", "utf8"}, "", "", 2, "--from latin9: unknown code page or form; nearest: latin1, latin2, "},
      {{"utf8", "cp874"}, "", "", 2, "--to cp874: unknown code page or form; nearest: cp864, "},
      {{"utf8", "cp10000"}, "", "", 2, "nearest: cp10001, "},
      {{"utf-7", "utf8"}, "", "", 2, "nearest: utf-8, utf8, "},
      {{"utf8", "cp936", "--codepage", "gbkk"}, "", "", 2, "--codepage gbkk: unknown code page; nearest: gbk, "},
      {{"utf8", "cp1252", "--codepage", "UTF-8"}, "", "", 2, "a Unicode form, not a code page"},
      // Two names of one code page are one code page.
      {{"latin1", "cp28591"}, "caf\xE9", "caf\xE9", 0, ""},
      {{"cp1252", "windows-1252"}, "\x80", "\x80", 0, ""},
      {{"tz", "utf8"}, "", "", 2, "output form only"},
      {{"cp932", "cp936"}, "", "", 2, "one code page"},
      {{"utf8", "dz", "--bom"}, "", "", 2, "--bom: dz has no byte order mark"},
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

// Every name of a code page, in any case, converts as its number does.
TEST(QstrConvert, CodePagesByTheirNames) {
  struct Case {
    std::string name, canonical;
  };
  const std::vector<Case> cases = {
      {"windows-1252", "cp1252"}, {"CP1252", "cp1252"},     {"Windows-1250", "cp1250"}, {"ibm850", "cp850"},
      {"IBM437", "cp437"},        {"iso-8859-1", "cp18851"}, {"latin1", "cp18851"},     {"cp28591", "cp18851"},
      {"ISO-8859-2", "cp18852"},  {"cp28597", "cp18857"},    {"mac", "cp10001"},        {"Macintosh", "cp10001"},
      {"shift_jis", "cp932"},     {"SJIS", "cp932"},         {"gbk", "cp936"},          {"euc-kr", "cp949"},
      {"uhc", "cp949"},           {"Big5", "cp950"},         {"utf-8", "utf8"},         {"UTF8", "utf8"},
      {"utf-16le", "utf16le"},    {"cp65001", "utf8"},
  };
  const std::string text = "Gr\xC3\xBC\xC3\x9F" "e \xCE\xB1 \xD0\x96 \xE2\x82\xAC \xE4\xB8\xAD\n";
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const auto expected = runQstr(convert({"utf8", c.canonical}), text);
    const auto encoded = runQstr(convert({"utf8", c.name}), text);
    EXPECT_EQ(encoded.status, 0) << encoded.err;
    EXPECT_EQ(encoded.out, expected.out);
    EXPECT_EQ(encoded.err, expected.err);
    const auto decoded = runQstr(convert({c.name, "utf8"}), expected.out);
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.out, runQstr(convert({c.canonical, "utf8"}), expected.out).out);
  }
}

// Every name qstr codepage --list shows is one convert accepts.
TEST(QstrConvert, AcceptsEveryListedName) {
  const auto list = runQstr({"codepage", "--list"});
  ASSERT_EQ(list.status, 0) << list.err;
  std::istringstream lines(list.out);
  std::string line;
  std::getline(lines, line);  // the header
  int rows = 0;
  while (std::getline(lines, line)) {
    ++rows;
    std::istringstream names(line);
    std::string page, windows, kind, converts;
    names >> page >> windows >> kind >> converts;
    for (std::string name; std::getline(names >> std::ws, name, ',');) {
      const auto r = runQstr(convert({"utf8", name}), "A");
      EXPECT_EQ(r.status, 0) << line << ": " << name << ": " << r.err;
    }
  }
  EXPECT_GE(rows, 46) << list.out;
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

// Every change to the text is counted and the first five named, with the
// place in the input, the character and what became of it; with --strict
// the first is an error and no file is written. Between the Unicode forms
// nothing changes, a byte order mark included.
TEST_F(ConvertToFile, ChangesAreReportedWhereTheyHappen) {
  struct Case {
    std::vector<std::string> forms;  // from, to, other arguments
    bool toFile;                     // with -o into the scratch folder
    std::string input, output;
    int status;
    std::vector<std::string> report;  // the lines on standard error
  };
  const std::string out = (dir_ / "out").string();
  const std::string emoji = "\xF0\x9F\x98\x80";
  const std::string zhe = "U+0416 CYRILLIC CAPITAL LETTER ZHE became '?' (not in code page 1252)";
  const std::string noNative = " dropped (no native character)";
  const std::vector<Case> cases = {
      {{"utf8", "native"}, false, "x" + emoji + "y \xE4\xB8\xAD \xCE\xA9\n",
       "x\0y\0 \0 \0\x32\x08\x0A\xF9"s, 0,
       {"2 characters changed", "standard input:1:2: U+1F600 GRINNING FACE" + noNative,
        "standard input:1:5: U+4E2D CJK UNIFIED IDEOGRAPH-4E2D" + noNative}},
      {{"utf8", "cp1252"}, true, "a\n\x62\xD0\x96" "c\n", "a\nb?c\n", 0,
       {"1 character changed", "standard input:2:2: " + zhe}},
      {{"utf8", "cp1252", "--strict"}, true, "a\n\x62\xD0\x96" "c\n", "", 1, {"standard input:2:2: " + zhe}},
      {{"utf8", "native"}, false, emoji + emoji + emoji + emoji + emoji + "\n" + emoji + emoji, "\x0A\xF9", 0,
       {"7 characters changed", "standard input:1:1: U+1F600 GRINNING FACE" + noNative,
        "standard input:1:2: U+1F600 GRINNING FACE" + noNative, "standard input:1:3: U+1F600 GRINNING FACE" + noNative,
        "standard input:1:4: U+1F600 GRINNING FACE" + noNative, "standard input:1:5: U+1F600 GRINNING FACE" + noNative,
        "and 2 more"}},
      {{"native", "utf8"}, false, "A\0\xFF\x0E"s, "A\xEF\xBF\xBD", 0,
       {"1 character changed", "standard input: byte 2: native character 0x0EFF became U+FFFD (no Unicode character)"}},
      // Byte order marks: read and passed over, written with --bom, carried
      // between the Unicode forms.
      {{"utf8", "cp1252"}, false, "\xEF\xBB\xBFhi", "hi", 0, {}},
      {{"utf16le", "cp1252"}, false, "\xFF\xFEh\0i\0"s, "hi", 0, {}},
      {{"cp1252", "utf8", "--bom"}, false, "hi", "\xEF\xBB\xBFhi", 0, {}},
      {{"cp1252", "utf16le", "--bom"}, false, "hi", "\xFF\xFEh\0i\0"s, 0, {}},
      {{"utf8", "utf16le"}, false, "\xEF\xBB\xBF", "\xFF\xFE", 0, {}},
      {{"utf16le", "utf8", "--bom"}, false, "\xFF\xFE", "\xEF\xBB\xBF", 0, {}},
      {{"utf8", "utf16le"}, false, "a" + emoji + "\xEF\xBB\xBF", "a\0\x3D\xD8\x00\xDE\xFF\xFE"s, 0, {}},
      {{"utf16le", "utf8"}, false, "a\0\x3D\xD8\x00\xDE\xFF\xFE"s, "a" + emoji + "\xEF\xBB\xBF", 0, {}},
      // What the forms themselves change.
      {{"utf8", "dz"}, true, "a\fb", "a\xCC" "b\0"s, 0,
       {"1 character changed", "standard input:1:2: U+000C FORM FEED became U+000A (a page break reads back as a line end)"}},
      {{"dz", "utf8"}, false, "A\x80" "B\0"s, "A B", 0,
       {"1 character changed", "standard input: byte 1: function 0x80 became U+0020 SPACE (the stream's space function reads as a space)"}},
      {{"utf8", "tz"}, false, "a\fb", "ab", 0,
       {"1 character changed", "standard input:1:2: U+000C FORM FEED dropped (the text form has no page break)"}},
      {{"utf8", "v5dz"}, false, "a\tb\n", "ab\n\0"s, 0,
       {"1 character changed", "standard input:1:2: U+0009 CHARACTER TABULATION dropped (v5dz holds no tab)"}},
  };
  for (const Case &c : cases) {
    auto args = convert(c.forms);
    if (c.toFile) args.insert(args.end(), {"-o", out});
    const auto r = runQstr(args, c.input);
    SCOPED_TRACE(describe(args, r));
    EXPECT_EQ(r.status, c.status);
    std::string report;
    for (const std::string &line : c.report) report += "qstr convert: " + line + "\n";
    EXPECT_EQ(r.err, report);
    if (c.status == 0) EXPECT_EQ(c.toFile ? readWhole(out) : r.out, c.output);
    if (c.toFile && c.status != 0) EXPECT_TRUE(std::filesystem::is_empty(dir_)) << "no file is left";
    std::filesystem::remove(out);
  }
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
