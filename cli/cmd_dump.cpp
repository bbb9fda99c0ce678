// qstr dump [--raw] FILE: the items of a document stream, one a line, each
// said in words ("character group: the native character 0x0129 (U+00E9
// é)"); --raw prints the terse columns of offset, kind, length and codes.
#include <cstdio>
#include <iostream>

#include "cli.h"
#include "files.h"
#include "qstr14/charset.h"
#include "table.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {
namespace {

using ItemKind = tool::StreamItemKind;
using tool::ItemStatus;
using tool::StreamItem;
using tool::readStreamItem;

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

// What an item holds, in words.
std::string describe(const uint8_t *item, const StreamItem &info) {
  switch (info.kind) {
    case ItemKind::Terminator: return "end of stream";
    case ItemKind::Character: {
      std::string text = hex4(item[0]);
      if (item[0] >= 0x20 && item[0] < 0x7F) text += std::string("  '") + static_cast<char>(item[0]) + "'";
      return text;
    }
    case ItemKind::CharacterGroup: {
      const uint16_t native = static_cast<uint16_t>(item[1] | item[2] << 8);
      std::string text = hex4(native);
      const uint16_t unicode = KZcharQX6xToUnicode(native);
      if (unicode != 0xFFFF) {
        text += "  U+" + hex4(unicode).substr(2) + "  ";
        if (unicode >= 0x20) appendUtf8(text, unicode);
      }
      return text;
    }
    case ItemKind::FixedGroup:
      if (item[0] == 0xF2 || item[0] == 0xF3) {
        return hex2(item[0]) + "  attribute " + std::to_string(item[1]) + (item[0] == 0xF2 ? " on" : " off");
      }
      return hex2(item[0]);
    case ItemKind::Function:
    case ItemKind::VariableGroup:
    case ItemKind::SingleByte: return hex2(item[0]);
  }
  return "";
}

// The functions whose meaning the tool knows: qstr convert reads them as
// text; every other function is formatting.
const char *functionMeaning(uint8_t code) {
  switch (code) {
    case 0x80: return "space";
    case 0xCC: return "line end";
    case 0xCF: return "end of paragraph";
  }
  return nullptr;
}

// The character a native value stands for: "U+00E9 é", or "no Unicode
// value".
std::string unicodeOf(uint16_t native) {
  const uint16_t unicode = KZcharQX6xToUnicode(native);
  if (unicode == 0xFFFF) return "no Unicode value";
  std::string text = "U+" + hex4(unicode).substr(2);
  if (unicode >= 0x20 && !(unicode >= 0x7F && unicode < 0xA0)) {
    text += ' ';
    appendUtf8(text, unicode);
  }
  return text;
}

// What an item is and holds, in words.
std::string explain(const uint8_t *item, const StreamItem &info) {
  const std::string code = hex2(item[0]);
  switch (info.kind) {
    case ItemKind::Terminator: return "terminator: the end of the stream";
    case ItemKind::Character:
      if (item[0] >= 0x20 && item[0] < 0x7F) return std::string("character '") + static_cast<char>(item[0]) + "' (" + code + ")";
      return "control character " + code;
    case ItemKind::CharacterGroup: {
      const uint16_t native = static_cast<uint16_t>(item[1] | item[2] << 8);
      return "character group: the native character " + hex4(native) + " (" + unicodeOf(native) + ")";
    }
    case ItemKind::Function:
      if (const char *meaning = functionMeaning(item[0])) return "function " + code + ": " + meaning;
      return "function " + code + " (formatting)";
    case ItemKind::FixedGroup:
      if (item[0] == 0xF2 || item[0] == 0xF3) {
        return "fixed group " + code + ": attribute " + std::to_string(item[1]) +
               (item[0] == 0xF2 ? " switched on" : " switched off");
      }
      return "fixed group " + code + " (formatting)";
    case ItemKind::VariableGroup:
      return "variable group " + code + " (formatting)";
    case ItemKind::SingleByte: return "single-byte item " + code + " (formatting)";
  }
  return "";
}

int runDump(const std::string &file, bool raw) {
  InputFile in(file);
  const std::string &name = in.name();
  if (!in.error().empty()) {
    printError("dump", in.error());
    return kExitBadInput;
  }
  std::vector<uint8_t> pending;
  std::vector<uint8_t> chunk(1 << 16);
  std::size_t offset = 0;  // of pending[0] in the input
  bool ended = false;
  int status = kExitOk;
  // The items in words are gathered and printed at the end, aligned to
  // their widest cells; the items before a malformed one are printed too.
  Table words({"offset", "bytes", "item"});
  if (raw) {
    std::printf("%-10s %-16s %6s  %s\n", "offset", "item", "bytes", "content");
  }
  for (bool more = true; more && status == kExitOk;) {
    const std::size_t got = in.read(chunk.data(), chunk.size());
    more = got != 0;
    if (!in.error().empty()) {
      printError("dump", in.error());
      status = kExitBadInput;
      break;
    }
    pending.insert(pending.end(), chunk.begin(), chunk.begin() + static_cast<long>(got));
    std::size_t pos = 0;
    while (pos < pending.size()) {
      if (ended) {
        printError("dump", bytePosition(name, offset + pos) + ": data after the terminating zero byte");
        status = kExitBadInput;
        break;
      }
      StreamItem item;
      std::string why;
      const ItemStatus itemStatus = readStreamItem(pending.data() + pos, pending.size() - pos, item, why);
      if (itemStatus == ItemStatus::NeedMore && more) break;
      if (itemStatus != ItemStatus::Complete) {
        printError("dump", bytePosition(name, offset + pos) + ": malformed document stream: " +
                               (itemStatus == ItemStatus::NeedMore ? "the last item is incomplete" : why));
        status = kExitBadInput;
        break;
      }
      if (raw) {
        std::printf("%-10zu %-16s %6zu  %s\n", offset + pos, itemKindName(item.kind), item.length,
                    describe(pending.data() + pos, item).c_str());
      } else {
        words.add({std::to_string(offset + pos), std::to_string(item.length), explain(pending.data() + pos, item)});
      }
      ended = item.kind == ItemKind::Terminator;
      pos += item.length;
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<long>(pos));
    offset += pos;
  }
  if (!raw) words.print(std::cout);
  return status;
}

}  // namespace

Action setupDump(CLI::App &app) {
  auto file = std::make_shared<std::string>();
  auto raw = std::make_shared<bool>(false);
  app.add_flag("--raw", *raw, "offset, kind, length and codes, without words");
  app.add_option("FILE", *file, "document stream (- for standard input)")->required();
  return [file, raw] { return runDump(*file, *raw); };
}

}  // namespace qstr::cli
