#include "table.h"

#include <algorithm>
#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define QSTR_ISATTY _isatty
#else
#include <unistd.h>
#define QSTR_ISATTY isatty
#endif

namespace qstr::cli {

bool outputIsTerminal() { return QSTR_ISATTY(1) != 0; }

std::size_t displayWidth(const std::string &text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

void Table::print(std::ostream &out, bool aligned) const {
  std::vector<const std::vector<std::string> *> all;
  if (!header_.empty()) all.push_back(&header_);
  for (const auto &row : rows_) all.push_back(&row);
  if (!aligned) {
    for (const auto *row : all) {
      for (std::size_t i = 0; i < row->size(); ++i) out << (i == 0 ? "" : "\t") << (*row)[i];
      out << '\n';
    }
    return;
  }
  std::vector<std::size_t> widths;
  for (const auto *row : all) {
    if (widths.size() < row->size()) widths.resize(row->size(), 0);
    for (std::size_t i = 0; i < row->size(); ++i) widths[i] = std::max(widths[i], displayWidth((*row)[i]));
  }
  for (const auto *row : all) {
    std::string line;
    for (std::size_t i = 0; i < row->size(); ++i) {
      const std::string &cell = (*row)[i];
      const std::string padding(widths[i] - displayWidth(cell), ' ');
      const bool last = i + 1 == row->size();
      if (i != 0) line += "  ";
      if (std::find(rightAligned_.begin(), rightAligned_.end(), i) != rightAligned_.end()) {
        line += padding + cell;
      } else {
        line += last ? cell : cell + padding;
      }
    }
    out << line << '\n';
  }
}

}  // namespace qstr::cli
