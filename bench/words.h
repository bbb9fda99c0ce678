// Deterministic word lists for the comparison and sorting rows: the sample
// word lists and pseudo-words built from the syllables of a language, each
// word held as a native string, in UTF-16 and in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qstr::bench {

enum class Alphabet {
  Western,  // Latin letters with the accents of Western European languages
  Czech,    // Czech letters and "ch"
  Spanish,  // Spanish letters, "ch", "ll" and "ñ"
  Kana,     // hiragana and katakana words
};

// Words in three encodings, each terminated and stored one after the other
// in one buffer per encoding, as a word list in memory would be.
class Corpus {
 public:
  // Adds the word unless one of its characters has no native character.
  bool add(const std::u16string &word);

  std::size_t size() const { return nativeStart_.size(); }
  const uint16_t *native(std::size_t i) const { return natives_.data() + nativeStart_[i]; }
  const char16_t *utf16(std::size_t i) const { return utf16_.data() + utf16Start_[i]; }
  int32_t utf16Length(std::size_t i) const { return utf16Length_[i]; }
  const char *utf8(std::size_t i) const { return utf8_.data() + utf8Start_[i]; }

  // The same words in the order of `order` (indices into this corpus).
  Corpus reordered(const std::vector<uint32_t> &order) const;

 private:
  std::vector<uint16_t> natives_;
  std::vector<char16_t> utf16_;
  std::vector<char> utf8_;
  std::vector<uint32_t> nativeStart_, utf16Start_, utf8Start_;
  std::vector<int32_t> utf16Length_;
};

// `count` words of the alphabet: sample words mixed with pseudo-words, with
// the repeats and shared beginnings of a real word list. The same words on
// every run.
Corpus makeWords(Alphabet alphabet, std::size_t count);

// The words of makeWords(alphabet, count) written to the file at `path`
// in UTF-8, one a line, without holding them all. False when the file
// cannot be written.
bool writeWords(Alphabet alphabet, std::size_t count, const std::string &path);

// Indices 0..size-1 of `corpus` ordered by `less` (over native strings).
template <typename Less>
std::vector<uint32_t> sortedOrder(const Corpus &corpus, Less less);

// UTF-16 of a native string, one unit per character (KZcharQX6xToUnicode).
std::u16string unicodeOfNative(const uint16_t *native);

// UTF-16 of UTF-8 text within the Basic Multilingual Plane.
std::u16string utf16OfUtf8(const std::string &utf8);

}  // namespace qstr::bench

#include <algorithm>

template <typename Less>
std::vector<uint32_t> qstr::bench::sortedOrder(const Corpus &corpus, Less less) {
  std::vector<uint32_t> order(corpus.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return less(corpus.native(a), corpus.native(b)); });
  return order;
}
