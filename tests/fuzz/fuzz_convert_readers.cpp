// The readers of `qstr convert` (UTF-8, UTF-16, host bytes, native strings,
// document streams) on arbitrary input fed in pieces of random sizes: never
// a crash, and the same characters, unmapped count and error (offset and
// message) as when the whole input is fed at once.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "convert_forms.h"
#include "fuzz_support.h"
#include "host_kinds.h"
#include "qstr14/codepage.h"

namespace {

using qstr::cli::Decoder;
using qstr::cli::Form;
using qstr::cli::FormError;
using qstr::cli::FormKind;
using qstr::cli::Natives;

void check(bool ok) {
  if (!ok) std::abort();
}

struct Outcome {
  Natives natives;
  std::size_t unmapped = 0;
  std::optional<FormError> error;
};

// Feeds the pieces in order, stopping at the first error as the tool does,
// then finishes the input.
Outcome decode(const Form &form, const std::vector<uint8_t> &input, const std::vector<std::size_t> &pieces) {
  const std::unique_ptr<Decoder> decoder = qstr::cli::makeDecoder(form);
  check(decoder != nullptr);
  Outcome outcome;
  std::size_t at = 0;
  for (std::size_t piece : pieces) {
    outcome.error = decoder->feed(input.data() + at, piece, outcome.natives);
    at += piece;
    if (outcome.error) break;
  }
  if (!outcome.error) outcome.error = decoder->finish(outcome.natives);
  outcome.unmapped = decoder->unmapped;
  return outcome;
}

// A code page record of the tool's own kind (cpNNN), loaded once per page.
const CODEPAGETBL *ownRecord(uint8_t pick) {
  static const int32_t kPages[] = {1252, 437, 850, 1250, 1251, 1253, 932, 936, 949, 950};
  static CODEPAGETBL records[sizeof kPages / sizeof kPages[0]];
  static bool loaded[sizeof kPages / sizeof kPages[0]];
  const std::size_t i = pick % (sizeof kPages / sizeof kPages[0]);
  if (!loaded[i]) {
    QcvtSetCodepage(kPages[i], 3, &records[i]);
    loaded[i] = true;
  }
  return &records[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  const uint8_t formByte = in.byte();
  uint32_t random = static_cast<uint32_t>(in.word()) << 16 | in.word() | 1;

  Form form{FormKind::Utf8, "utf8"};
  switch (formByte % 8) {
    case 0: break;
    case 1: form = {FormKind::Utf16le, "utf16le"}; break;
    case 2: form = {FormKind::Bytes, "ansi", {QtpiGetAnsiCodepageTbl()}}; break;
    case 3: form = {FormKind::Bytes, "oem", {QtpiGetOemCodepageTbl()}}; break;
    case 4: form = {FormKind::Bytes, "cp", {ownRecord(formByte >> 3)}}; break;
    case 5: form = {FormKind::Native, "native"}; break;
    default: form = {FormKind::DocumentStream, "dz"}; break;
  }
  // Document streams are half the time built well formed, to reach past
  // the first item; otherwise any bytes.
  const std::vector<uint8_t> input = form.kind == FormKind::DocumentStream && formByte % 8 == 7
                                         ? qstr::fuzz::wellFormedStream(in)
                                         : in.rest();

  // Piece sizes from a small generator seeded by the input: empty pieces
  // included, mostly short ones, now and then a long one.
  std::vector<std::size_t> pieces;
  const auto next = [&random] {
    random ^= random << 13;
    random ^= random >> 17;
    random ^= random << 5;
    return random;
  };
  for (std::size_t left = input.size(); left > 0;) {
    const uint32_t r = next();
    const std::size_t piece = std::min<std::size_t>(left, r % 8 == 0 ? r % 64 : r % 5);
    pieces.push_back(piece);
    left -= piece;
  }
  if (next() % 2) pieces.push_back(0);

  const Outcome whole = decode(form, input, {input.size()});
  const Outcome split = decode(form, input, pieces);
  check(whole.natives == split.natives);
  check(whole.unmapped == split.unmapped);
  check(whole.error.has_value() == split.error.has_value());
  if (whole.error) {
    check(whole.error->offset == split.error->offset && whole.error->message == split.error->message);
    check(whole.error->offset <= input.size());
  }
  return 0;
}
