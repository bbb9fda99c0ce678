// Sorting a million words: sort keys of the multi-level comparison (the
// comparison itself where a key is not exact), beside ICU sort keys and
// strcoll in en_US.UTF-8.
#include <algorithm>
#include <clocale>
#include <cstring>
#include <memory>
#include <vector>

#ifdef QSTR14_BENCH_ICU
#include <unicode/ucol.h>
#endif

#include "host/profile.h"
#include "inputs.h"
#include "qstr14/collate.h"
#include "qstr14/keys.h"
#include "rows.h"
#include "words.h"

namespace qstr::bench {
namespace {

constexpr std::size_t kWords = 1000000;
// The orders are checked against a direct comparison sort of this many.
constexpr std::size_t kCheckedWords = 20000;
constexpr uint16_t kCaseFlag = 1;

// Keys of every word in one buffer, and the records a sort moves.
struct KeyRef {
  uint32_t offset;
  uint32_t length;
  uint32_t word;
  uint32_t exact;
};

struct KeyTable {
  std::vector<uint8_t> bytes;
  std::vector<KeyRef> refs;

  bool less(const KeyRef &a, const KeyRef &b) const {
    const int order = std::memcmp(bytes.data() + a.offset, bytes.data() + b.offset, std::min(a.length, b.length));
    return order != 0 ? order < 0 : a.length < b.length;
  }

