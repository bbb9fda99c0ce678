// The readers of `qstr convert` (UTF-8, UTF-16, host bytes, native strings,
// document streams) on any input fed in pieces of random sizes: never a
// crash, and the same elements with their positions, the same changes and
// the same error as when the whole input is fed at once.
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

using namespace qstr::cli;

std::string at(const Position &p) {
  return std::to_string(p.offset) + ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
}

// Feeds the pieces in order, stopping at the first error as the tool does,
// then finishes; gives the elements with their positions, the changes and
// the error written out.
std::string decode(const Form &form, bool unicode, const std::vector<uint8_t> &input,
                   const std::vector<std::size_t> &pieces) {
  Changes changes;
  Elements elements;
  std::optional<FormError> error;
  const std::unique_ptr<Decoder> decoder = makeDecoder(form, unicode, changes);
  qstr::fuzz::check(decoder != nullptr);
  std::size_t done = 0;
  for (std::size_t piece : pieces) {
    error = decoder->feed(input.data() + done, piece, elements);
    done += piece;
    if (error) break;
  }
  if (!error) error = decoder->finish(elements);
  qstr::fuzz::check(!error || error->where.offset <= input.size());
  std::string out;
  for (const auto &e : elements) out += std::to_string(e.value) + "@" + at(e.where) + " ";
  out += "| " + std::to_string(changes.count());
  for (const auto &c : changes.listed()) out += " " + at(c.where) + c.character + "/" + c.outcome;
  if (error) out += " | " + at(error->where) + error->message;
  return out;
}

// A code page record of the tool's own kind (cpNNN), loaded once per page.
const CODEPAGETBL *ownRecord(uint8_t pick) {
  static const int32_t kPages[] = {1252, 437, 850, 1250, 1251, 1253, 932, 936, 949, 950};
  static CODEPAGETBL records[std::size(kPages)];
  const std::size_t i = pick % std::size(kPages);
  if (records[i].toQxCodepage == 0) QcvtSetCodepage(kPages[i], 3, &records[i]);
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
  // the first item.
  const std::vector<uint8_t> input = formByte % 8 == 7 ? qstr::fuzz::wellFormedStream(in) : in.rest();
  // Piece sizes from a small generator seeded by the input: empty pieces
  // included, mostly short ones, now and then a long one.
  const auto next = [&random] {
    random ^= random << 13;
    random ^= random >> 17;
    random ^= random << 5;
    return random;
  };
  std::vector<std::size_t> pieces;
  for (std::size_t left = input.size(); left > 0;) {
    const uint32_t r = next();
    pieces.push_back(std::min<std::size_t>(left, r % 8 == 0 ? r % 64 : r % 5));
    left -= pieces.back();
  }
  if (next() % 2) pieces.push_back(0);
  // The Unicode forms also pass code points straight through, as between
  // two Unicode ends.
  const bool unicode = isUnicode(form) && next() % 2;
  qstr::fuzz::check(decode(form, unicode, input, {input.size()}) == decode(form, unicode, input, pieces));
  return 0;
}
