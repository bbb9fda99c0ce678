// The readers of `qstr convert` (UTF-8, UTF-16, host bytes, native strings,
// document streams) on arbitrary input fed in pieces of random sizes: never
// a crash, and the same elements with their positions, the same changes and
// the same error (position and message) as when the whole input is fed at
// once.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert_forms.h"
#include "fuzz_support.h"
#include "host_kinds.h"
#include "qstr14/codepage.h"

namespace {

using qstr::fuzz::check;

using qstr::cli::Changes;
using qstr::cli::Decoder;
using qstr::cli::Elements;
using qstr::cli::Form;
using qstr::cli::FormError;
using qstr::cli::FormKind;
using qstr::cli::Position;

struct Outcome {
  Elements elements;
  Changes changes;
  std::optional<FormError> error;
};

std::string at(const Position &p) {
  return std::to_string(p.offset) + ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
}

// An outcome written out, to compare two: elements with their positions,
// the changes, the error.
std::string written(const Outcome &o) {
  std::string out;
  for (const auto &e : o.elements) out += std::to_string(e.value) + "@" + at(e.where) + " ";
  out += "| " + std::to_string(o.changes.count());
  for (const auto &c : o.changes.listed()) out += " " + at(c.where) + c.character + "/" + c.outcome;
  if (o.error) out += " | " + at(o.error->where) + o.error->message;
  return out;
}

// Feeds the pieces in order, stopping at the first error as the tool does,
// then finishes the input.
Outcome decode(const Form &form, bool unicode, const std::vector<uint8_t> &input,
               const std::vector<std::size_t> &pieces) {
  Outcome outcome;
  const std::unique_ptr<Decoder> decoder = qstr::cli::makeDecoder(form, unicode, outcome.changes);
  check(decoder != nullptr);
  std::size_t at = 0;
  for (std::size_t piece : pieces) {
    outcome.error = decoder->feed(input.data() + at, piece, outcome.elements);
    at += piece;
    if (outcome.error) break;
  }
  if (!outcome.error) outcome.error = decoder->finish(outcome.elements);
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

  // The Unicode forms also pass code points straight through, as between
  // two Unicode ends.
  const bool unicode = qstr::cli::isUnicode(form) && next() % 2;
  const Outcome whole = decode(form, unicode, input, {input.size()});
  const Outcome split = decode(form, unicode, input, pieces);
  check(written(whole) == written(split));
  check(!whole.error || whole.error->where.offset <= input.size());
  return 0;
}
