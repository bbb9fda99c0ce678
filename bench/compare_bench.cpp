// String comparison over a word list taken in sorted order, each word
// compared with the next: the native order (Q6wstrcmp, Q6wstricmp) and the
// multi-level comparison of a language, beside ICU collators and strcoll.
#include <clocale>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifdef QSTR14_BENCH_ICU
#include <unicode/ucol.h>
#endif

#include "host/profile.h"
#include "inputs.h"
#include "qstr14/collate.h"
#include "qstr14/keys.h"
#include "qstr14/strings.h"
#include "rows.h"
#include "words.h"

namespace qstr::bench {
namespace {

constexpr std::size_t kWords = 100000;
constexpr const char *kUtf8Locale = "en_US.UTF-8";
// A peer orders its words by its own rules; it must still agree with ours
// on this share of the neighbour pairs, else its input is not our words.
constexpr double kAgreement = 0.9;

int sign(int value) { return (value > 0) - (value < 0); }

// Runs `compare(i)` for every neighbour pair i, i + 1 of `words`, once per
// iteration, and counts the comparisons.
template <typename Compare>
void timeNeighbours(benchmark::State &state, std::size_t words, Compare compare) {
  for (auto _ : state) {
    int sum = 0;
    for (std::size_t i = 0; i + 1 < words; ++i) sum += compare(i);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * (words - 1)));
}

// Share of the neighbour pairs on which `peer` (a comparison result of
// pair i) does not contradict `ours`.
template <typename Peer>
double agreement(const std::vector<int> &ours, Peer peer) {
  std::size_t agreeing = 0;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    const int theirs = sign(peer(i));
    agreeing += theirs == 0 || ours[i] == 0 || theirs == ours[i];
  }
  return ours.empty() ? 1.0 : static_cast<double>(agreeing) / static_cast<double>(ours.size());
}

// True when the peer's inputs hold the same words as the native strings.
bool sameWordsInUtf16(const Corpus &words) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (unicodeOfNative(words.native(i)) != std::u16string(words.utf16(i), words.utf16Length(i))) return false;
  }
  return true;
}

bool sameWordsInUtf8(const Corpus &words) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (utf16OfUtf8(words.utf8(i)) != std::u16string(words.utf16(i), words.utf16Length(i))) return false;
  }
  return true;
}

// Neighbour results of a comparison over native strings.
template <typename Compare>
std::vector<int> neighbourSigns(const Corpus &words, Compare compare) {
  std::vector<int> signs(words.size() - 1);
  for (std::size_t i = 0; i + 1 < words.size(); ++i) signs[i] = sign(compare(words.native(i), words.native(i + 1)));
  return signs;
}

// Sorted by the comparison: every neighbour pair in order, and the
// comparison answers the opposite with its arguments swapped.
template <typename Compare>
bool ordersItsSort(const Corpus &words, Compare compare) {
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    const int forward = sign(compare(words.native(i), words.native(i + 1)));
    if (forward > 0 || sign(compare(words.native(i + 1), words.native(i))) != -forward) return false;
  }
  return true;
}

#ifdef QSTR14_BENCH_ICU
using Collator = std::unique_ptr<UCollator, decltype(&ucol_close)>;

Collator openCollator(benchmark::State &state, const char *locale) {
  UErrorCode status = U_ZERO_ERROR;
  Collator collator(ucol_open(locale, &status), &ucol_close);
  if (U_FAILURE(status)) {
    state.SkipWithError(u_errorName(status));
    collator.reset();
  }
  return collator;
}

int icuCompare(const UCollator *collator, const Corpus &words, std::size_t i) {
  return ucol_strcoll(collator, reinterpret_cast<const UChar *>(words.utf16(i)), words.utf16Length(i),
                      reinterpret_cast<const UChar *>(words.utf16(i + 1)), words.utf16Length(i + 1));
}
#endif

// ---- native order ----

