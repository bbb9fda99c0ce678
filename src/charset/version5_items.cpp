// The version-5 stream grammar: item kinds and lengths, and the validator
// built on them.
#include "charset/version5_items.h"

namespace qstr::charset::version5 {
namespace {

using Kind = Version5ItemKind;
using Status = Version5ItemStatus;

Version5Item complete(Kind kind, std::size_t length) { return {kind, Status::kComplete, length}; }
Version5Item truncated(Kind kind, std::size_t needed) { return {kind, Status::kTruncated, needed}; }

Kind oneByteKind(uint8_t first) {
  if (first == 0x00) return Kind::kTerminator;
  if (first == 0x0A || first == 0x0C || first == 0x0D) return Kind::kControl;
  if (first < 0x20 || first >= 0x80) return Kind::kFunction;
  return Kind::kCharacter;
}

// A pair ends at its second byte; a zero there is a terminator that cuts
// the pair short.
Version5Item readPair(const uint8_t *item, std::size_t available) {
  if (available < 2 || item[1] == 0) return truncated(Kind::kPair, 2);
  return complete(Kind::kPair, 2);
}

// Code, `length - 2` data bytes, code.
Version5Item readBounded(Kind kind, const uint8_t *item, std::size_t available, std::size_t length) {
  if (available < length) return truncated(kind, length);
  if (item[length - 1] != item[0]) return {kind, Status::kUnclosed, length};
  return complete(kind, length);
}

// Code, one or two data bytes, code: the function ends at the first
// repetition of its code byte after at least one data byte.
Version5Item readFixedFunction(const uint8_t *item, std::size_t available) {
  for (std::size_t end = 2; end <= kMaxFixedFunctionData + 1; ++end) {
    if (end >= available) return truncated(Kind::kFixedFunction, end + 1);
    if (item[end] == item[0]) return complete(Kind::kFixedFunction, end + 1);
  }
  return {Kind::kFixedFunction, Status::kUnclosed, kMaxFixedFunctionData + 2};
}

// C0-CF.
Version5Item readFixedLength(const uint8_t *item, std::size_t available) {
  switch (item[0]) {
    case kExtendedCharacterCode:
      return readBounded(Kind::kExtendedCharacter, item, available, kExtendedCharacterLength);
    case kAttributeOnCode:
      return readBounded(Kind::kAttributeOn, item, available, kAttributeLength);
    case kAttributeOffCode:
      return readBounded(Kind::kAttributeOff, item, available, kAttributeLength);
    default:
      return readFixedFunction(item, available);
  }
}

// Code, one byte, 16-bit little-endian length M, M bytes.
Version5Item readVariableFunction(const uint8_t *item, std::size_t available) {
  if (available < kVariableFunctionHeader) {
    return truncated(Kind::kVariableFunction, kVariableFunctionHeader);
  }
  const std::size_t length = kVariableFunctionHeader + (item[2] | item[3] << 8);
  if (available < length) return truncated(Kind::kVariableFunction, length);
  return complete(Kind::kVariableFunction, length);
}

}  // namespace

Version5Item readVersion5Item(const uint8_t *item, std::size_t available, bool doubleByte) {
  const uint8_t first = item[0];
  if (first >= kFirstVariableFunction) return readVariableFunction(item, available);
  if (first >= kFirstFixedLength) return readFixedLength(item, available);
  if (doubleByte && first >= kFirstPairLead && first < 0x80) return readPair(item, available);
  return complete(oneByteKind(first), 1);
}

std::optional<std::size_t> firstIncompleteVersion5Item(const uint8_t *stream, std::size_t size,
                                                       bool doubleByte) {
  std::size_t offset = 0;
  while (offset < size) {
    const Version5Item item = readVersion5Item(stream + offset, size - offset, doubleByte);
    if (item.status != Status::kComplete) return offset;
    if (item.kind == Kind::kTerminator) return std::nullopt;
    offset += item.length;
  }
  return size;
}

}  // namespace qstr::charset::version5
