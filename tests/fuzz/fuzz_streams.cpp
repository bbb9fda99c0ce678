// Streams and native strings, the first byte choosing the function: stripping and the text form stay
// within the size; an accepted version-5 stream converts both ways within the destination size.
#include <vector>

#include "charset/version5_items.h"
#include "fuzz_support.h"
#include "qstr14/codepage.h"
#include "qstr14/version5.h"

namespace {

using qstr::fuzz::check;
using qstr::fuzz::untouched;

void stripAndTextForm(qstr::fuzz::Input &in) {
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
}

// The Chinese form is always double-byte; Q5dzTowz follows the host profile.
void version5Stream(qstr::fuzz::Input &in) {
  const uint16_t destinationBytes = static_cast<uint16_t>(in.word() % 512);
  const uint8_t form = in.byte();
  std::vector<uint8_t> stream = in.rest();
  const bool chinese = form & 2;
  const bool doubleByte = chinese || (form & 1);
  if (qstr::charset::version5::firstIncompleteVersion5Item(stream.data(), stream.size(), doubleByte)) return;
  std::vector<uint16_t> native(destinationBytes / 2 + 8, 0x5555);
  if (chinese) {
    lQ5CdzTowz(stream.data(), native.data(), destinationBytes, form & 4 ? 0x83 : 0);
  } else {
    qstr::host::HostProfile profile = qstr::host::hostProfile();
    profile.dbcsEnabled.value = doubleByte;
    qstr::host::installHostProfile(profile);
    Q5dzTowz(stream.data(), native.data(), destinationBytes);
  }
  check(untouched<uint16_t>(native, destinationBytes / 2, 0x5555));
  std::vector<uint8_t> back(destinationBytes + 8, 0x55);
  native[native.size() - 1] = 0;
  QwzTo5dz(native.data(), back.data(), destinationBytes);
  check(untouched<uint8_t>(back, destinationBytes, 0x55));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  if (in.byte() % 2 == 0) {
    stripAndTextForm(in);
  } else {
    version5Stream(in);
  }
  return 0;
}
