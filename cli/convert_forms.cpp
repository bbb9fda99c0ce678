#include "convert_forms.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "qstr14/charset.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "qstr14/version5.h"
#include "text.h"
#include "tool_support.h"

namespace qstr::cli {

void Changes::add(const Position &where, std::string character, std::string outcome) {
  ++count_;
  if (listed_.size() < kListed) listed_.push_back({where, std::move(character), std::move(outcome)});
}

namespace {

using ItemKind = tool::StreamItemKind;
using tool::ItemStatus;
using tool::StreamItem;
using tool::readStreamItem;
using base::kNoMapping;
using charset::kFirstNativeFunction;
using charset::kNativeFormFeed;
using charset::kNativeLineFeed;
using charset::kNativeParagraph;
using charset::kNativeTab;
constexpr uint32_t kByteOrderMark = 0xFEFF;

bool isNativeControl(uint32_t native) {
  return native == kNativeTab || native == kNativeLineFeed || native == kNativeFormFeed || native == kNativeParagraph;
}

// The native character of a code point, or kNoMapping. The control
// characters that the native model keeps travel as its control codes.
uint16_t nativeOfCodePoint(uint32_t codePoint) {
  if (codePoint == 0x09 || codePoint == 0x0A || codePoint == 0x0C || codePoint == 0x0D) {
    return static_cast<uint16_t>(kFirstNativeFunction | codePoint);
  }
  if (codePoint == 0 || codePoint > 0xFFFF) return kNoMapping;  // no native character outside the basic plane
  return KZcharUnicodeToQX6x(codePoint);
}

// The code point of a native character; nullopt for functions, attributes
// and characters without one.
std::optional<uint32_t> unicodeOfNative(uint32_t native) {
  if (isNativeControl(native)) return native & 0xFF;
  if (native >= kFirstNativeFunction) return std::nullopt;
  const uint16_t unit = KZcharQX6xToUnicode(native);
  if (unit == kNoMapping) return std::nullopt;
  return unit;
}

std::string hexText(const char *format, uint32_t value) {
  char text[40];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
  return text;
}

// A native character in messages: its Unicode value and name, or its
// native value when it has no Unicode value.
std::string describeNative(uint32_t native) {
  if (auto codePoint = unicodeOfNative(native)) return describeCharacter(*codePoint);
  return hexText("native character 0x%04X", native);
}

// Lines and columns of a text input: the position of each character as it
// is taken.
class TextCursor {
 public:
  Position peek(std::uint64_t offset) const { return {offset, line_, column_}; }
  Position take(std::uint64_t offset, bool lineFeed) {
    const Position here = peek(offset);
    if (lineFeed) {
      ++line_;
      column_ = 1;
    } else {
      ++column_;
    }
    return here;
  }

 private:
  std::uint64_t line_ = 1;
  std::uint64_t column_ = 1;
};

// Where the code points of a Unicode input go: themselves when both ends
// are Unicode, else their native characters, with those that have none
// dropped and recorded. A byte order mark at the start of the input is
// noted and not passed on.
class CodePointSink {
 public:
  CodePointSink(bool unicode, Changes &changes, bool &sawByteOrderMark)
      : unicode_(unicode), changes_(changes), sawByteOrderMark_(sawByteOrderMark) {}

  Position here(std::uint64_t offset) const { return cursor_.peek(offset); }

  void take(uint32_t codePoint, std::uint64_t offset, Elements &out) {
    if (offset == 0 && codePoint == kByteOrderMark) {
      sawByteOrderMark_ = true;
      return;
    }
    const Position where = cursor_.take(offset, codePoint == 0x0A);
    if (unicode_) {
      out.push_back({codePoint, where});
      return;
    }
    const uint16_t native = nativeOfCodePoint(codePoint);
    if (native == kNoMapping) {
      changes_.add(where, describeCharacter(codePoint), "dropped (no native character)");
    } else {
      out.push_back({native, where});
    }
  }

