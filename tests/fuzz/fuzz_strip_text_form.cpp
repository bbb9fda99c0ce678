// Stripping and the text form on well-formed streams and arbitrary native
// strings: results within the size, terminated, nothing written past what
// the functions may write.
#include <vector>

#include "fuzz_support.h"
#include "qstr14/codepage.h"

using qstr::fuzz::check;
using qstr::fuzz::untouched;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  const uint16_t limit = static_cast<uint16_t>(in.word() % 1024);
  const uint8_t flags = in.byte();
  const bool nativeString = in.byte() & 1;
  std::vector<uint8_t> form(limit + 8, 0x55);
  uint16_t count = 0;
  if (nativeString) {
    std::vector<uint16_t> text;
    while (!in.empty() && text.size() < 2048) text.push_back(in.word());
    text.push_back(0);
    // The stripping may write size + 2 bytes.
    std::vector<uint16_t> stripped(limit / 2 + 2 + 8, 0x5555);
    const int32_t result = TpiQxLongStripBuff(stripped.data(), text.data(), limit, flags);
    check(result >= 0 && result <= limit + 2 && untouched<uint16_t>(stripped, limit / 2 + 2, 0x5555));
    count = TpiQxwzToQxsioBuff(form.data(), text.data(), limit, flags);
  } else {
    const std::vector<uint8_t> stream = qstr::fuzz::wellFormedStream(in);
    std::vector<uint8_t> out(limit + 8, 0x55);
    const uint32_t stripped = TpiQxDocStripBuff(out.data(), stream.data(), limit, flags);
    check(stripped <= limit && (limit == 0 || out[stripped - 1] == 0) && untouched<uint8_t>(out, limit, 0x55));
    count = TpiQxToQxsioBuff(form.data(), stream.data(), limit, flags);
  }
  check(limit == 0 || (count < limit && form[count] == 0));
  check(untouched<uint8_t>(form, limit, 0x55));
  return 0;
}
