// Text helpers of the qstr tool: UTF-8 and number formatting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qstr::cli {

// Appends the UTF-8 form of a UTF-16 unit (a lone surrogate becomes U+FFFD).
void appendUtf8(std::string &out, char16_t unit);

// Decodes one UTF-8 sequence at `bytes` (`size` bytes available) into
// `codePoint`. Returns its length (1-4); 0 when the bytes end inside a
// sequence that is valid so far; -1 for invalid UTF-8 (a bad lead or
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF).
int decodeUtf8(const uint8_t *bytes, std::size_t size, uint32_t &codePoint);

// "0x" and four upper-case hex digits.
std::string hex4(uint32_t value);

// A number as the tool accepts it: decimal or 0x-prefixed hex, whole
// string, at most `maxValue`.
std::optional<uint32_t> parseNumber(const std::string &text, uint32_t maxValue);

}  // namespace qstr::cli
