// Deterministic benchmark inputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qstr::bench {

// About `bytes` bytes of Western European text in code page 1252: words of
// several languages, accented letters, punctuation and line breaks.
std::string westernText1252(std::size_t bytes);

// About `bytes` bytes of Japanese text in code page 932: kanji, kana of
// both widths, ASCII.
std::string japaneseText932(std::size_t bytes);

// About `bytes` bytes of text in code page 437.
std::string dosText437(std::size_t bytes);

// Splits `text` into pieces of at most `limit` bytes, never inside a
// double-byte character of `leadByte` (a predicate over bytes).
std::vector<std::string> chunks(const std::string &text, std::size_t limit, bool (*leadByte)(uint8_t));

// Cuts `text` into pieces of `shortest` to `longest` bytes (lengths drawn
// from a fixed sequence), never inside a double-byte character: the words
// or lines a word processor converts one call at a time.
std::vector<std::string> pieces(const std::string &text, std::size_t shortest, std::size_t longest,
                                bool (*leadByte)(uint8_t));

// Sets LC_COLLATE to `locale` (a name such as "en_US.UTF-8"), generating
// the locale with localedef first when the system lacks it (which needs
// root). False when the locale cannot be had.
bool collateIn(const char *locale);

// The host profile of a machine with this locale, a private registry and
// freshly loaded code page records.
void useMachine(const char *locale);

}  // namespace qstr::bench
