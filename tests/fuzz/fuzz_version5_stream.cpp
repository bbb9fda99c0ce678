// Version-5 streams: the validator never reads past the bytes it is given,
// and a stream it accepts converts without reading past its terminator or
// writing past the destination size.
#include <vector>

#include "charset/version5_items.h"
#include "fuzz_support.h"
#include "host/profile.h"
#include "qstr14/version5.h"

using qstr::fuzz::check;
using qstr::fuzz::untouched;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  const uint16_t destinationBytes = static_cast<uint16_t>(in.word() % 512);
  const uint8_t form = in.byte();
  std::vector<uint8_t> stream = in.rest();
  // The Chinese form is always double-byte; Q5dzTowz follows the host profile.
  const bool chinese = form & 2;
  const bool doubleByte = chinese || (form & 1);
  if (qstr::charset::version5::firstIncompleteVersion5Item(stream.data(), stream.size(), doubleByte)) return 0;
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
  return 0;
}
