// Reading document stream items with their bounds checked, for the tool's
// readers (convert, dump). The library trusts item lengths; the tool checks
// them before anything reaches the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qstr::cli {

enum class ItemKind {
  Terminator,      // 0x00 at an item start
  Character,       // 0x01-0x7F
  Function,        // 0x80-0xCF
  VariableGroup,   // 0xD0-0xEF
  CharacterGroup,  // 0xF0
  FixedGroup,      // 0xF1-0xFE
  SingleByte,      // 0xFF
};

struct StreamItem {
  ItemKind kind = ItemKind::Terminator;
  std::size_t length = 0;  // bytes
};

enum class ItemStatus { Complete, NeedMore, Malformed };

// Reads the item at the start of `bytes` (`size` bytes available). Complete:
// `item` says what it is. NeedMore: the item runs past the bytes available
// (more input may complete it). Malformed: `why` says what is wrong.
ItemStatus readStreamItem(const uint8_t *bytes, std::size_t size, StreamItem &item, std::string &why);

const char *itemKindName(ItemKind kind);

}  // namespace qstr::cli
