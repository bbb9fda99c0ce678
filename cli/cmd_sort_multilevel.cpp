// qstr sort [--lang XX] [--case] [--kana] [FILE]: sorts UTF-8 lines by the
// multi-level comparison of a language, through sort keys where they are
// exact and the comparison elsewhere. Stable: equal lines keep their order.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <vector>

#include "cli.h"
#include "qstr14/collate.h"
#include "qstr14/keys.h"
#include "text.h"

namespace qstr::cli {
namespace {

struct Settings {
  uint16_t language = 0;
  uint16_t caseFlag = 0, kanaFlag = 0;
};

struct SortItem {
  const Line *line;
  std::vector<uint8_t> key;
  bool exact = false;
};

std::vector<uint8_t> keyOf(const uint16_t *s, const Settings &settings, bool &exact) {
  int32_t isExact = 0;
  std::vector<uint8_t> key(QsKeyBuild(s, settings.language, settings.caseFlag, settings.kanaFlag, nullptr, 0, &isExact));
  QsKeyBuild(s, settings.language, settings.caseFlag, settings.kanaFlag, key.data(), key.size(), &isExact);
  exact = isExact != 0;
  return key;
}

// -1, 0 or 1: by the keys when both are exact, else by the comparison. The
// two agree wherever both apply.
int compareItems(const SortItem &a, const SortItem &b, const Settings &settings) {
  if (a.exact && b.exact) return QsKeyCompare(a.key.data(), a.key.size(), b.key.data(), b.key.size());
  return QxQS6Cmpcoll(nativeString(*a.line), nativeString(*b.line), settings.language, settings.caseFlag,
                      settings.kanaFlag);
}

// Stable merge sort that stays inside its ranges whatever the comparison
// answers.
void mergeSort(std::vector<SortItem> &items, std::vector<SortItem> &scratch, size_t first, size_t last,
               const Settings &settings) {
  if (last - first < 2) return;
  const size_t middle = first + (last - first) / 2;
  mergeSort(items, scratch, first, middle, settings);
  mergeSort(items, scratch, middle, last, settings);
  size_t left = first, right = middle, out = first;
  while (left < middle && right < last) {
    // Take from the right only when it sorts strictly first: equal lines keep their order.
    if (compareItems(items[right], items[left], settings) < 0) {
      scratch[out++] = std::move(items[right++]);
    } else {
      scratch[out++] = std::move(items[left++]);
    }
  }
  while (left < middle) scratch[out++] = std::move(items[left++]);
  while (right < last) scratch[out++] = std::move(items[right++]);
  std::move(scratch.begin() + first, scratch.begin() + last, items.begin() + first);
}

Settings settingsFrom(const SortOptions &options) {
  Settings settings;
  settings.language = languageOption(options.lang);
  settings.caseFlag = options.caseFlag ? 1 : 0;
  settings.kanaFlag = options.kanaFlag ? 1 : 0;
  return settings;
}

}  // namespace

int runSortMultilevel(const SortOptions &options) {
  const Settings settings = settingsFrom(options);
  std::string name;
  const auto input = readInput(options.file, name);
  if (!input) {
    printError("sort", name + ": cannot open");
    return kExitBadInput;
  }
  const auto lines = readLines(*input, name);
  if (!lines) return kExitBadInput;

  std::vector<SortItem> items(lines->size());
  for (size_t i = 0; i < lines->size(); ++i) {
    items[i].line = &(*lines)[i];
    items[i].key = keyOf(nativeString((*lines)[i]), settings, items[i].exact);
  }
  std::vector<SortItem> scratch(items.size());
  mergeSort(items, scratch, 0, items.size(), settings);
  for (const SortItem &item : items) std::cout << encodeUtf8(fromNative(item.line->text)) << item.line->ending;
  return kExitOk;
}

}  // namespace qstr::cli