  // Appends a key written by `build(out, room)`, which returns its full
  // length; the buffer grows (and the key is built again) when it did not
  // fit.
  template <typename Build>
  void append(uint32_t word, std::size_t &used, Build build) {
    int32_t exact = 1;
    std::size_t length = build(bytes.data() + used, bytes.size() - used, exact);
    if (length > bytes.size() - used) {
      bytes.resize(std::max(bytes.size() * 2, used + length));
      length = build(bytes.data() + used, bytes.size() - used, exact);
    }
    refs.push_back({static_cast<uint32_t>(used), static_cast<uint32_t>(length), word, static_cast<uint32_t>(exact)});
    used += length;
  }
};

const Corpus &westernWords() {
  static const Corpus words = makeWords(Alphabet::Western, kWords);
  return words;
}

// Sorts the first `count` words by their keys, comparing two words
// directly when either key is not exact. Returns the bytes of all keys.
std::size_t sortByOurKeys(const Corpus &words, std::size_t count, uint16_t language, KeyTable &table) {
  table.refs.clear();
  std::size_t used = 0;
  for (uint32_t i = 0; i < count; ++i) {
    table.append(i, used, [&](uint8_t *out, std::size_t room, int32_t &exact) {
      return QsKeyBuild(words.native(i), language, kCaseFlag, 0, out, room, &exact);
    });
  }
  if (QsKeyAlwaysExact(language, kCaseFlag, 0)) {
    std::sort(table.refs.begin(), table.refs.end(), [&](const KeyRef &a, const KeyRef &b) { return table.less(a, b); });
    return used;
  }
  std::sort(table.refs.begin(), table.refs.end(), [&](const KeyRef &a, const KeyRef &b) {
    if (a.exact && b.exact) return table.less(a, b);
    return QxQS6Cmpcoll(words.native(a.word), words.native(b.word), language, kCaseFlag, 0) < 0;
  });
  return used;
}

// The average key length, a cost of the sort beside the building of keys.
void countKeyBytes(benchmark::State &state, std::size_t bytes, std::size_t words) {
  state.counters["key bytes/word"] = static_cast<double>(bytes) / static_cast<double>(words);
}

// The key sort of a sample gives the order of a sort by QxQS6Cmpcoll: at
// every position words that the comparison finds equal.
bool keySortMatchesComparison(const Corpus &words, uint16_t language) {
  KeyTable table;
  sortByOurKeys(words, words.size(), language, table);
  auto compare = [&](uint32_t a, uint32_t b) {
    return QxQS6Cmpcoll(words.native(a), words.native(b), language, kCaseFlag, 0);
  };
  std::vector<uint32_t> direct(words.size());
  for (uint32_t i = 0; i < direct.size(); ++i) direct[i] = i;
  std::sort(direct.begin(), direct.end(), [&](uint32_t a, uint32_t b) { return compare(a, b) < 0; });
  for (std::size_t i = 0; i < direct.size(); ++i) {
    if (compare(table.refs[i].word, direct[i]) != 0) return false;
  }
  return true;
}

Corpus firstWords(const Corpus &words, std::size_t count) {
  std::vector<uint32_t> order(count);
  for (uint32_t i = 0; i < count; ++i) order[i] = i;
  return words.reordered(order);
}

void oursBody(benchmark::State &state) {
  useMachine("en_US");
  const Corpus &words = westernWords();
  // Spanish words also take the comparison where their keys are not exact.
  const bool sorted = keySortMatchesComparison(firstWords(words, kCheckedWords), 0) &&
                      keySortMatchesComparison(makeWords(Alphabet::Spanish, kCheckedWords), 29);
  if (verify(state, sorted, "the key sort differs from the comparison's")) {
    KeyTable table;
    std::size_t bytes = 0;
    for (auto _ : state) {
      bytes = sortByOurKeys(words, words.size(), 0, table);
      benchmark::ClobberMemory();
    }
    countKeyBytes(state, bytes, words.size());
  }
  host::resetHostProfile();
}

#ifdef QSTR14_BENCH_ICU
std::size_t sortByIcuKeys(const UCollator *collator, const Corpus &words, std::size_t count, KeyTable &table) {
  table.refs.clear();
  std::size_t used = 0;
  for (uint32_t i = 0; i < count; ++i) {
    table.append(i, used, [&](uint8_t *out, std::size_t room, int32_t &) {
      const int32_t capacity = static_cast<int32_t>(std::min<std::size_t>(room, INT32_MAX));
      return static_cast<std::size_t>(ucol_getSortKey(collator, reinterpret_cast<const UChar *>(words.utf16(i)),
                                                       words.utf16Length(i), out, capacity));
    });
  }
  std::sort(table.refs.begin(), table.refs.end(), [&](const KeyRef &a, const KeyRef &b) { return table.less(a, b); });
  return used;
}

// As keySortMatchesComparison, for ICU's keys and ucol_strcoll.
bool icuKeySortMatchesStrcoll(const UCollator *collator, const Corpus &words) {
  KeyTable table;
  sortByIcuKeys(collator, words, words.size(), table);
  auto compare = [&](uint32_t a, uint32_t b) {
    return ucol_strcoll(collator, reinterpret_cast<const UChar *>(words.utf16(a)), words.utf16Length(a),
                        reinterpret_cast<const UChar *>(words.utf16(b)), words.utf16Length(b));
  };
  std::vector<uint32_t> direct(words.size());
  for (uint32_t i = 0; i < direct.size(); ++i) direct[i] = i;
  std::sort(direct.begin(), direct.end(), [&](uint32_t a, uint32_t b) { return compare(a, b) == UCOL_LESS; });
  for (std::size_t i = 0; i < direct.size(); ++i) {
    if (compare(table.refs[i].word, direct[i]) != UCOL_EQUAL) return false;
  }
  return true;
}

void icuBody(benchmark::State &state) {
  useMachine("en_US");
  const Corpus &words = westernWords();
  host::resetHostProfile();
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UCollator, decltype(&ucol_close)> collator(ucol_open("", &status), &ucol_close);
  if (U_FAILURE(status)) {
    state.SkipWithError(u_errorName(status));
    return;
  }
  if (!verify(state, icuKeySortMatchesStrcoll(collator.get(), firstWords(words, kCheckedWords)),
              "ICU's key sort differs from ucol_strcoll's")) {
    return;
  }
  KeyTable table;
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = sortByIcuKeys(collator.get(), words, words.size(), table);
    benchmark::ClobberMemory();
  }
  countKeyBytes(state, bytes, words.size());
}
#endif

void strcollBody(benchmark::State &state) {
  useMachine("en_US");
  const Corpus &words = westernWords();
  host::resetHostProfile();
  if (!collateIn("en_US.UTF-8")) {
    state.SkipWithError("locale en_US.UTF-8 missing and localedef could not make it (needs root)");
    return;
  }
  // The locale orders by letters first, unlike bytes; the UTF-8 words are ours.
  bool same = std::strcoll("a", "B") < 0 && std::strcoll("\xC3\xA9t\xC3\xA9", "ete") > 0;
  for (std::size_t i = 0; same && i < words.size(); ++i) {
    same = utf16OfUtf8(words.utf8(i)) == std::u16string(words.utf16(i), words.utf16Length(i));
  }
  if (verify(state, same, "strcoll is not given our words in the en_US.UTF-8 order")) {
    std::vector<const char *> unsorted(words.size()), sorted;
    for (std::size_t i = 0; i < words.size(); ++i) unsorted[i] = words.utf8(i);
    for (auto _ : state) {
      sorted = unsorted;
      std::sort(sorted.begin(), sorted.end(), [](const char *a, const char *b) { return std::strcoll(a, b) < 0; });
      benchmark::ClobberMemory();
    }
  }
  std::setlocale(LC_COLLATE, "C");
}

[[maybe_unused]] const bool registered = [] {
  std::vector<Contender> contenders = {{"ours (keys)", oursBody}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({"ICU sort keys", icuBody});
#endif
  contenders.push_back({"strcoll en_US.UTF-8", strcollBody});
  addRow("sort 1,000,000 words, 0 US", contenders,
         [](benchmark::internal::Benchmark *b) { b->Unit(benchmark::kMillisecond); });
  return true;
}();

}  // namespace
}  // namespace qstr::bench
