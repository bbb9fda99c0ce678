// The text forms `qstr convert` reads and writes, as decoders and encoders.
// Native characters are the hub: a conversion decodes its input into them
// and encodes them again; only when both ends are Unicode (utf8, utf16le)
// do code points pass straight from one to the other, so that nothing
// outside the native character set is lost.
//
// Line breaks travel as the native control codes 0xF909 (tab), 0xF90A
// (line feed), 0xF90C (form feed) and 0xF90D (carriage return), as the
// library's byte conversions produce them.
//
// Every character that does not arrive as itself (dropped, replaced, or
// mapped to another by a form that cannot hold it) is recorded in Changes
// with the place in the input where it stood.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qstr14/codepage.h"

namespace qstr::cli {

// Where something is in the input: the byte offset (from 0) in every form,
// and in text forms (UTF-8, UTF-16, code page bytes) the line (counted by
// LF) and column in characters, both from 1.
struct Position {
  std::uint64_t offset = 0;
  std::uint64_t line = 0;
  std::uint64_t column = 0;
};

// One element on its way from the decoder to the encoder: a native
// character, or a code point when both ends are Unicode; and where it
// started in the input.
struct Element {
  std::uint32_t value;
  Position where;
};
using Elements = std::vector<Element>;

// An input error: what is wrong and where.
struct FormError {
  Position where;
  std::string message;
};

// One change to the text: the character ("U+00E9 LATIN SMALL LETTER E WITH
// ACUTE", "byte 0x81") and what became of it ("dropped (...)", "became '?'
// (...)").
struct Change {
  Position where;
  std::string character;
  std::string outcome;
};

// The changes of one conversion: all counted, the first few kept.
class Changes {
 public:
  static constexpr std::size_t kListed = 5;
  void add(const Position &where, std::string character, std::string outcome);
  std::uint64_t count() const { return count_; }
  const std::vector<Change> &listed() const { return listed_; }

 private:
  std::uint64_t count_ = 0;
  std::vector<Change> listed_;
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Decodes `size` more bytes of input, appending elements to `out`. A
  // sequence cut by the end of `data` is kept for the next call.
  virtual std::optional<FormError> feed(const uint8_t *data, std::size_t size, Elements &out) = 0;
  // The input has ended: a sequence still incomplete is an error.
  virtual std::optional<FormError> finish(Elements &out) = 0;
  // The input began with a byte order mark (which is not passed on).
  bool sawByteOrderMark = false;
};

class Encoder {
 public:
  virtual ~Encoder() = default;
  virtual void put(const Elements &elements, std::string &out) = 0;
  virtual void finish(std::string &out) { (void)out; }
};

// How host bytes are converted: through a code page record, a lead byte
// and its trail byte making one host code on a double-byte code page.
struct ByteForm {
  const CODEPAGETBL *record;
};

enum class FormKind {
  Utf8,
  Utf16le,
  Bytes,
  Native,
  DocumentStream,
  TextForm,
  Version5Stream,     // the previous format's stream (double-byte as the host says)
  Version5Big5,       // its Chinese double-byte form, Traditional (input only)
  Version5Gb,         // its Chinese double-byte form, Simplified (input only)
};

struct Form {
  FormKind kind;
  std::string name;
  ByteForm bytes{nullptr};
};

bool isUnicode(const Form &form);
// Positions in this input form are lines and columns (else byte offsets).
bool isTextInput(const Form &form);

// `unicode`: the elements are code points (both ends Unicode), not native
// characters. Changes the form makes are added to `changes`.
std::unique_ptr<Decoder> makeDecoder(const Form &form, bool unicode, Changes &changes);
std::unique_ptr<Encoder> makeEncoder(const Form &form, bool unicode, Changes &changes);

// The byte order mark of a Unicode output form.
std::string byteOrderMark(const Form &form);

}  // namespace qstr::cli