 private:
  bool unicode_;
  Changes &changes_;
  bool &sawByteOrderMark_;
  TextCursor cursor_;
};

// ---- UTF-8 ----
class Utf8Decoder : public Decoder {
 public:
  Utf8Decoder(bool unicode, Changes &changes) : sink_(unicode, changes, sawByteOrderMark) {}
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Elements &out) override {
    pending_.insert(pending_.end(), data, data + size);
    std::size_t pos = 0;
    while (pos < pending_.size()) {
      uint32_t codePoint;
      const int length = decodeUtf8(pending_.data() + pos, pending_.size() - pos, codePoint);
      if (length == 0) break;  // cut by the end of the data so far
      if (length < 0) return FormError{sink_.here(consumed_ + pos), "invalid UTF-8"};
      sink_.take(codePoint, consumed_ + pos, out);
      pos += static_cast<std::size_t>(length);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(pos));
    consumed_ += pos;
    return std::nullopt;
  }
  std::optional<FormError> finish(Elements &) override {
    if (!pending_.empty()) return FormError{sink_.here(consumed_), "invalid UTF-8 (the input ends inside a character)"};
    return std::nullopt;
  }

 private:
  CodePointSink sink_;
  std::vector<uint8_t> pending_;
  std::uint64_t consumed_ = 0;
};

class Utf8Encoder : public Encoder {
 public:
  Utf8Encoder(bool unicode, Changes &changes) : unicode_(unicode), changes_(changes) {}
  void put(const Elements &elements, std::string &out) override {
    for (const Element &element : elements) {
      if (unicode_) {
        appendUtf8CodePoint(out, element.value);
        continue;
      }
      if (element.value >= kFirstNativeFunction && !isNativeControl(element.value)) continue;  // not text
      const auto codePoint = unicodeOfNative(element.value);
      if (!codePoint) changes_.add(element.where, describeNative(element.value), "became U+FFFD (no Unicode character)");
      appendUtf8CodePoint(out, codePoint.value_or(0xFFFD));
    }
  }

 private:
  bool unicode_;
  Changes &changes_;
};

// ---- 16-bit little-endian elements (UTF-16LE, native strings) ----
// Pairs bytes into elements across pieces of input; a byte left over at
// the end is an error.
class WordDecoder : public Decoder {
 public:
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Elements &out) final {
    for (std::size_t i = 0; i < size; ++i) {
      if (!half_) {
        half_ = data[i];
        continue;
      }
      const uint16_t word = static_cast<uint16_t>(*half_ | data[i] << 8);
      half_.reset();
      if (auto error = takeWord(word, consumed_ + i - 1, out)) return error;
    }
    consumed_ += size;
    return std::nullopt;
  }
  std::optional<FormError> finish(Elements &) final {
    if (half_) return FormError{positionOf(consumed_ - 1), std::string("odd number of bytes for ") + formName()};
    return finishWords();
  }

 protected:
  // One element, starting at byte `offset` of the input.
  virtual std::optional<FormError> takeWord(uint16_t word, std::uint64_t offset, Elements &out) = 0;
  virtual std::optional<FormError> finishWords() { return std::nullopt; }
  virtual Position positionOf(std::uint64_t offset) const { return {offset}; }
  virtual const char *formName() const = 0;

 private:
  std::optional<uint8_t> half_;
  std::uint64_t consumed_ = 0;
};

void appendWord(std::string &out, uint32_t word) {
  out += static_cast<char>(word & 0xFF);
  out += static_cast<char>(word >> 8 & 0xFF);
}

class Utf16Decoder : public WordDecoder {
 public:
  Utf16Decoder(bool unicode, Changes &changes) : sink_(unicode, changes, sawByteOrderMark) {}

 protected:
  std::optional<FormError> takeWord(uint16_t unit, std::uint64_t offset, Elements &out) override {
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high_) {
      if (!low) return FormError{sink_.here(highOffset_), "invalid UTF-16 (a high surrogate without its low one)"};
      sink_.take(0x10000 + ((*high_ - 0xD800u) << 10) + (unit - 0xDC00u), highOffset_, out);
      high_.reset();
      return std::nullopt;
    }
    if (low) return FormError{sink_.here(offset), "invalid UTF-16 (a low surrogate without its high one)"};
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      high_ = unit;
      highOffset_ = offset;
      return std::nullopt;
    }
    sink_.take(unit, offset, out);
    return std::nullopt;
  }
  std::optional<FormError> finishWords() override {
    if (high_) return FormError{sink_.here(highOffset_), "invalid UTF-16 (a high surrogate without its low one)"};
    return std::nullopt;
  }
  Position positionOf(std::uint64_t offset) const override { return sink_.here(offset); }
  const char *formName() const override { return "UTF-16"; }

 private:
  CodePointSink sink_;
  std::optional<uint16_t> high_;
  std::uint64_t highOffset_ = 0;
};