// The Western word list in the order of Q6wstrcmp under the current
// language, made once.
const Corpus &nativeNeighbours() {
  static const Corpus words = [] {
    const Corpus unsorted = makeWords(Alphabet::Western, kWords);
    return unsorted.reordered(
        sortedOrder(unsorted, [](const uint16_t *a, const uint16_t *b) { return Q6wstrcmp(a, b) < 0; }));
  }();
  return words;
}

// Q6wstricmp answers as Q6wstrcmp on the strings lowered character by
// character.
bool ignoresCaseAsLowered(const Corpus &words) {
  std::vector<uint16_t> a, b;
  auto lowered = [](const uint16_t *s, std::vector<uint16_t> &out) {
    out.clear();
    for (; *s != 0; ++s) out.push_back(Q6wstrLowerCh(*s));
    out.push_back(0);
    return out.data();
  };
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    const int expected = sign(Q6wstrcmp(lowered(words.native(i), a), lowered(words.native(i + 1), b)));
    if (sign(Q6wstricmp(words.native(i), words.native(i + 1))) != expected) return false;
  }
  return true;
}

void addNativeCompareRow() {
  auto ours = [](benchmark::State &state) {
    useMachine("en_US");
    const Corpus &words = nativeNeighbours();
    if (verify(state, ordersItsSort(words, Q6wstrcmp), "Q6wstrcmp does not order its own sort")) {
      timeNeighbours(state, words.size(), [&](std::size_t i) { return Q6wstrcmp(words.native(i), words.native(i + 1)); });
    }
    host::resetHostProfile();
  };
  auto oursIgnoringCase = [](benchmark::State &state) {
    useMachine("en_US");
    const Corpus &words = nativeNeighbours();
    if (verify(state, ignoresCaseAsLowered(words), "Q6wstricmp differs from Q6wstrcmp on lowered words")) {
      timeNeighbours(state, words.size(), [&](std::size_t i) { return Q6wstricmp(words.native(i), words.native(i + 1)); });
    }
    host::resetHostProfile();
  };
  auto viaStrcoll = [](benchmark::State &state) {
    useMachine("en_US");
    const Corpus &words = nativeNeighbours();
    const std::vector<int> ourSigns = neighbourSigns(words, Q6wstrcmp);
    host::resetHostProfile();
    if (!collateIn(kUtf8Locale)) {
      state.SkipWithError("locale en_US.UTF-8 missing and localedef could not make it (needs root)");
      return;
    }
    const double agreeing = agreement(ourSigns, [&](std::size_t i) { return std::strcoll(words.utf8(i), words.utf8(i + 1)); });
    if (verify(state, sameWordsInUtf8(words) && agreeing >= kAgreement, "strcoll is not given our words")) {
      timeNeighbours(state, words.size(), [&](std::size_t i) { return std::strcoll(words.utf8(i), words.utf8(i + 1)); });
    }
    std::setlocale(LC_COLLATE, "C");
  };
  std::vector<Contender> contenders = {{"ours", ours}, {"ours ignoring case (Q6wstricmp)", oursIgnoringCase}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({"ICU root", [](benchmark::State &state) {
    useMachine("en_US");
    const Corpus &words = nativeNeighbours();
    const std::vector<int> ourSigns = neighbourSigns(words, Q6wstrcmp);
    host::resetHostProfile();
    const Collator collator = openCollator(state, "");
    if (!collator) return;
    const double agreeing = agreement(ourSigns, [&](std::size_t i) { return icuCompare(collator.get(), words, i); });
    if (verify(state, sameWordsInUtf16(words) && agreeing >= kAgreement, "ICU is not given our words")) {
      timeNeighbours(state, words.size(), [&](std::size_t i) { return icuCompare(collator.get(), words, i); });
    }
  }});
#endif
  contenders.push_back({"strcoll en_US.UTF-8", viaStrcoll});
  addRow("native compare", contenders);
}

// ---- multi-level comparison ----

struct Language {
  uint16_t number;
  const char *machine;    // the host locale: the Asian languages follow its country
  const char *icuLocale;  // the ICU collator of the same language
  const char *icuName;
  Alphabet alphabet;
  uint16_t caseFlag, kanaFlag;
};

// The language's word list in the order of QxQS6Cmpcoll, made once.
const Corpus &multiLevelNeighbours(const Language &language) {
  static std::map<uint16_t, Corpus> made;
  auto found = made.find(language.number);
  if (found != made.end()) return found->second;
  const Corpus unsorted = makeWords(language.alphabet, kWords);
  const auto order = sortedOrder(unsorted, [&](const uint16_t *a, const uint16_t *b) {
    return QxQS6Cmpcoll(a, b, language.number, language.caseFlag, language.kanaFlag) < 0;
  });
  return made.emplace(language.number, unsorted.reordered(order)).first->second;
}

// Where both keys are exact, the keys library orders every neighbour pair
// as the comparison does.
bool keysAgree(const Corpus &words, const Language &language) {
  auto keyOf = [&](const uint16_t *s, int32_t &exact) {
    std::vector<uint8_t> key(QsKeyBuild(s, language.number, language.caseFlag, language.kanaFlag, nullptr, 0, &exact));
    QsKeyBuild(s, language.number, language.caseFlag, language.kanaFlag, key.data(), key.size(), &exact);
    return key;
  };
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    int32_t exactA = 0, exactB = 0;
    const auto a = keyOf(words.native(i), exactA);
    const auto b = keyOf(words.native(i + 1), exactB);
    if (!exactA || !exactB) continue;
    const int byKeys = QsKeyCompare(a.data(), a.size(), b.data(), b.size());
    if (byKeys != QxQS6Cmpcoll(words.native(i), words.native(i + 1), language.number, language.caseFlag,
                               language.kanaFlag)) {
      return false;
    }
  }
  return true;
}

