// The text forms `qstr convert` reads and writes, as decoders into native
// characters and encoders out of them. Native characters are the hub: every
// conversion decodes its input into them and encodes them again.
//
// Line breaks travel as the native control codes 0xF909 (tab), 0xF90A
// (line feed), 0xF90C (form feed) and 0xF90D (carriage return), as the
// library's byte conversions produce them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qstr14/codepage.h"

namespace qstr::cli {

using Natives = std::vector<uint16_t>;

// An input error: what is wrong and at which byte of the input.
struct FormError {
  std::size_t offset;
  std::string message;
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Decodes `size` more bytes of input, appending native characters to
  // `out`. A sequence cut by the end of `data` is kept for the next call.
  virtual std::optional<FormError> feed(const uint8_t *data, std::size_t size, Natives &out) = 0;
  // The input has ended: a sequence still incomplete is an error.
  virtual std::optional<FormError> finish(Natives &out) = 0;
  // Characters the input held that have no native character.
  std::size_t unmapped = 0;
};

class Encoder {
 public:
  virtual ~Encoder() = default;
  virtual void put(const Natives &natives, std::string &out) = 0;
  virtual void finish(std::string &out) { (void)out; }
  // Native characters that had no form in the output.
  std::size_t unmapped = 0;
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

std::unique_ptr<Decoder> makeDecoder(const Form &form);
std::unique_ptr<Encoder> makeEncoder(const Form &form);

}  // namespace qstr::cli
