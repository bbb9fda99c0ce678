// The items of a document stream, read with their bounds and their
// closing bytes checked, for input the library cannot trust (the tool's
// readers). The stepping functions trust item lengths; a stream that passes
// here can be handed to them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qstr::charset {

enum class StreamItemKind : uint8_t {
  Terminator,      // 0x00 at an item start
  Character,       // 0x01-0x7F
  Function,        // 0x80-0xCF
  VariableGroup,   // 0xD0-0xEF
  CharacterGroup,  // 0xF0
  FixedGroup,      // 0xF1-0xFE
  SingleByte,      // 0xFF
};

enum class StreamItemProblem : uint8_t {
  kNone,
  kNeedMore,            // the item runs past the bytes available
  kShortVariableGroup,  // a variable group gives a length below 7
  kWrongClosingByte,    // a group does not end with its own code
  kUnequalLengths,      // a variable group gives different lengths at its ends
};

struct CheckedStreamItem {
  StreamItemKind kind = StreamItemKind::Terminator;
  StreamItemProblem problem = StreamItemProblem::kNone;
  std::size_t length = 0;  // bytes; with kShortVariableGroup the length given
  uint8_t closingByte = 0;  // with kWrongClosingByte: the byte found
};

StreamItemKind streamItemKind(uint8_t first);

// Reads the item at the start of `bytes`, of which `size` are available.
CheckedStreamItem checkStreamItem(const uint8_t *bytes, std::size_t size);

}  // namespace qstr::charset