void addMultiLevelRow(const Language &language) {
  char code[3];
  QxNum2Lang(language.number, code);
  const std::string row = "multi-level compare, " + std::to_string(language.number) + " " + code;
  auto compare = [language](const uint16_t *a, const uint16_t *b) {
    return QxQS6Cmpcoll(a, b, language.number, language.caseFlag, language.kanaFlag);
  };
  auto ours = [language, compare](benchmark::State &state) {
    useMachine(language.machine);
    const Corpus &words = multiLevelNeighbours(language);
    if (verify(state, ordersItsSort(words, compare) && keysAgree(words, language),
               "QxQS6Cmpcoll does not order its sort as its keys do")) {
      timeNeighbours(state, words.size(), [&](std::size_t i) { return compare(words.native(i), words.native(i + 1)); });
    }
    host::resetHostProfile();
  };
  std::vector<Contender> contenders = {{"ours", ours}};
#ifdef QSTR14_BENCH_ICU
  contenders.push_back({language.icuName, [language, compare](benchmark::State &state) {
    useMachine(language.machine);
    const Corpus &words = multiLevelNeighbours(language);
    const std::vector<int> ourSigns = neighbourSigns(words, compare);
    // Kana have native characters only on a double-byte host.
    const bool sameWords = sameWordsInUtf16(words);
    host::resetHostProfile();
    const Collator collator = openCollator(state, language.icuLocale);
    if (!collator) return;
    const double agreeing = agreement(ourSigns, [&](std::size_t i) { return icuCompare(collator.get(), words, i); });
    if (verify(state, sameWords && agreeing >= kAgreement, "ICU is not given our words")) {
      timeNeighbours(state, words.size(), [&](std::size_t i) { return icuCompare(collator.get(), words, i); });
    }
  }});
#endif
  addRow(row, contenders);
}

[[maybe_unused]] const bool registered = [] {
  addNativeCompareRow();
  addMultiLevelRow({0, "en_US", "", "ICU root", Alphabet::Western, 1, 0});
  addMultiLevelRow({5, "cs_CZ", "cs", "ICU cs", Alphabet::Czech, 1, 0});
  addMultiLevelRow({29, "es_ES", "es@collation=traditional", "ICU es traditional", Alphabet::Spanish, 1, 0});
  addMultiLevelRow({34, "ja_JP", "ja", "ICU ja", Alphabet::Kana, 1, 1});
  return true;
}();

}  // namespace
}  // namespace qstr::bench
