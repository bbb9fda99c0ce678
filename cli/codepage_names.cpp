#include "codepage_names.h"

#include <algorithm>
#include <numeric>

#include "tool_support.h"

namespace qstr::cli {
namespace {

// ASCII lower case: names are ASCII, and the C library's tolower would
// follow the locale.
std::string lowered(std::string_view text) { return base::toAsciiLower(text); }

std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

const CodePageNames *findCodePage(std::string_view name) {
  const std::string wanted = lowered(name);
  for (std::size_t i = 0; i < codePageNameCount; ++i) {
    for (const char *const *n = codePageNames[i].names; *n != nullptr; ++n) {
      if (wanted == *n) return &codePageNames[i];
    }
  }
  return nullptr;
}

const char *kindName(CodePageKind kind) {
  switch (kind) {
    case CodePageKind::Windows: return "Windows";
    case CodePageKind::Dos: return "DOS";
    case CodePageKind::Iso: return "ISO";
    case CodePageKind::Mac: return "Mac";
    case CodePageKind::DoubleByte: return "double-byte";
    case CodePageKind::Unicode: return "Unicode";
  }
  return "?";
}

std::vector<std::string> nearestNames(std::string_view name, bool withUnicode, const std::vector<std::string> &others,
                                      std::size_t count) {
  const std::string wanted = lowered(name);
  std::vector<std::pair<std::size_t, std::string>> scored;
  for (std::size_t i = 0; i < codePageNameCount; ++i) {
    if (codePageNames[i].kind == CodePageKind::Unicode && !withUnicode) continue;
    for (const char *const *n = codePageNames[i].names; *n != nullptr; ++n) scored.emplace_back(editDistance(wanted, *n), *n);
  }
  for (const std::string &other : others) scored.emplace_back(editDistance(wanted, lowered(other)), other);
  std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
  std::vector<std::string> nearest;
  for (std::size_t i = 0; i < scored.size() && i < count; ++i) nearest.push_back(scored[i].second);
  return nearest;
}

}  // namespace qstr::cli
