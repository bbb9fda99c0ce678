#include "convert_forms.h"

#include "charset/version5_items.h"
#include "host/host.h"
#include "qstr14/charset.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"
#include "qstr14/version5.h"
#include "stream_items.h"
#include "text.h"

namespace qstr::cli {
namespace {

constexpr uint16_t kNoMapping = 0xFFFF;

// Unicode control characters that travel as native control codes.
uint16_t nativeOfControl(uint32_t unit) {
  switch (unit) {
    case 0x09: case 0x0A: case 0x0C: case 0x0D: return static_cast<uint16_t>(0xF900 | unit);
    default: return 0;
  }
}

// The native character of a UTF-16 unit; 0 and counted when it has none.
uint16_t nativeOfUnit(char16_t unit, std::size_t &unmapped) {
  if (uint16_t control = nativeOfControl(unit)) return control;
  const uint16_t native = unit == 0 ? kNoMapping : KZcharUnicodeToQX6x(unit);
  if (native == kNoMapping) {
    ++unmapped;
    return 0;
  }
  return native;
}

void appendNative(Natives &out, uint16_t native) {
  if (native != 0) out.push_back(native);
}

// ---- UTF-8 ----
class Utf8Decoder : public Decoder {
 public:
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Natives &out) override {
    pending_.insert(pending_.end(), data, data + size);
    std::size_t pos = 0;
    while (pos < pending_.size()) {
      uint32_t codePoint;
      const int length = decodeUtf8(pending_.data() + pos, pending_.size() - pos, codePoint);
      if (length == 0) break;  // cut by the end of the data so far
      if (length < 0) return FormError{consumed_ + pos, "invalid UTF-8"};
      if (codePoint > 0xFFFF) {
        ++unmapped;  // no native character lies outside the basic plane
      } else {
        appendNative(out, nativeOfUnit(static_cast<char16_t>(codePoint), unmapped));
      }
      pos += static_cast<std::size_t>(length);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(pos));
    consumed_ += pos;
    return std::nullopt;
  }
  std::optional<FormError> finish(Natives &) override {
    if (!pending_.empty()) return FormError{consumed_, "invalid UTF-8 (the input ends inside a character)"};
    return std::nullopt;
  }

 private:
  std::vector<uint8_t> pending_;
  std::size_t consumed_ = 0;
};

class Utf8Encoder : public Encoder {
 public:
  void put(const Natives &natives, std::string &out) override {
    for (uint16_t native : natives) {
      if (native >= 0xF909 && native <= 0xF90D && native != 0xF90B) {
        out += static_cast<char>(native & 0xFF);
        continue;
      }
      if (native >= 0xF900) continue;  // functions and attributes are not text
      const uint16_t unit = KZcharQX6xToUnicode(native);
      if (unit == kNoMapping) ++unmapped;
      appendUtf8(out, unit == kNoMapping ? u'\uFFFD' : unit);
    }
  }
};

// ---- 16-bit little-endian elements (UTF-16LE, native strings) ----
// Pairs bytes into elements across pieces of input; a byte left over at
// the end is an error.
class WordDecoder : public Decoder {
 public:
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Natives &out) final {
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
  std::optional<FormError> finish(Natives &) final {
    if (half_) return FormError{consumed_ - 1, std::string("odd number of bytes for ") + formName()};
    return std::nullopt;
  }

 protected:
  // One element, starting at byte `offset` of the input.
  virtual std::optional<FormError> takeWord(uint16_t word, std::size_t offset, Natives &out) = 0;
  virtual const char *formName() const = 0;

 private:
  std::optional<uint8_t> half_;
  std::size_t consumed_ = 0;
};

void appendWord(std::string &out, uint16_t word) {
  out += static_cast<char>(word & 0xFF);
  out += static_cast<char>(word >> 8);
}

class Utf16Decoder : public WordDecoder {
 protected:
  std::optional<FormError> takeWord(uint16_t unit, std::size_t, Natives &out) override {
    appendNative(out, nativeOfUnit(unit, unmapped));
    return std::nullopt;
  }
  const char *formName() const override { return "UTF-16"; }
};

class Utf16Encoder : public Encoder {
 public:
  void put(const Natives &natives, std::string &out) override {
    for (uint16_t native : natives) {
      uint16_t unit;
      if (native >= 0xF909 && native <= 0xF90D && native != 0xF90B) {
        unit = native & 0xFF;
      } else if (native >= 0xF900) {
        continue;
      } else {
        unit = KZcharQX6xToUnicode(native);
        if (unit == kNoMapping) {
          ++unmapped;
          unit = 0xFFFD;
        }
      }
      appendWord(out, unit);
    }
  }
};

// ---- host bytes through a code page record ----
class BytesDecoder : public Decoder {
 public:
  explicit BytesDecoder(ByteForm form) : form_(form) {}
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Natives &out) override {
    for (std::size_t i = 0; i < size; ++i) {
      uint32_t hostCode = data[i];
      if (lead_) {
        hostCode = static_cast<uint32_t>(*lead_) << 8 | data[i];
        lead_.reset();
      } else if (data[i] >= 0x80 && host::isDbcsLeadByte(data[i])) {
        lead_ = data[i];
        continue;
      }
      if (hostCode == 0) {
        ++unmapped;  // a zero byte has no native character
        continue;
      }
      const uint16_t native = QcvtNtvToQx(form_.record, hostCode);
      if (native == kNoMapping) {
        ++unmapped;
      } else {
        out.push_back(native);
      }
    }
    consumed_ += size;
    return std::nullopt;
  }
  std::optional<FormError> finish(Natives &) override {
    if (lead_) ++unmapped;  // a lead byte with nothing after it
    return std::nullopt;
  }

