// Tokens of link expressions.
#include "registry/link_syntax.h"

namespace qstr::registry {
namespace {

// The first position at or after `from` holding `wanted`, or `end`.
std::size_t findUnit(const char16_t *text, std::size_t from, std::size_t end, char16_t wanted) {
  while (from < end && text[from] != wanted) ++from;
  return from;
}

}  // namespace

uint32_t nextToken(const char16_t *text, std::size_t length, std::size_t *position,
                   const SyntaxCharacters &syntax, Token *token) {
  std::size_t start = *position;
  const std::size_t end = length;
  *token = Token{TokenKind::kEnd, start, 0};
  if (start >= end) return 0;
  char16_t first = text[start];
  std::size_t after = start + 1;
  if (first == syntax.quote) {
    std::size_t close = findUnit(text, start + 1, end, syntax.quote);
    if (close == end) return kErrorUnclosedQuote;
    token->kind = TokenKind::kLiteral;
    after = close + 1;
  } else if (first == syntax.product) {
    token->kind = TokenKind::kProduct;
  } else if (first == syntax.referenceOpen) {
    std::size_t close = findUnit(text, start + 1, end, syntax.referenceClose);
    if (close == end) return kErrorUnclosedReference;
    token->kind = TokenKind::kReference;
    after = close + 1;
  } else if (first == syntax.separator) {
    token->kind = TokenKind::kSeparator;
  } else {
    token->kind = TokenKind::kLiteral;
    for (after = start; after < end; ++after) {
      char16_t c = text[after];
      if (c == syntax.quote || c == syntax.referenceOpen || c == syntax.separator) break;
      if (c == syntax.referenceClose) return kErrorLinkCycle;
    }
  }
  token->length = after - start;
  *position = after;
  return 0;
}

}  // namespace qstr::registry
