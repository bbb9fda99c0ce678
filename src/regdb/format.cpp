// The registry file format: reader and writer.
#include "regdb/format.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/ascii.h"

namespace qstr::regdb {
namespace {

constexpr uint32_t kTypeString = 1;  // REG_SZ
constexpr uint32_t kTypeBinary = 3;  // REG_BINARY
constexpr uint32_t kTypeDword = 4;   // REG_DWORD
// The writer breaks hex lists after this many characters on a line.
constexpr std::size_t kHexLineWidth = 76;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeft(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view trim(std::string_view text) {
  text = trimLeft(text);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Parses 1 to `maxDigits` hex digits forming the whole of `text`.
bool parseHexNumber(std::string_view text, std::size_t maxDigits, uint32_t *number) {
  if (text.empty() || text.size() > maxDigits) return false;
  uint32_t result = 0;
  for (char c : text) {
    const int digit = base::hexDigitValue(c);
    if (digit < 0) return false;
    result = result << 4 | static_cast<uint32_t>(digit);
  }
  *number = result;
  return true;
}

// A short, printable excerpt of `text` for an error message.
std::string excerpt(std::string_view text) {
  std::string shown;
  for (char c : text.substr(0, 24)) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  if (text.size() > 24) shown += "...";
  return "\"" + shown + "\"";
}

class Parser {
 public:
  Parser(std::string_view text, Tree &tree, ParseError &error)
      : text_(text), tree_(tree), error_(error) {}

  bool run() {
    tree_.clear();
    if (text_.size() >= 2 && (static_cast<unsigned char>(text_[0]) == 0xFF ||
                              static_cast<unsigned char>(text_[0]) == 0xFE)) {
      line_ = 1;
      return fail("the file is UTF-16 text; save it as UTF-8");
    }
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    std::string_view line;
    if (!nextContentLine(&line)) return error_.message.empty();
    if (line != kFileHeader) {
      return fail("expected the header \"" + std::string(kFileHeader) + "\"");
    }
    while (nextContentLine(&line)) {
      if (!parseLine(line)) return false;
    }
    return error_.message.empty();
  }

 private:
  bool fail(std::string message) {
    error_.line = line_;
    error_.message = std::move(message);
    return false;
  }

  // The next physical line, trimmed, CR dropped. False at the end of the
  // text or (with the error set) for an over-long line.
  bool nextLine(std::string_view *line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    ++line_;
    std::string_view raw = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (raw.size() > kMaxLineBytes) {
      fail("line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
      return false;
    }
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    *line = trim(raw);
    return true;
  }

  // The next line that is neither blank nor a comment.
  bool nextContentLine(std::string_view *line) {
    while (nextLine(line)) {
      if (!line->empty() && line->front() != ';') return true;
    }
    return false;
  }

  bool parseLine(std::string_view line) {
    if (line.front() == '[') return parseKeyLine(line);
    if (line.front() == '"' || line.front() == '@') return parseValueLine(line);
    return fail("unrecognised line " + excerpt(line) +
                "; expected [KEY], \"NAME\"=VALUE or @=VALUE");
  }

  bool parseKeyLine(std::string_view line) {
    if (line.back() != ']') return fail("key line without its closing ']'");
    if (line.substr(0, 2) == "[-") return fail("key deletions (\"[-KEY]\") are not supported");
    std::string_view rest = line.substr(1, line.size() - 2);
    std::size_t cut = rest.find('\\');
    std::string_view root = canonicalRootName(rest.substr(0, cut));
    if (root.empty()) return fail("unknown root key " + excerpt(rest.substr(0, cut)));
    std::string path(root);
    std::size_t depth = 0;
    while (cut != std::string_view::npos) {
      rest = rest.substr(cut + 1);
      cut = rest.find('\\');
      std::string_view name = rest.substr(0, cut);
      if (++depth > kMaxKeyDepth) {
        return fail("key is nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
      }
      if (name.empty()) return fail("empty key name in the path (doubled or trailing '\\')");
      if (name.size() > kMaxKeyNameBytes) {
        return fail("key name longer than " + std::to_string(kMaxKeyNameBytes) + " bytes");
      }
      if (!isValidKeyName(name)) return fail("control character in key name " + excerpt(name));
      path.append(1, '\\').append(name);
    }
    current_ = &tree_.ensure(path, nullptr);
    return true;
  }

  // Reads a quoted text whose opening quote `rest` starts with, leaving
  // `rest` after the closing quote. Only \\ and \" are escapes.
  bool parseQuoted(std::string_view &rest, std::string *out, const char *what) {
    out->clear();
    for (std::size_t i = 1; i < rest.size(); ++i) {
      char c = rest[i];
      if (c == '"') {
        rest.remove_prefix(i + 1);
        return true;
      }
      if (c == '\\') {
        if (i + 1 >= rest.size() || (rest[i + 1] != '\\' && rest[i + 1] != '"')) {
          return fail(std::string("unknown escape in ") + what +
                      " (write \\\\ for a backslash, \\\" for a quote)");
        }
        c = rest[++i];
      }
      out->push_back(c);
    }
    return fail(std::string("unterminated ") + what + " (missing closing '\"')");
  }

  bool parseValueLine(std::string_view line) {
    if (current_ == nullptr) return fail("value before the first [KEY] line");
    std::string name;
    std::string_view rest = line;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else if (!parseQuoted(rest, &name, "value name")) {
      return false;
    }
    if (name.size() > kMaxValueNameBytes) {
      return fail("value name longer than " + std::to_string(kMaxValueNameBytes) + " bytes");
    }
    if (!isValidValueName(name)) return fail("control character in value name");
    rest = trimLeft(rest);
    if (rest.empty() || rest.front() != '=') return fail("expected '=' after the value name");
    Value value{name, 0, {}};
    if (!parseData(trimLeft(rest.substr(1)), &value)) return false;
    storeValue(*current_, value.name, value.type, value.data.data(), value.data.size());
    return true;
  }

  bool parseData(std::string_view rest, Value *value) {
    if (!rest.empty() && rest.front() == '"') return parseString(rest, value);
    if (rest.substr(0, 6) == "dword:") return parseDword(rest.substr(6), value);
    if (rest.substr(0, 4) == "hex:") {
      value->type = kTypeBinary;
      return parseHexList(rest.substr(4), &value->data);
    }
    if (rest.substr(0, 4) == "hex(") {
      std::size_t close = rest.find("):");
      if (close == std::string_view::npos ||
          !parseHexNumber(rest.substr(4, close - 4), 8, &value->type)) {
        return fail("invalid type " + excerpt(rest.substr(0, close == rest.npos ? 12 : close + 2)) +
                    "; expected hex(N): with 1 to 8 hex digits");
      }
      return parseHexList(rest.substr(close + 2), &value->data);
    }
    if (rest == "-") return fail("value deletions (\"NAME\"=-) are not supported");
    return fail("unknown value type " + excerpt(rest.substr(0, rest.find(':'))) +
                "; expected \"text\", dword:, hex: or hex(N):");
  }

  bool parseString(std::string_view rest, Value *value) {
    std::string text;
    if (!parseQuoted(rest, &text, "string")) return false;
    if (!trim(rest).empty()) return fail("unexpected text after the string: " + excerpt(rest));
    if (text.size() >= kMaxValueBytes) return valueTooLarge();
    value->type = kTypeString;
    value->data.assign(text.begin(), text.end());
    value->data.push_back(0);
    return true;
  }

  bool parseDword(std::string_view digits, Value *value) {
    uint32_t number = 0;
    if (!parseHexNumber(digits, 8, &number)) {
      return fail("invalid dword " + excerpt(digits) + "; expected 1 to 8 hex digits");
    }
    value->type = kTypeDword;
    value->data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                   static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
    return true;
  }

  bool valueTooLarge() {
    return fail("value is larger than " + std::to_string(kMaxValueBytes) + " bytes");
  }

  // Reads comma-separated hex bytes, following ",\" continuations onto the
  // next lines. An empty list is an empty value.
  bool parseHexList(std::string_view rest, std::vector<uint8_t> *bytes) {
    bytes->clear();
    rest = trim(rest);
    bool expectByte = false;  // after a comma a byte must follow
    for (;;) {
      if (rest == "\\" && (expectByte || bytes->empty())) {
        if (!nextLine(&rest)) {
          return error_.message.empty() ? fail("hex list continues past the end of the file")
                                        : false;
        }
        continue;
      }
      if (rest.empty()) {
        return expectByte ? fail("hex list ends with ','") : true;
      }
      std::size_t end = 0;
      while (end < rest.size() && rest[end] != ',' && !isBlank(rest[end])) ++end;
      uint32_t byte = 0;
      if (!parseHexNumber(rest.substr(0, end), 2, &byte)) {
        return fail("invalid hex byte " + excerpt(rest.substr(0, end)));
      }
      if (bytes->size() == kMaxValueBytes) return valueTooLarge();
      bytes->push_back(static_cast<uint8_t>(byte));
      rest = trimLeft(rest.substr(end));
      if (rest.empty()) return true;
      if (rest.front() != ',') return fail("expected ',' between hex bytes");
      rest = trimLeft(rest.substr(1));
      expectByte = true;
    }
  }

  std::string_view text_;
  Tree &tree_;
  ParseError &error_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
  Key *current_ = nullptr;
};

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

// REG_SZ data that the "text" form holds exactly: printable ASCII and one
// terminating zero.
bool isPlainString(const Value &value) {
  if (value.type != kTypeString || value.data.empty() || value.data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < value.data.size(); ++i) {
    if (value.data[i] < 0x20 || value.data[i] > 0x7E) return false;
  }
  return true;
}

void appendHexList(std::string &out, const std::vector<uint8_t> &data) {
  static const char kDigits[] = "0123456789abcdef";
  std::size_t lineLength = out.size();
  for (std::size_t i = 0; i < data.size(); ++i) {
    out.push_back(kDigits[data[i] >> 4]);
    out.push_back(kDigits[data[i] & 15]);
    lineLength += 2;
    if (i + 1 == data.size()) break;
    out.push_back(',');
    ++lineLength;
    if (lineLength >= kHexLineWidth) {
      out += "\\\n  ";
      lineLength = 2;
    }
  }
}

}  // namespace

bool parseRegistryText(std::string_view text, Tree &tree, ParseError &error) {
  error = ParseError{};
  return Parser(text, tree, error).run();
}

std::string formatValueLine(const Value &value) {
  std::string out = value.name.empty() ? "@" : quoted(value.name);
  out.push_back('=');
  if (isPlainString(value)) {
    std::string_view text(reinterpret_cast<const char *>(value.data.data()),
                          value.data.size() - 1);
    return out + quoted(text);
  }
  if (value.type == kTypeDword && value.data.size() == 4) {
    char digits[16];
    uint32_t number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                      static_cast<uint32_t>(value.data[3]) << 24;
    std::snprintf(digits, sizeof digits, "dword:%08x", number);
    return out + digits;
  }
  if (value.type == kTypeBinary) {
    out += "hex:";
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    out += prefix;
  }
  appendHexList(out, value.data);
  return out;
}

std::string formatRegistryText(const Tree &tree) {
  std::string out(kFileHeader);
  out += "\n";
  for (const Key *key : tree.keysInOrder()) {
    out += "\n[" + key->path + "]\n";
    for (const Value &value : key->values) out += formatValueLine(value) + "\n";
  }
  return out;
}

}  // namespace qstr::regdb
