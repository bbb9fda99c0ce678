// The registry file: the registry export text format, read and written.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Example]
//   @="default value"
//   "Text"="plain ASCII text"
//   "Number"=dword:0000002a
//   "Bytes"=hex:01,02,03
//   "Typed"=hex(80000002):52,03
//
// Keys are "[PATH]" lines; values follow their key as "NAME"=DATA, with "@"
// for the default value. Quoted names and strings escape only '\' and '"'
// (as \\ and \"). A hex list may continue on the next line after ",\".
// Lines starting with ';' are comments (not kept when the file is rewritten).
// Line ends may be LF or CR LF; a UTF-8 byte order mark is skipped. Names
// and strings are bytes, written as they are stored.
//
// The writer uses "text" only for REG_SZ data that is printable ASCII with
// one terminating zero, dword: only for REG_DWORD data of 4 bytes, and hex
// forms for everything else, so that every value reads back byte for byte
// with its type, flag bits included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "regdb/tree.h"

namespace qstr::regdb {

inline constexpr std::string_view kFileHeader = "Windows Registry Editor Version 5.00";
// Largest registry file the reader accepts, in bytes.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;
// Longest line the reader accepts, in bytes (a value of kMaxValueBytes
// written on one line fits).
inline constexpr std::size_t kMaxLineBytes = 3 * kMaxValueBytes + 2 * kMaxValueNameBytes + 64;

struct ParseError {
  std::size_t line = 0;  // 1-based line of the problem
  std::string message;   // what is wrong there, one line of text
};

// Reads the text of a registry file into `tree` (which it clears first).
// Empty text is an empty registry. Returns false, with `error` set, for
// text that does not follow the format or passes a limit of registry_tree.h.
bool parseRegistryText(std::string_view text, Tree &tree, ParseError &error);

// The text of a registry file holding `tree`.
std::string formatRegistryText(const Tree &tree);

// One value as the file holds it: "NAME"=DATA, without a line end; hex lists
// longer than a line continue on indented lines after ",\".
std::string formatValueLine(const Value &value);

}  // namespace qstr::regdb
