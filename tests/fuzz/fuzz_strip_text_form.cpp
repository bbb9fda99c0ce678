// Stripping and the text form on well-formed streams and arbitrary native
// strings: results within the size, terminated, nothing written past what
// the functions may write.
#include <cstdlib>
#include <vector>

#include "fuzz_support.h"
#include "qstr14/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  const uint16_t limit = static_cast<uint16_t>(in.word() % 1024);
  const uint8_t flags = in.byte();
  const bool nativeString = in.byte() & 1;
  if (nativeString) {
    std::vector<uint16_t> text;
    while (!in.empty() && text.size() < 2048) text.push_back(in.word());
    text.push_back(0);
    // The stripping may write size + 2 bytes: give it that, plus guards.
    std::vector<uint16_t> stripped(limit / 2 + 2 + 8, 0x5555);
    const int32_t result = TpiQxLongStripBuff(stripped.data(), text.data(), limit, flags);
    if (result < 0 || result > limit + 2) std::abort();
    for (std::size_t i = limit / 2 + 2; i < stripped.size(); ++i) {
      if (stripped[i] != 0x5555) std::abort();
    }
    std::vector<uint8_t> form(limit + 8, 0x55);
    const uint16_t count = TpiQxwzToQxsioBuff(form.data(), text.data(), limit, flags);
    if (limit != 0 && (count >= limit || form[count] != 0)) std::abort();
    for (std::size_t i = limit; i < form.size(); ++i) {
      if (form[i] != 0x55) std::abort();
    }
    return 0;
  }
  const std::vector<uint8_t> stream = qstr::fuzz::wellFormedStream(in);
  std::vector<uint8_t> out(limit + 8, 0x55);
  const uint32_t stripped = TpiQxDocStripBuff(out.data(), stream.data(), limit, flags);
  if (stripped > limit || (limit != 0 && out[stripped - 1] != 0)) std::abort();
  for (std::size_t i = limit; i < out.size(); ++i) {
    if (out[i] != 0x55) std::abort();
  }
  std::vector<uint8_t> form(limit + 8, 0x55);
  const uint16_t count = TpiQxToQxsioBuff(form.data(), stream.data(), limit, flags);
  if (limit != 0 && (count >= limit || form[count] != 0)) std::abort();
  for (std::size_t i = limit; i < form.size(); ++i) {
    if (form[i] != 0x55) std::abort();
  }
  return 0;
}
