// The code pages `qstr` knows by name: every row of the library's code page
// list, the double-byte pages outside it and the Unicode forms, each with
// its numbers, its kind and the names people use for it. The table is
// generated with the code page list by tools/gen/gen_codepage_list.py from
// tools/gen/data/codepage_rows.txt into codepage_names_data.cpp; qstr
// convert (--from, --to, --codepage) and qstr codepage --list both read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qstr::cli {

enum class CodePageKind : std::uint8_t { Windows, Dos, Iso, Mac, DoubleByte, Unicode };

struct CodePageNames {
  std::uint32_t product;  // the library's number (the Windows number outside the list)
  std::uint32_t windows;  // the Windows number
  CodePageKind kind;
  bool listed;            // a row of the library's code page list
  // Lower case, null-terminated: cpPRODUCT first, then cpWINDOWS when it
  // differs, then the other names.
  const char *const *names;
};

extern const CodePageNames codePageNames[];
extern const std::size_t codePageNameCount;

// The code page called `name` (in any case), or null.
const CodePageNames *findCodePage(std::string_view name);

// "Windows", "DOS", "ISO", "Mac", "double-byte", "Unicode".
const char *kindName(CodePageKind kind);

// Up to `count` names nearest to `name` by edit distance (Levenshtein, over
// lower-cased names), nearest first, ties in table order: the code page
// names (without the Unicode forms unless `withUnicode`) and `others`.
std::vector<std::string> nearestNames(std::string_view name, bool withUnicode,
                                      const std::vector<std::string> &others = {}, std::size_t count = 3);

}  // namespace qstr::cli
