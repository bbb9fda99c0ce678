// The order qstr sort puts lines in: what part of a line is compared (the
// whole line or a range of fields), the key data built once per line, and
// the comparison of two lines through that data. Lines are UTF-8; their
// native characters (the library's mapping, one per UTF-16 unit) exist
// only while a key is built or while two lines are compared directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qstr::cli::sorting {

// What the options ask of the order.
struct OrderOptions {
  bool simple = false;      // the one-level sort (Q6wstrcmp) instead of the multi-level one
  bool ignoreCase = false;  // --simple: lines that differ only in case are equal
  uint16_t language = 0;    // multi-level: the language number
  bool caseFlag = false, kanaFlag = false;
  bool reverse = false;
  // Fields firstField..lastField (from 1; lastField 0: to the end of the
  // line) are the part compared; firstField 0 compares the whole line.
  unsigned firstField = 0, lastField = 0;
  std::string separator;  // one character; empty: fields are separated by blanks
};

// A line as the sort holds it: its bytes, ending in a line feed (every
// held line does), and the key data built for it.
struct SortRecord {
  const char *line;
  std::size_t lineLength;  // with the line feed
  const uint8_t *key;
  uint32_t keyLength;
  bool inexact;  // the key cannot be compared alone: compare the lines
};

// The text of a held line: less its line feed and a carriage return
// before it.
inline std::string_view lineText(const char *line, std::size_t length) {
  std::size_t end = length - 1;
  if (end > 0 && line[end - 1] == '\r') --end;
  return {line, end};
}

// Where UTF-8 is invalid: the column of the first bad byte, in characters
// from 1; 0 when the text is valid.
using BadColumn = std::uint64_t;

class Order {
 public:
  explicit Order(const OrderOptions &options);

  const OrderOptions &options() const { return options_; }

  // Appends the key data of a line's text at `out` (room for keyRoom(text)
  // bytes), sets `inexact`, and returns its length. Fails with the column
  // of the first invalid UTF-8 byte in `bad` (anywhere in the line, even
  // outside the compared fields). Callable from several threads at once.
  std::size_t keyRoom(std::string_view text) const;
  std::size_t buildKey(std::string_view text, uint8_t *out, bool &inexact, BadColumn &bad) const;

  // -1, 0 or 1: how `a` sorts against `b`, before -r. Callable from
  // several threads at once.
  int compare(const SortRecord &a, const SortRecord &b) const {
    if (!options_.simple && !a.inexact && !b.inexact) {
      const std::size_t common = a.keyLength < b.keyLength ? a.keyLength : b.keyLength;
      const int bytes = common == 0 ? 0 : std::memcmp(a.key, b.key, common);
      if (bytes != 0) return bytes < 0 ? -1 : 1;
      return a.keyLength < b.keyLength ? -1 : a.keyLength > b.keyLength ? 1 : 0;
    }
    return compareSlowly(a, b);
  }
  // compare() with -r applied.
  int ordered(const SortRecord &a, const SortRecord &b) const {
    const int order = compare(a, b);
    return options_.reverse ? -order : order;
  }

  // Whether keys alone order lines (no line's key is inexact, and keys
  // compare as bytes), so that the first bytes of keys may stand for them.
  bool keysOrderAlone() const { return !options_.simple && alwaysExact_; }
  // The first four bytes of a key as a number, zeros after a shorter key:
  // where two keys' prefixes differ, they order the keys.
  static uint32_t keyPrefix(const uint8_t *key, std::size_t length) {
    uint32_t prefix = 0;
    for (std::size_t i = 0; i < 4; ++i) prefix = prefix << 8 | (i < length ? key[i] : 0u);
    return prefix;
  }

  // The compared part of a line's text.
  std::string_view comparedPart(std::string_view text) const;

 private:
  int compareSlowly(const SortRecord &a, const SortRecord &b) const;

  OrderOptions options_;
  bool alwaysExact_ = true;
};

// The native characters of UTF-8 text appended to `out` (not terminated):
// one per UTF-16 unit, 0xFFFF for a unit without one, as the library maps
// them. Returns the column of the first invalid byte, 0 when valid.
BadColumn appendNatives(std::string_view utf8, std::vector<uint16_t> &out);

}  // namespace qstr::cli::sorting