 private:
  ByteForm form_;
  std::optional<uint8_t> lead_;
  std::size_t consumed_ = 0;
};

class BytesEncoder : public Encoder {
 public:
  explicit BytesEncoder(ByteForm form) : form_(form) {}
  void put(const Natives &natives, std::string &out) override {
    for (uint16_t native : natives) {
      const uint16_t code = QcvtQxToNtv(form_.record, native);
      if (code == kNoMapping && native >= 0xF900) continue;  // functions and attributes are not text
      if (code == kNoMapping) {
        ++unmapped;
        out += '?';
      } else {
        if (code > 0xFF) out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
      }
    }
  }

 private:
  ByteForm form_;
};

// ---- native strings: 16-bit little-endian elements ----
class NativeDecoder : public WordDecoder {
 protected:
  std::optional<FormError> takeWord(uint16_t element, std::size_t offset, Natives &out) override {
    if (element == 0) return FormError{offset, "a zero element inside a native string"};
    out.push_back(element);
    return std::nullopt;
  }
  const char *formName() const override { return "a native string"; }
};

class NativeEncoder : public Encoder {
 public:
  void put(const Natives &natives, std::string &out) override {
    for (uint16_t native : natives) appendWord(out, native);
  }
};

// ---- document streams ----
constexpr uint8_t kLineBreakFunction = 0xCC;
constexpr uint8_t kParagraphFunction = 0xCF;

class StreamDecoder : public Decoder {
 public:
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Natives &out) override {
    pending_.insert(pending_.end(), data, data + size);
    std::size_t pos = 0;
    while (pos < pending_.size()) {
      if (ended_) return FormError{consumed_ + pos, "data after the stream's terminating zero byte"};
      StreamItem item;
      std::string why;
      const ItemStatus status = readStreamItem(pending_.data() + pos, pending_.size() - pos, item, why);
      if (status == ItemStatus::NeedMore) break;
      if (status == ItemStatus::Malformed) return FormError{consumed_ + pos, "malformed document stream: " + why};
      addItem(pending_.data() + pos, item, out);
      pos += item.length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(pos));
    consumed_ += pos;
    return std::nullopt;
  }
  std::optional<FormError> finish(Natives &) override {
    if (!pending_.empty()) return FormError{consumed_, "malformed document stream: the last item is incomplete"};
    return std::nullopt;
  }

 private:
  void addItem(const uint8_t *bytes, const StreamItem &item, Natives &out) {
    switch (item.kind) {
      case ItemKind::Terminator: ended_ = true; break;
      case ItemKind::Character: out.push_back(bytes[0]); break;
      case ItemKind::CharacterGroup: out.push_back(static_cast<uint16_t>(bytes[1] | bytes[2] << 8)); break;
      case ItemKind::Function:
        if (bytes[0] == kLineBreakFunction) out.push_back(0xF90A);
        if (bytes[0] == kParagraphFunction) out.push_back(0xF90D);
        if (bytes[0] == 0x80) out.push_back(0x0020);
        break;
      case ItemKind::FixedGroup:
        if ((bytes[0] == 0xF2 || bytes[0] == 0xF3) && bytes[1] < 16) {
          out.push_back(static_cast<uint16_t>(0xFE00 + 2 * bytes[1] + (bytes[0] == 0xF3 ? 1 : 0)));
        }
        break;
      default: break;  // other functions carry no text
    }
  }

  std::vector<uint8_t> pending_;
  std::size_t consumed_ = 0;
  bool ended_ = false;
};