class Utf16Encoder : public Encoder {
 public:
  Utf16Encoder(bool unicode, Changes &changes) : unicode_(unicode), changes_(changes) {}
  void put(const Elements &elements, std::string &out) override {
    for (const Element &element : elements) {
      std::optional<uint32_t> codePoint = element.value;
      if (!unicode_) {
        if (element.value >= kFirstNativeFunction && !isNativeControl(element.value)) continue;  // not text
        codePoint = unicodeOfNative(element.value);
        if (!codePoint) changes_.add(element.where, describeNative(element.value), "became U+FFFD (no Unicode character)");
      }
      const uint32_t value = codePoint.value_or(0xFFFD);
      if (value < 0x10000) {
        appendWord(out, value);
      } else {
        appendWord(out, 0xD800 | (value - 0x10000) >> 10);
        appendWord(out, 0xDC00 | (value & 0x3FF));
      }
    }
  }

 private:
  bool unicode_;
  Changes &changes_;
};

// ---- host bytes through a code page record ----

// The bytes that open a double-byte character as the library sees them:
// a lead byte of the ANSI code page on a system with double-byte support.
// QMBStrTrunc never cuts such a byte from its trail byte, so cutting a
// lead byte and one more byte to one byte keeps nothing.
std::array<bool, 256> leadBytes() {
  std::array<bool, 256> lead{};
  for (unsigned byte = 0x80; byte < 0x100; ++byte) {
    char probe[3] = {static_cast<char>(byte), 'A', '\0'};
    lead[byte] = QMBStrTrunc(probe, 1) == 0;
  }
  return lead;
}

std::string hostCodeText(uint32_t hostCode) {
  return hostCode > 0xFF ? hexText("bytes 0x%02X", hostCode >> 8) + hexText(" 0x%02X", hostCode & 0xFF)
                         : hexText("byte 0x%02X", hostCode);
}

class BytesDecoder : public Decoder {
 public:
  BytesDecoder(ByteForm form, Changes &changes) : form_(form), changes_(changes), leadBytes_(leadBytes()) {}
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Elements &out) override {
    for (std::size_t i = 0; i < size; ++i) {
      const std::uint64_t offset = consumed_ + i;
      uint32_t hostCode = data[i];
      std::uint64_t start = offset;
      if (lead_) {
        hostCode = static_cast<uint32_t>(*lead_) << 8 | data[i];
        start = leadOffset_;
        lead_.reset();
      } else if (leadBytes_[data[i]]) {
        lead_ = data[i];
        leadOffset_ = offset;
        continue;
      }
      const Position where = cursor_.take(start, hostCode == 0x0A);
      // A zero byte is U+0000, which has no native character.
      const uint16_t native = hostCode == 0 ? kNoMapping : QcvtNtvToQx(form_.record, hostCode);
      if (native == kNoMapping) {
        changes_.add(where, hostCode == 0 ? describeCharacter(0) : hostCodeText(hostCode), "dropped (no native character)");
      } else {
        out.push_back({native, where});
      }
    }
    consumed_ += size;
    return std::nullopt;
  }
  std::optional<FormError> finish(Elements &) override {
    if (lead_) changes_.add(cursor_.take(leadOffset_, false), hostCodeText(*lead_), "dropped (a lead byte at the end of the input)");
    return std::nullopt;
  }

 private:
  ByteForm form_;
  Changes &changes_;
  std::array<bool, 256> leadBytes_;
  TextCursor cursor_;
  std::optional<uint8_t> lead_;
  std::uint64_t leadOffset_ = 0;
  std::uint64_t consumed_ = 0;
};

class BytesEncoder : public Encoder {
 public:
  BytesEncoder(ByteForm form, Changes &changes)
      : form_(form), changes_(changes),
        outcome_("became '?' (not in code page " + std::to_string(form.record->fromQxCodepage) + ")") {}
  void put(const Elements &elements, std::string &out) override {
    for (const Element &element : elements) {
      const uint16_t code = QcvtQxToNtv(form_.record, element.value);
      if (code == kNoMapping && element.value >= kFirstNativeFunction) continue;  // functions and attributes are not text
      if (code == kNoMapping) {
        changes_.add(element.where, describeNative(element.value), outcome_);
        out += '?';
      } else {
        if (code > 0xFF) out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
      }
    }
  }

 private:
  ByteForm form_;
  Changes &changes_;
  std::string outcome_;
};

