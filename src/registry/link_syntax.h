// The tokens of a link expression. A link value's data is UTF-16 text in a
// small syntax whose five special characters are configurable (see
// SyntaxCharacters): quoted literals, products, references to other registry
// values, alternative separators and plain literals.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qstr::registry {

// Evaluation errors of link expressions.
inline constexpr uint32_t kErrorUnclosedQuote = 0xE2D50001;      // quoted literal without its closing quote
inline constexpr uint32_t kErrorUnclosedReference = 0xE2D50002;  // reference without its close character
inline constexpr uint32_t kErrorLinkCycle = 0xE2D50003;  // stray close character, or a link leading back

struct SyntaxCharacters {
  char16_t quote = u'"';
  char16_t product = u'*';
  char16_t referenceOpen = u'<';
  char16_t referenceClose = u'>';
  char16_t separator = u'|';
};

enum class TokenKind { kLiteral, kProduct, kReference, kSeparator, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::size_t start = 0;   // first unit of the token as written
  std::size_t length = 0;  // units as written, quotes and reference brackets included
};

// Reads the token that starts at `*position` of `text` (`length` units, the
// expression up to its terminator) and moves `*position` past it; at the end
// the token is kEnd. Returns 0, or one of the evaluation errors above.
uint32_t nextToken(const char16_t *text, std::size_t length, std::size_t *position,
                   const SyntaxCharacters &syntax, Token *token);

}  // namespace qstr::registry
