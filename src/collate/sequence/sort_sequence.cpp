// Tailoring the sort sequence to a language: setsseq rewrites the cells of
// the tailored characters with the language's column.
//
// The fast path (the language has not changed) is one atomic load and a
// byte-string compare. A rewrite runs under a lock, and the tailored code
// is published only after the cells are written, so that a thread that
// sees the new code also sees its values. Cells are read and written as
// relaxed atomics: a comparison that runs during a rewrite is well defined
// but may see values of both languages.
#include "collate/sequence/sort_sequence.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "base/ascii.h"
#include "collate/tables/sort_sequence_tables.h"
#include "qstr14/collate.h"
#include "qstr14/frame.h"
#include "qstr14/strings.h"

namespace qstr::collate {
namespace {

// The tailored code: two letters and two zero bytes, read as one word.
using LanguageWord = uint32_t;

LanguageWord packLanguage(const char (&letters)[4]) {
  LanguageWord word;
  std::memcpy(&word, letters, sizeof word);
  return word;
}

struct SortSequenceState {
  std::atomic<LanguageWord> language{packLanguage({'E', 'N', 0, 0})};
  std::mutex rewriting;
};

SortSequenceState &state() {
  static SortSequenceState instance;
  return instance;
}

// The same answer as comparing `language` with the tailored code as C
// strings, without a call.
bool isTailoredTo(const char *language, LanguageWord word) {
  char tailored[4];
  std::memcpy(tailored, &word, sizeof tailored);
  if (language[0] != tailored[0]) return false;
  if (tailored[0] == '\0') return true;
  if (language[1] != tailored[1]) return false;
  return tailored[1] == '\0' || language[2] == '\0';
}

// The first two bytes of a code, a one-letter code padded with a zero.
LanguageWord firstTwoLetters(const char *language) {
  const char letters[4] = {language[0], language[0] != '\0' ? language[1] : '\0', 0, 0};
  return packLanguage(letters);
}

// Language codes are ASCII: only "a"-"z" change, as under the case rule of
// character set 0.
using base::toAsciiUpper;

unsigned columnOf(LanguageWord word) {
  char letters[4];
  std::memcpy(letters, &word, sizeof letters);
  const char first = toAsciiUpper(letters[0]);
  const char second = toAsciiUpper(letters[1]);
  for (const uint8_t *record : kLanguageColumns) {
    if (record[0] == kEndOfTable) break;
    if (record[0] == static_cast<uint8_t>(first) && record[1] == static_cast<uint8_t>(second)) return record[2];
  }
  return 0;
}

void storeCell(uint8_t *cell, uint8_t value) { std::atomic_ref<uint8_t>(*cell).store(value, std::memory_order_relaxed); }

// Writes one value per tailored character, stopping at the first that has
// no cell. `valueOf` gives the value of record i.
template <typename ValueOf>
void rewriteCells(ValueOf valueOf) {
  for (unsigned i = 0; kTailoring[i][0] != kEndOfTable; ++i) {
    const uint8_t *record = kTailoring[i];
    uint8_t *cell = nullptr;
    if (fndcolv(static_cast<uint32_t>(record[1] << 8 | record[0]), &cell) != 0) return;
    storeCell(cell, valueOf(i, record));
  }
}

}  // namespace

std::string tailoredLanguage() {
  char letters[5] = {};
  const LanguageWord word = state().language.load(std::memory_order_acquire);
  std::memcpy(letters, &word, sizeof word);
  return letters;
}

void resetSortSequence() {
  SortSequenceState &s = state();
  std::lock_guard<std::mutex> lock(s.rewriting);
  rewriteCells([](unsigned i, const uint8_t *) { return kStartupValues[i]; });
  s.language.store(packLanguage({'E', 'N', 0, 0}), std::memory_order_release);
}

}  // namespace qstr::collate

using namespace qstr::collate;

void QSTR_CALL setsseq(const char *language) {
  if (language == nullptr) return;
  SortSequenceState &s = state();
  if (isTailoredTo(language, s.language.load(std::memory_order_acquire))) return;
  std::lock_guard<std::mutex> lock(s.rewriting);
  if (isTailoredTo(language, s.language.load(std::memory_order_relaxed))) return;
  const LanguageWord word = firstTwoLetters(language);
  const unsigned column = columnOf(word);
  rewriteCells([column](unsigned, const uint8_t *record) { return record[2 + column]; });
  s.language.store(word, std::memory_order_release);
}

void QSTR_CALL lQstrSetupLang(void) { setsseq(QStrGetLanguage()); }
