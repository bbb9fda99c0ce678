#include "stream_items.h"

#include "qstr14/charset.h"
#include "text.h"

namespace qstr::cli {
namespace {

ItemKind kindOf(uint8_t first) {
  if (first == 0) return ItemKind::Terminator;
  if (first < 0x80) return ItemKind::Character;
  if (first < 0xD0) return ItemKind::Function;
  if (first < 0xF0) return ItemKind::VariableGroup;
  if (first == 0xF0) return ItemKind::CharacterGroup;
  if (first == 0xFF) return ItemKind::SingleByte;
  return ItemKind::FixedGroup;
}

}  // namespace

const char *itemKindName(ItemKind kind) {
  switch (kind) {
    case ItemKind::Terminator: return "terminator";
    case ItemKind::Character: return "character";
    case ItemKind::Function: return "function";
    case ItemKind::VariableGroup: return "variable group";
    case ItemKind::CharacterGroup: return "character group";
    case ItemKind::FixedGroup: return "fixed group";
    case ItemKind::SingleByte: return "single byte";
  }
  return "?";
}

ItemStatus readStreamItem(const uint8_t *bytes, std::size_t size, StreamItem &item, std::string &why) {
  if (size == 0) return ItemStatus::NeedMore;
  const uint8_t code = bytes[0];
  item.kind = kindOf(code);
  if (item.kind == ItemKind::VariableGroup) {
    if (size < 4) return ItemStatus::NeedMore;
    item.length = ufsize(bytes);
    if (item.length < 7) {
      why = "group " + hex2(code) + " gives its length as " + std::to_string(item.length) + ", less than 7";
      return ItemStatus::Malformed;
    }
  } else {
    item.length = ufsize(bytes);
  }
  if (item.length > size) return ItemStatus::NeedMore;
  if (item.kind == ItemKind::VariableGroup || item.kind == ItemKind::CharacterGroup || item.kind == ItemKind::FixedGroup) {
    const uint8_t last = bytes[item.length - 1];
    if (last != code) {
      why = "group " + hex2(code) + " ends with " + hex2(last) + " instead of its own code";
      return ItemStatus::Malformed;
    }
    if (item.kind == ItemKind::VariableGroup && ubsize(bytes + item.length) != item.length) {
      why = "group " + hex2(code) + " gives two different lengths at its ends";
      return ItemStatus::Malformed;
    }
  }
  return ItemStatus::Complete;
}

}  // namespace qstr::cli