class StreamEncoder : public Encoder {
 public:
  void put(const Natives &natives, std::string &out) override {
    for (uint16_t native : natives) {
      if (native == 0xF90A || native == 0xF90C) {
        out += static_cast<char>(kLineBreakFunction);
      } else if (native == 0xF90D) {
        out += static_cast<char>(kParagraphFunction);
      } else if (native == 0xF909) {
        out += '\t';
      } else if (native >= 0xFE00 && native <= 0xFE1F) {
        const char code = static_cast<char>(native & 1 ? 0xF3 : 0xF2);
        out += code;
        out += static_cast<char>((native - 0xFE00) / 2);
        out += code;
      } else if (native >= 0xF900) {
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
};

// ---- the text form (output only) ----
class TextFormEncoder : public Encoder {
 public:
  void put(const Natives &natives, std::string &out) override {
    // The text form functions count sizes in 16 bits: convert in slices
    // whose output (at most 3 bytes a character) stays far below that.
    constexpr std::size_t kSlice = 8192;
    constexpr uint32_t kKeepEverything = 0x27;  // attributes, line breaks, tabs
    for (std::size_t start = 0; start < natives.size(); start += kSlice) {
      Natives slice(natives.begin() + static_cast<long>(start),
                    natives.begin() + static_cast<long>(std::min(natives.size(), start + kSlice)));
      for (uint16_t native : slice) {
        if (native < 0xF900 && !ValidQxCharacter(native)) ++unmapped;
      }
      slice.push_back(0);
      std::string buffer(3 * slice.size() + 1, '\0');
      const uint16_t written = Q6wzTotz(slice.data(), reinterpret_cast<uint8_t *>(buffer.data()),
                                        static_cast<uint32_t>(buffer.size()), kKeepEverything);
      out.append(buffer.data(), written);
    }
  }
};

// ---- version-5 streams ----
// The library's version-5 functions take no source length and trust item
// lengths: the whole input is checked first, then converted in slices of
// whole items whose output fits their 16-bit sizes, then renumbered.
class Version5Decoder : public Decoder {
 public:
  explicit Version5Decoder(FormKind kind) : kind_(kind) {}
  std::optional<FormError> feed(const uint8_t *data, std::size_t size, Natives &) override {
    input_.insert(input_.end(), data, data + size);
    return std::nullopt;
  }
  std::optional<FormError> finish(Natives &out) override {
    namespace v5 = charset::version5;
    const bool doubleByte = kind_ != FormKind::Version5Stream || host::dbcsEnabled() != 0;
    const auto incomplete = v5::firstIncompleteVersion5Item(input_.data(), input_.size(), doubleByte);
    if (incomplete && *incomplete < input_.size()) {
      return FormError{*incomplete, "incomplete or unclosed version-5 item"};
    }
    if (incomplete) input_.push_back(0);  // the items end without a terminator
    std::size_t pos = 0;
    while (input_[pos] != 0) {
      const std::size_t start = pos;
      std::size_t items = 0;
      while (input_[pos] != 0 && items < kItemsPerSlice) {
        pos += v5::readVersion5Item(input_.data() + pos, input_.size() - pos, doubleByte).length;
        ++items;
      }
      convertSlice(start, pos, items, out);
    }
    return std::nullopt;
  }

 private:
  static constexpr std::size_t kItemsPerSlice = 16000;  // at most one element each

  void convertSlice(std::size_t start, std::size_t end, std::size_t items, Natives &out) {
    std::vector<uint8_t> slice(input_.begin() + static_cast<long>(start), input_.begin() + static_cast<long>(end));
    slice.push_back(0);
    std::vector<uint16_t> elements(items + 1, 0);
    const uint32_t bytes = static_cast<uint32_t>(elements.size() * 2);
    if (kind_ == FormKind::Version5Stream) {
      Q5dzTowz(slice.data(), elements.data(), bytes);
    } else {
      lQ5CdzTowz(slice.data(), elements.data(), bytes, kind_ == FormKind::Version5Big5 ? 0x83 : 0);
    }
    for (const uint16_t *e = elements.data(); *e != 0; ++e) {
      if (*e >= 0xF900) {
        out.push_back(*e);
        continue;
      }
      uint16_t first = 0, second = 0;
      const uint16_t produced = QtpiQX5toQX6(*e, &first, &second);
      out.push_back(first);
      if (produced == 2) out.push_back(second);
    }
  }

  FormKind kind_;
  std::vector<uint8_t> input_;
};

class Version5Encoder : public Encoder {
 public:
  void put(const Natives &natives, std::string &out) override {
    Natives old;
    old.reserve(natives.size());
    for (uint16_t native : natives) {
      if (native >= 0xF900) continue;  // the previous format's stream holds no such elements
      const uint16_t converted = QtpiQX6toQX5(native);
      if (converted == kNoMapping) {
        ++unmapped;
      } else {
        old.push_back(converted);
      }
    }
    // Slices whose output (at most 4 bytes a character) fits a 16-bit size.
    constexpr std::size_t kSlice = 16000;
    for (std::size_t start = 0; start < old.size(); start += kSlice) {
      Natives slice(old.begin() + static_cast<long>(start),
                    old.begin() + static_cast<long>(std::min(old.size(), start + kSlice)));
      slice.push_back(0);
      std::vector<uint8_t> buffer(4 * slice.size() + 1, 0);
      QwzTo5dz(slice.data(), buffer.data(), static_cast<uint32_t>(buffer.size()));
      out.append(reinterpret_cast<const char *>(buffer.data()));
    }
  }
  void finish(std::string &out) override { out += '\0'; }
};

}  // namespace

std::unique_ptr<Decoder> makeDecoder(const Form &form) {
  switch (form.kind) {
    case FormKind::Utf8: return std::make_unique<Utf8Decoder>();
    case FormKind::Utf16le: return std::make_unique<Utf16Decoder>();
    case FormKind::Bytes: return std::make_unique<BytesDecoder>(form.bytes);
    case FormKind::Native: return std::make_unique<NativeDecoder>();
    case FormKind::DocumentStream: return std::make_unique<StreamDecoder>();
    case FormKind::TextForm: return nullptr;  // cannot be read back unambiguously
    case FormKind::Version5Stream:
    case FormKind::Version5Big5:
    case FormKind::Version5Gb: return std::make_unique<Version5Decoder>(form.kind);
  }
  return nullptr;
}

std::unique_ptr<Encoder> makeEncoder(const Form &form) {
  switch (form.kind) {
    case FormKind::Utf8: return std::make_unique<Utf8Encoder>();
    case FormKind::Utf16le: return std::make_unique<Utf16Encoder>();
    case FormKind::Bytes: return std::make_unique<BytesEncoder>(form.bytes);
    case FormKind::Native: return std::make_unique<NativeEncoder>();
    case FormKind::DocumentStream: return std::make_unique<StreamEncoder>();
    case FormKind::TextForm: return std::make_unique<TextFormEncoder>();
    case FormKind::Version5Stream: return std::make_unique<Version5Encoder>();
    case FormKind::Version5Big5:
    case FormKind::Version5Gb: return nullptr;  // the library writes only the single form
  }
  return nullptr;
}

}  // namespace qstr::cli