// ---- native strings: 16-bit little-endian elements ----
class NativeDecoder : public WordDecoder {
 protected:
  std::optional<FormError> takeWord(uint16_t element, std::uint64_t offset, Elements &out) override {
    if (element == 0) return FormError{{offset}, "a zero element inside a native string"};
    out.push_back({element, {offset}});
    return std::nullopt;
  }
  const char *formName() const override { return "a native string"; }
};

class NativeEncoder : public Encoder {
 public:
  void put(const Elements &elements, std::string &out) override {
    for (const Element &element : elements) appendWord(out, element.value);
  }
};

// ---- document streams ----
// A stream holds a line end as its line break function and a paragraph end
// as its paragraph function; a form feed is stored as a line break too and
// so reads back as a line end. The space function is the word processor's
// space and reads as U+0020. Other functions and groups are formatting, not
// text: they are passed over.
using charset::kStreamLineBreak;
using charset::kStreamParagraph;
using charset::kStreamSpace;

class StreamDecoder : public Decoder {
 public:
  explicit StreamDecoder(Changes &changes) : changes_(changes) {}
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Elements &out) override {
    pending_.insert(pending_.end(), data, data + size);
    std::size_t pos = 0;
    while (pos < pending_.size()) {
      if (ended_) return FormError{{consumed_ + pos}, "data after the stream's terminating zero byte"};
      StreamItem item;
      std::string why;
      const ItemStatus status = readStreamItem(pending_.data() + pos, pending_.size() - pos, item, why);
      if (status == ItemStatus::NeedMore) break;
      if (status == ItemStatus::Malformed) return FormError{{consumed_ + pos}, "malformed document stream: " + why};
      addItem(pending_.data() + pos, item, {consumed_ + pos}, out);
      pos += item.length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(pos));
    consumed_ += pos;
    return std::nullopt;
  }
  std::optional<FormError> finish(Elements &) override {
    if (!pending_.empty()) return FormError{{consumed_}, "malformed document stream: the last item is incomplete"};
    return std::nullopt;
  }

 private:
  void addItem(const uint8_t *bytes, const StreamItem &item, const Position &where, Elements &out) {
    switch (item.kind) {
      case ItemKind::Terminator: ended_ = true; break;
      case ItemKind::Character: out.push_back({bytes[0], where}); break;
      case ItemKind::CharacterGroup: out.push_back({static_cast<uint32_t>(bytes[1] | bytes[2] << 8), where}); break;
      case ItemKind::Function:
        if (bytes[0] == kStreamLineBreak) out.push_back({kNativeLineFeed, where});
        if (bytes[0] == kStreamParagraph) out.push_back({kNativeParagraph, where});
        if (bytes[0] == kStreamSpace) {
          changes_.add(where, "function 0x80", "became U+0020 SPACE (the stream's space function reads as a space)");
          out.push_back({0x0020, where});
        }
        break;
      case ItemKind::FixedGroup:
        if ((bytes[0] == 0xF2 || bytes[0] == 0xF3) && bytes[1] < 16) {
          out.push_back({static_cast<uint32_t>(charset::kFirstNativeAttribute + 2 * bytes[1] + (bytes[0] == charset::kAttributeOffGroup ? 1 : 0)), where});
        }
        break;
      default: break;  // other functions carry no text
    }
  }

  Changes &changes_;
  std::vector<uint8_t> pending_;
  std::uint64_t consumed_ = 0;
  bool ended_ = false;
};

class StreamEncoder : public Encoder {
 public:
  explicit StreamEncoder(Changes &changes) : changes_(changes) {}
  void put(const Elements &elements, std::string &out) override {
    for (const Element &element : elements) {
      const uint32_t native = element.value;
      if (native == kNativeLineFeed) {
        out += static_cast<char>(kStreamLineBreak);
      } else if (native == kNativeFormFeed) {
        changes_.add(element.where, describeCharacter(0x0C), "became U+000A (a page break reads back as a line end)");
        out += static_cast<char>(kStreamLineBreak);
      } else if (native == kNativeParagraph) {
        out += static_cast<char>(kStreamParagraph);
      } else if (native == kNativeTab) {
        out += '\t';
      } else if (charset::isNativeAttribute(native)) {
        const char code = static_cast<char>(native & 1 ? 0xF3 : 0xF2);
        out += code;
        out += static_cast<char>((native - charset::kFirstNativeAttribute) / 2);
        out += code;
      } else if (native >= kFirstNativeFunction) {
        continue;
      } else if (native < 0x80) {
        out += static_cast<char>(native);
      } else {
        out += '\xF0';
        out += static_cast<char>(native & 0xFF);
        out += static_cast<char>(native >> 8);
        out += '\xF0';
      }
    }
  }
  void finish(std::string &out) override { out += '\0'; }

