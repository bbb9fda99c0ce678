#include "charset/stream_items.h"

#include "charset/stream_grammar.h"
#include "qstr14/charset.h"

namespace qstr::charset {

StreamItemKind streamItemKind(uint8_t first) {
  if (first == 0) return StreamItemKind::Terminator;
  if (first < kFirstFunction) return StreamItemKind::Character;
  if (first < kFirstVariableGroup) return StreamItemKind::Function;
  if (isVariableGroup(first)) return StreamItemKind::VariableGroup;
  if (first == kCharacterGroup) return StreamItemKind::CharacterGroup;
  if (first == kSingleByte) return StreamItemKind::SingleByte;
  return StreamItemKind::FixedGroup;
}

CheckedStreamItem checkStreamItem(const uint8_t *bytes, std::size_t size) {
  CheckedStreamItem item;
  if (size == 0) {
    item.problem = StreamItemProblem::kNeedMore;
    return item;
  }
  const uint8_t code = bytes[0];
  item.kind = streamItemKind(code);
  const bool variable = item.kind == StreamItemKind::VariableGroup;
  // A variable group's length word follows its code and one byte.
  if (variable && size < 4) {
    item.problem = StreamItemProblem::kNeedMore;
    return item;
  }
  item.length = ufsize(bytes);
  if (variable && item.length < kMinVariableGroupLength) {
    item.problem = StreamItemProblem::kShortVariableGroup;
  } else if (item.length > size) {
    item.problem = StreamItemProblem::kNeedMore;
  } else if (code >= kFirstVariableGroup && item.kind != StreamItemKind::SingleByte &&
             bytes[item.length - 1] != code) {
    item.problem = StreamItemProblem::kWrongClosingByte;
    item.closingByte = bytes[item.length - 1];
  } else if (variable && ubsize(bytes + item.length) != item.length) {
    item.problem = StreamItemProblem::kUnequalLengths;
  }
  return item;
}

}  // namespace qstr::charset
