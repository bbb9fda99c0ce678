// Text helpers of the qstr tool: UTF-8 and number formatting.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qstr::cli {

// Appends the UTF-8 form of a UTF-16 unit (a lone surrogate becomes U+FFFD).
void appendUtf8(std::string &out, char16_t unit);

// "0x" and four upper-case hex digits.
std::string hex4(uint32_t value);

// A number as the tool accepts it: decimal or 0x-prefixed hex, whole
// string, at most `maxValue`.
std::optional<uint32_t> parseNumber(const std::string &text, uint32_t maxValue);

}  // namespace qstr::cli
