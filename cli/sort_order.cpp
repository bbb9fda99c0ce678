#include "sort_order.h"

#include "qstr14/charset.h"
#include "qstr14/collate.h"
#include "qstr14/keys.h"
#include "qstr14/strings.h"
#include "text.h"

namespace qstr::cli::sorting {
namespace {

// The native character of every UTF-16 unit, asked of the library once:
// the same answers KZcharUnicodeToQX6x gives unit by unit.
const uint16_t *nativeOfUnit() {
  static const std::vector<uint16_t> table = [] {
    std::vector<uint16_t> natives(0x10000);
    for (uint32_t unit = 0; unit < natives.size(); ++unit) natives[unit] = KZcharUnicodeToQX6x(unit);
    return natives;
  }();
  return table.data();
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Per thread: the natives of the line whose key is built, and of the two
// lines compared directly.
struct Scratch {
  std::vector<uint16_t> natives, first, second;
};
Scratch &scratch() {
  thread_local Scratch buffers;
  return buffers;
}

}  // namespace

BadColumn appendNatives(std::string_view utf8, std::vector<uint16_t> &out) {
  const uint16_t *table = nativeOfUnit();
  const std::size_t start = out.size();
  // At most one unit per byte: a 4-byte sequence gives 2.
  out.resize(start + utf8.size());
  uint16_t *next = out.data() + start;
  const auto *bytes = reinterpret_cast<const uint8_t *>(utf8.data());
  std::uint64_t characters = 0;
  for (std::size_t i = 0; i < utf8.size(); ++characters) {
    if (bytes[i] < 0x80) {
      *next++ = table[bytes[i++]];
      continue;
    }
    uint32_t value = 0;
    const int length = decodeUtf8(bytes + i, utf8.size() - i, value);
    if (length <= 0) {
      out.resize(start);
      return characters + 1;
    }
    i += static_cast<std::size_t>(length);
    if (value < 0x10000) {
      *next++ = table[value];
    } else {
      value -= 0x10000;
      *next++ = table[0xD800 | value >> 10];
      *next++ = table[0xDC00 | (value & 0x3FF)];
    }
  }
  out.resize(static_cast<std::size_t>(next - out.data()));
  return 0;
}

Order::Order(const OrderOptions &options) : options_(options) {
  nativeOfUnit();  // built before any thread asks
  if (!options.simple) {
    alwaysExact_ = QsKeyAlwaysExact(options.language, options.caseFlag, options.kanaFlag) != 0;
  }
}

std::string_view Order::comparedPart(std::string_view text) const {
  if (options_.firstField == 0) return text;
  std::size_t start = text.size(), end = text.size();
  if (options_.separator.empty()) {
    // Fields are the runs of characters other than blanks.
    unsigned field = 0;
    for (std::size_t i = 0; i < text.size();) {
      while (i < text.size() && isBlank(text[i])) ++i;
      if (i == text.size()) break;
      const std::size_t fieldStart = i;
      while (i < text.size() && !isBlank(text[i])) ++i;
      if (++field == options_.firstField) start = fieldStart;
      if (field == options_.lastField) {
        end = i;
        break;
      }
    }
  } else {
    const std::string &separator = options_.separator;
    std::size_t position = 0;
    for (unsigned field = 1; field < options_.firstField && position != std::string_view::npos; ++field) {
      position = text.find(separator, position);
      if (position != std::string_view::npos) position += separator.size();
    }
    if (position != std::string_view::npos) {
      start = position;
      for (unsigned field = options_.firstField; options_.lastField != 0 && field <= options_.lastField; ++field) {
        const std::size_t found = text.find(separator, position);
        if (found == std::string_view::npos) break;
        if (field == options_.lastField) end = found;
        position = found + separator.size();
      }
    }
  }
  return text.substr(start, end > start ? end - start : 0);
}

std::size_t Order::keyRoom(std::string_view text) const {
  // A multi-level key takes at most 14 bytes per unit and 2; a simple one
  // is the natives themselves. There is at most one unit per byte.
  return options_.simple ? 2 * text.size() : 14 * text.size() + 2;
}

std::size_t Order::buildKey(std::string_view text, uint8_t *out, bool &inexact, BadColumn &bad) const {
  std::vector<uint16_t> &natives = scratch().natives;
  natives.clear();
  inexact = false;
  bad = appendNatives(text, natives);
  if (bad != 0) return 0;
  if (options_.firstField != 0) {
    natives.clear();
    appendNatives(comparedPart(text), natives);
  }
  // The comparison ends a string at its first 0.
  natives.push_back(0);
  if (options_.simple) {
    std::size_t units = 0;
    while (natives[units] != 0) ++units;
    std::memcpy(out, natives.data(), 2 * units);
    return 2 * units;
  }
  int32_t exact = 1;
  const std::size_t length = QsKeyBuild(natives.data(), options_.language, options_.caseFlag, options_.kanaFlag, out,
                                        keyRoom(text), &exact);
  inexact = !alwaysExact_ && exact == 0;
  return length;
}

int Order::compareSlowly(const SortRecord &a, const SortRecord &b) const {
  Scratch &buffers = scratch();
  if (options_.simple) {
    // The natives are the key, copied where they are aligned and terminated.
    buffers.first.assign(a.keyLength / 2 + 1, 0);
    buffers.second.assign(b.keyLength / 2 + 1, 0);
    std::memcpy(buffers.first.data(), a.key, a.keyLength);
    std::memcpy(buffers.second.data(), b.key, b.keyLength);
    const int order = options_.ignoreCase ? Q6wstricmp(buffers.first.data(), buffers.second.data())
                                          : Q6wstrcmp(buffers.first.data(), buffers.second.data());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
  }
  // A key that is not exact: the comparison on both lines' natives, built
  // again from their text (already known to be UTF-8).
  buffers.first.clear();
  buffers.second.clear();
  appendNatives(comparedPart(lineText(a.line, a.lineLength)), buffers.first);
  appendNatives(comparedPart(lineText(b.line, b.lineLength)), buffers.second);
  buffers.first.push_back(0);
  buffers.second.push_back(0);
  const int order = QxQS6Cmpcoll(buffers.first.data(), buffers.second.data(), options_.language, options_.caseFlag,
                                 options_.kanaFlag);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace qstr::cli::sorting
