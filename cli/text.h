// Text helpers of the qstr tool: UTF-8 and number formatting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qstr::cli {

// Appends the UTF-8 form of a UTF-16 unit (a lone surrogate becomes U+FFFD).
void appendUtf8(std::string &out, char16_t unit);
// Appends the UTF-8 form of a code point up to U+10FFFF (not a surrogate).
void appendUtf8CodePoint(std::string &out, uint32_t codePoint);

// Decodes one UTF-8 sequence at `bytes` (`size` bytes available) into
// `codePoint`. Returns its length (1-4); 0 when the bytes end inside a
// sequence that is valid so far; -1 for invalid UTF-8 (a bad lead or
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF).
int decodeUtf8(const uint8_t *bytes, std::size_t size, uint32_t &codePoint);
// Strict UTF-8 to UTF-16: characters above U+FFFF become surrogate pairs.
// Null for bytes that are not UTF-8: stray or missing continuation bytes,
// overlong forms, surrogates, values above U+10FFFF.
std::optional<std::u16string> decodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8: surrogate pairs become one character, a lone surrogate
// U+FFFD.
std::string encodeUtf8(std::u16string_view units);

// Native characters and the UTF-16 units they came from, one per unit:
// the library's own mapping (KZcharUnicodeToQX6x), with the source units
// kept to show what a position took.
struct NativeText {
  std::u16string native;  // 0xFFFF where a unit has no native character
  std::u16string source;
};
NativeText toNative(std::u16string_view units);

// The Unicode name of a code point ("GRINNING FACE"; the control
// characters by their aliases, "LINE FEED"); empty when it has none or the
// tool was built without the name data.
std::string characterName(uint32_t codePoint);
// "U+XXXX" and the name when there is one: "U+1F600 GRINNING FACE".
std::string describeCharacter(uint32_t codePoint);

// "0x" and two upper-case hex digits.
std::string hex2(uint8_t value);
// "0x" and four upper-case hex digits.
std::string hex4(uint32_t value);

}  // namespace qstr::cli
