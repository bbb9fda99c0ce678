// Tabular output of the qstr tool: rows of cells, printed in aligned
// columns for a person at a terminal and tab-separated (one row a line, the
// cells joined by tabs) when standard output goes to a pipe or a file, so
// that scripts can cut the columns apart.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace qstr::cli {

// Whether standard output is a terminal.
bool outputIsTerminal();

class Table {
 public:
  explicit Table(std::vector<std::string> header = {}) : header_(std::move(header)) {}

  void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  bool empty() const { return rows_.empty(); }

  // Aligned: every column but the last padded to its widest cell (counted in
  // characters, not bytes) and two spaces between columns; columns named in
  // rightAligned are padded on the left. Tab-separated: the cells as they
  // are, nothing padded. The header, when there is one, comes first.
  void print(std::ostream &out, bool aligned) const;
  // Aligned on a terminal, tab-separated otherwise.
  void print(std::ostream &out) const { print(out, outputIsTerminal()); }

  void alignRight(std::size_t column) { rightAligned_.push_back(column); }

 private:
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> rows_;
  std::vector<std::size_t> rightAligned_;
};

// Characters in a UTF-8 string (continuation bytes not counted).
std::size_t displayWidth(const std::string &text);

}  // namespace qstr::cli