 private:
  Changes &changes_;
};

// ---- the text form (output only) ----
// Its one line end is 0x0D: a line feed and a carriage return each become
// one; a form feed has no place in it and is dropped.
class TextFormEncoder : public Encoder {
 public:
  explicit TextFormEncoder(Changes &changes) : changes_(changes) {}
  void put(const Elements &elements, std::string &out) override {
    // The text form functions count sizes in 16 bits: convert in slices
    // whose output (at most 3 bytes a character) stays far below that.
    constexpr std::size_t kSlice = 8192;
    constexpr uint32_t kKeepEverything = 0x27;  // attributes, line breaks, tabs
    std::vector<uint16_t> slice;
    for (std::size_t start = 0; start < elements.size(); start += kSlice) {
      slice.clear();
      for (std::size_t i = start; i < std::min(elements.size(), start + kSlice); ++i) {
        const uint32_t native = elements[i].value;
        if (native < kFirstNativeFunction && !ValidQxCharacter(native)) {
          changes_.add(elements[i].where, describeNative(native), "dropped (not a valid native character)");
        } else if (native == kNativeFormFeed) {
          changes_.add(elements[i].where, describeCharacter(0x0C), "dropped (the text form has no page break)");
        }
        slice.push_back(static_cast<uint16_t>(native));
      }
      slice.push_back(0);
      std::string buffer(3 * slice.size() + 1, '\0');
      const uint16_t written = Q6wzTotz(slice.data(), reinterpret_cast<uint8_t *>(buffer.data()),
                                        static_cast<uint32_t>(buffer.size()), kKeepEverything);
      out.append(buffer.data(), written);
    }
  }

 private:
  Changes &changes_;
};

// ---- version-5 streams ----

// Whether Q5dzTowz reads the double-byte form now (it follows the system's
// double-byte support): as a pair, "!A" is one character, else two.
bool version5ReadsDoubleByte() {
  const uint8_t probe[] = {0x21, 0x41, 0};
  uint16_t elements[4] = {};
  Q5dzTowz(probe, elements, sizeof elements);
  return elements[1] == 0;
}

// The library's version-5 functions take no source length and trust item
// lengths: the whole input is checked first, then each item that holds a
// character, attribute or line break is converted on its own (functions
// carry no text), so that every element keeps the offset of its item.
class Version5Decoder : public Decoder {
 public:
  explicit Version5Decoder(FormKind kind) : kind_(kind) {}
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Elements &) override {
    input_.insert(input_.end(), data, data + size);
    return std::nullopt;
  }
  std::optional<FormError> finish(Elements &out) override {
    const bool doubleByte = kind_ != FormKind::Version5Stream || version5ReadsDoubleByte();
    const auto incomplete = tool::firstIncompleteVersion5Item(input_.data(), input_.size(), doubleByte);
    if (incomplete && *incomplete < input_.size()) {
      return FormError{{*incomplete}, "incomplete or unclosed version-5 item"};
    }
    if (incomplete) input_.push_back(0);  // the items end without a terminator
    for (std::size_t pos = 0; input_[pos] != 0;) {
      const tool::Version5Item item = tool::version5ItemAt(input_.data() + pos, input_.size() - pos, doubleByte);
      if (!item.function) convertItem(pos, item.length, out);
      pos += item.length;
    }
    return std::nullopt;
  }

 private:
  void convertItem(std::size_t offset, std::size_t length, Elements &out) {
    uint8_t item[8] = {};  // a text item is at most 4 bytes; a terminator follows
    std::copy_n(input_.begin() + static_cast<long>(offset), std::min<std::size_t>(length, 4), item);
    uint16_t elements[4] = {};
    if (kind_ == FormKind::Version5Stream) {
      Q5dzTowz(item, elements, sizeof elements);
    } else {
      lQ5CdzTowz(item, elements, sizeof elements, kind_ == FormKind::Version5Big5 ? 0x83 : 0);
    }
    const Position where{offset};
    for (const uint16_t *e = elements; *e != 0; ++e) {
      if (*e >= kFirstNativeFunction) {
        out.push_back({*e, where});
        continue;
      }
      uint16_t first = 0, second = 0;
      const uint16_t produced = QtpiQX5toQX6(*e, &first, &second);
      out.push_back({first, where});
      if (produced == 2) out.push_back({second, where});
    }
  }

  FormKind kind_;
  std::vector<uint8_t> input_;
};

