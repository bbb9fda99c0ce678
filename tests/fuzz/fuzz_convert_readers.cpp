// The readers of `qstr convert` on any input fed in pieces of random sizes: the same elements, positions,
// changes and error as when fed at once.
#include <algorithm>
#include <memory>

#include "convert_forms.h"
#include "fuzz_support.h"
#include "qstr14/codepage.h"

namespace {

using namespace qstr::cli;

std::string at(const Position &p) {
  return std::to_string(p.offset) + ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
}

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
    case 4:
    case 5: form = {FormKind::Native, "native"}; break;
    default: form = {FormKind::DocumentStream, "dz"}; break;
  }
  // Document streams half the time well formed, to reach past the first item.
  const std::vector<uint8_t> input = formByte % 8 == 7 ? qstr::fuzz::wellFormedStream(in) : in.rest();
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
  // The Unicode forms may pass code points straight through.
  const bool unicode = isUnicode(form) && next() % 2;
  qstr::fuzz::check(decode(form, unicode, input, {input.size()}) == decode(form, unicode, input, pieces));
  return 0;
}
