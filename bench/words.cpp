#include "words.h"

#include <fstream>
#include <initializer_list>
#include <sstream>

#include "qstr14/charset.h"

#ifndef QSTR14_SAMPLE_WORDS
#define QSTR14_SAMPLE_WORDS "samples/words"
#endif

namespace qstr::bench {
namespace {

class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  // True with probability 1 / n.
  bool oneIn(uint32_t n) { return next() % n == 0; }
  template <typename T>
  const T &pick(const std::vector<T> &from) {
    return from[next() % from.size()];
  }

 private:
  uint32_t state_;
};

void appendUtf8(std::vector<char> &out, char16_t unit) {
  if (unit < 0x80) {
    out.push_back(static_cast<char>(unit));
  } else if (unit < 0x800) {
    out.push_back(static_cast<char>(0xC0 | unit >> 6));
    out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | unit >> 12));
    out.push_back(static_cast<char>(0x80 | (unit >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
  }
}

// Upper case of a first letter: ASCII, Latin-1 (but the division sign) and
// the pairs of Latin Extended-A, whose lower-case letter is the odd one
// except in 0x139-0x148 and 0x179-0x17E.
char16_t upperOf(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  const bool evenLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (c >= 0x100 && c <= 0x17F && ((c & 1) != 0) != evenLower) return static_cast<char16_t>(c - 1);
  return c;
}

struct Syllables {
  std::vector<std::u16string> onsets, plainVowels, accentedVowels, codas;
  uint32_t accentOneIn;   // an accented vowel once in so many syllables
  uint32_t capitalOneIn;  // a capitalised word once in so many words
};

const Syllables &syllablesOf(Alphabet alphabet) {
  static const Syllables western{
      {u"", u"b", u"c", u"d", u"f", u"g", u"h", u"j", u"k", u"l", u"m", u"n", u"p", u"qu", u"r", u"s", u"t",
       u"v", u"w", u"z", u"bl", u"br", u"ch", u"cr", u"dr", u"fl", u"fr", u"gl", u"gr", u"pl", u"pr", u"sch",
       u"sh", u"st", u"str", u"th", u"tr", u"ç"},
      {u"a", u"e", u"i", u"o", u"u", u"y", u"ou", u"ei", u"ie", u"ae"},
      {u"à", u"á", u"â", u"ä", u"è", u"é", u"ê", u"ë", u"ì", u"í", u"î", u"ï", u"ò", u"ó", u"ô", u"ö", u"ù",
       u"ú", u"û", u"ü", u"å", u"æ", u"ø", u"œ", u"ÿ"},
      {u"", u"", u"", u"n", u"r", u"s", u"l", u"t", u"ss", u"ß", u"ck", u"nd", u"rt"},
      5,
      8};
  static const Syllables czech{
      {u"", u"b", u"c", u"č", u"d", u"ď", u"f", u"h", u"ch", u"j", u"k", u"l", u"m", u"n", u"ň", u"p", u"r",
       u"ř", u"s", u"š", u"t", u"ť", u"v", u"z", u"ž", u"st", u"pr", u"tr", u"kr", u"br", u"hr"},
      {u"a", u"e", u"i", u"o", u"u", u"y"},
      {u"á", u"é", u"ě", u"í", u"ó", u"ú", u"ů", u"ý"},
      {u"", u"", u"", u"k", u"n", u"l", u"s", u"t", u"j", u"ch", u"ž"},
      3,
      10};
  static const Syllables spanish{
      {u"", u"b", u"c", u"ch", u"d", u"f", u"g", u"j", u"l", u"ll", u"m", u"n", u"ñ", u"p", u"qu", u"r", u"rr",
       u"s", u"t", u"v", u"z", u"br", u"tr", u"pl", u"cl", u"gu"},
      {u"a", u"e", u"i", u"o", u"u", u"ia", u"ue"},
      {u"á", u"é", u"í", u"ó", u"ú", u"ü"},
      {u"", u"", u"", u"n", u"s", u"r", u"l", u"z", u"ll"},
      5,
      10};
  switch (alphabet) {
    case Alphabet::Western: return western;
    case Alphabet::Czech: return czech;
    case Alphabet::Spanish: return spanish;
    case Alphabet::Kana: break;
  }
  return western;
}

std::u16string latinPseudoWord(const Syllables &s, Lcg &random) {
  static const uint32_t kSyllableCounts[] = {1, 2, 2, 2, 3, 3, 3, 4};
  const uint32_t syllables = kSyllableCounts[random.next() % 8];
  std::u16string word;
  for (uint32_t i = 0; i < syllables; ++i) {
    word += random.pick(s.onsets);
    word += random.oneIn(s.accentOneIn) ? random.pick(s.accentedVowels) : random.pick(s.plainVowels);
    if (i + 1 == syllables || random.oneIn(4)) word += random.pick(s.codas);
  }
  if (random.oneIn(s.capitalOneIn)) word[0] = upperOf(word[0]);
  return word;
}

// Hiragana words, or katakana ones (the same syllables 0x60 higher) with
// the prolonged sound mark; small kana for palatalised and doubled sounds.
std::u16string kanaPseudoWord(Lcg &random) {
  static const std::u16string kKana =
      u"あいうえおかきくけこがぎぐげごさしすせそざじずぜぞたちつてとだでどなにぬねの"
      u"はひふへほばびぶべぼぱぴぷぺぽまみむめもやゆよらりるれろわん";
  const bool katakana = random.oneIn(3);
  const uint32_t length = 2 + random.next() % 4;
  std::u16string word;
  for (uint32_t i = 0; i < length; ++i) {
    word += kKana[random.next() % kKana.size()];
    if (random.oneIn(12)) word += u"ゃゅょ"[random.next() % 3];
    if (i + 1 < length && random.oneIn(15)) word += u'っ';
    if (katakana && random.oneIn(6)) word += u'ー';
  }
  if (katakana) {
    for (char16_t &c : word) {
      if (c >= 0x3041 && c <= 0x3096) c = static_cast<char16_t>(c + 0x60);
    }
  }
  return word;
}

std::vector<std::u16string> sampleWords(std::initializer_list<const char *> languages) {
  std::vector<std::u16string> words;
  for (const char *language : languages) {
    std::ifstream file(std::string(QSTR14_SAMPLE_WORDS) + "/" + language + ".txt");
    std::string line;
    while (std::getline(file, line)) {
      if (!line.empty()) words.push_back(utf16OfUtf8(line));
    }
  }
  return words;
}

std::vector<std::u16string> samplesOf(Alphabet alphabet) {
  switch (alphabet) {
    case Alphabet::Western: return sampleWords({"da", "de", "es", "fr", "nl", "no", "sv"});
    case Alphabet::Czech: return sampleWords({"cs"});
    case Alphabet::Spanish: return sampleWords({"es"});
    case Alphabet::Kana: return sampleWords({"ja"});
  }
  return {};
}

}  // namespace

bool Corpus::add(const std::u16string &word) {
  const std::size_t mark = natives_.size();
  for (char16_t unit : word) {
    const uint16_t native = KZcharUnicodeToQX6x(unit);
    if (native == 0xFFFF) {
      natives_.resize(mark);
      return false;
    }
    natives_.push_back(native);
  }
  natives_.push_back(0);
  nativeStart_.push_back(static_cast<uint32_t>(mark));
  utf16Start_.push_back(static_cast<uint32_t>(utf16_.size()));
  utf16Length_.push_back(static_cast<int32_t>(word.size()));
  utf16_.insert(utf16_.end(), word.begin(), word.end());
  utf16_.push_back(0);
  utf8Start_.push_back(static_cast<uint32_t>(utf8_.size()));
  for (char16_t unit : word) appendUtf8(utf8_, unit);
  utf8_.push_back(0);
  return true;
}

Corpus Corpus::reordered(const std::vector<uint32_t> &order) const {
  Corpus out;
  for (uint32_t i : order) out.add(std::u16string(utf16(i), static_cast<std::size_t>(utf16Length(i))));
  return out;
}

namespace {

// Offers the words of an alphabet, one after the other, to `take` until it
// returns false.
template <typename Take>
void generateWords(Alphabet alphabet, Take take) {
  Lcg random(0x5EED0000u + static_cast<uint32_t>(alphabet));
  const std::vector<std::u16string> samples = samplesOf(alphabet);
  for (;;) {
    std::u16string word;
    if (!samples.empty() && random.oneIn(40)) {
      word = random.pick(samples);
    } else if (alphabet == Alphabet::Kana) {
      word = kanaPseudoWord(random);
    } else {
      word = latinPseudoWord(syllablesOf(alphabet), random);
    }
    if (!take(word)) return;
  }
}

}  // namespace

Corpus makeWords(Alphabet alphabet, std::size_t count) {
  Corpus corpus;
  if (count == 0) return corpus;
  generateWords(alphabet, [&](const std::u16string &word) {
    corpus.add(word);
    return corpus.size() < count;
  });
  return corpus;
}

bool writeWords(Alphabet alphabet, std::size_t count, const std::string &path) {
  std::ofstream file(path, std::ios::binary);
  std::vector<char> text;
  std::size_t written = 0;
  if (count > 0) {
    generateWords(alphabet, [&](const std::u16string &word) {
      // The words Corpus::add keeps: every character a native one.
      for (char16_t unit : word) {
        if (KZcharUnicodeToQX6x(unit) == 0xFFFF) return true;
      }
      for (char16_t unit : word) appendUtf8(text, unit);
      text.push_back('\n');
      if (text.size() >= (1 << 20)) {
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
      }
      return ++written < count;
    });
  }
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(file);
}

std::u16string unicodeOfNative(const uint16_t *native) {
  std::u16string text;
  for (; *native != 0; ++native) text += static_cast<char16_t>(KZcharQX6xToUnicode(*native));
  return text;
}

std::u16string utf16OfUtf8(const std::string &utf8) {
  std::u16string text;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    char16_t unit = byte;
    std::size_t length = 1;
    if (byte >= 0xE0 && i + 2 < utf8.size()) {
      unit = static_cast<char16_t>((byte & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F));
      length = 3;
    } else if (byte >= 0xC0 && i + 1 < utf8.size()) {
      unit = static_cast<char16_t>((byte & 0x1F) << 6 | (utf8[i + 1] & 0x3F));
      length = 2;
    }
    text += unit;
    i += length;
  }
  return text;
}

}  // namespace qstr::bench