class Version5Encoder : public Encoder {
 public:
  explicit Version5Encoder(Changes &changes) : changes_(changes) {}
  void put(const Elements &elements, std::string &out) override {
    std::vector<uint16_t> old;
    old.reserve(elements.size());
    for (const Element &element : elements) {
      const uint32_t native = element.value;
      if (native == kNativeLineFeed || native == kNativeFormFeed || native == kNativeParagraph) {
        old.push_back(static_cast<uint16_t>(native & 0xFF));  // written as the byte, which reads back as the same code
      } else if (native == kNativeTab) {
        changes_.add(element.where, describeCharacter(0x09), "dropped (v5dz holds no tab)");
      } else if (native >= kFirstNativeFunction) {
        continue;  // attributes and functions are not text
      } else if (const uint16_t converted = QtpiQX6toQX5(native); converted == kNoMapping) {
        changes_.add(element.where, describeNative(native), "dropped (no version-5 character)");
      } else {
        old.push_back(converted);
      }
    }
    // Slices whose output (at most 4 bytes a character) fits a 16-bit size.
    constexpr std::size_t kSlice = 16000;
    for (std::size_t start = 0; start < old.size(); start += kSlice) {
      std::vector<uint16_t> slice(old.begin() + static_cast<long>(start),
                                  old.begin() + static_cast<long>(std::min(old.size(), start + kSlice)));
      slice.push_back(0);
      std::vector<uint8_t> buffer(4 * slice.size() + 1, 0);
      QwzTo5dz(slice.data(), buffer.data(), static_cast<uint32_t>(buffer.size()));
      out.append(reinterpret_cast<const char *>(buffer.data()));
    }
  }
  void finish(std::string &out) override { out += '\0'; }

 private:
  Changes &changes_;
};

}  // namespace

bool isUnicode(const Form &form) { return form.kind == FormKind::Utf8 || form.kind == FormKind::Utf16le; }

bool isTextInput(const Form &form) { return isUnicode(form) || form.kind == FormKind::Bytes; }

std::string byteOrderMark(const Form &form) {
  if (form.kind == FormKind::Utf8) return "\xEF\xBB\xBF";
  if (form.kind == FormKind::Utf16le) return "\xFF\xFE";
  return "";
}

std::unique_ptr<Decoder> makeDecoder(const Form &form, bool unicode, Changes &changes) {
  switch (form.kind) {
    case FormKind::Utf8: return std::make_unique<Utf8Decoder>(unicode, changes);
    case FormKind::Utf16le: return std::make_unique<Utf16Decoder>(unicode, changes);
    case FormKind::Bytes: return std::make_unique<BytesDecoder>(form.bytes, changes);
    case FormKind::Native: return std::make_unique<NativeDecoder>();
    case FormKind::DocumentStream: return std::make_unique<StreamDecoder>(changes);
    case FormKind::TextForm: return nullptr;  // cannot be read back unambiguously
    case FormKind::Version5Stream:
    case FormKind::Version5Big5:
    case FormKind::Version5Gb: return std::make_unique<Version5Decoder>(form.kind);
  }
  return nullptr;
}

std::unique_ptr<Encoder> makeEncoder(const Form &form, bool unicode, Changes &changes) {
  switch (form.kind) {
    case FormKind::Utf8: return std::make_unique<Utf8Encoder>(unicode, changes);
    case FormKind::Utf16le: return std::make_unique<Utf16Encoder>(unicode, changes);
    case FormKind::Bytes: return std::make_unique<BytesEncoder>(form.bytes, changes);
    case FormKind::Native: return std::make_unique<NativeEncoder>();
    case FormKind::DocumentStream: return std::make_unique<StreamEncoder>(changes);
    case FormKind::TextForm: return std::make_unique<TextFormEncoder>(changes);
    case FormKind::Version5Stream: return std::make_unique<Version5Encoder>(changes);
    case FormKind::Version5Big5:
    case FormKind::Version5Gb: return nullptr;  // the library writes only the single form
  }
  return nullptr;
}

}  // namespace qstr::cli
