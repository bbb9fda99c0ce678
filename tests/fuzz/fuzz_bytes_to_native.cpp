// Host bytes to document streams and native strings under every host
// profile kind (the stream converters agree with a one-by-one model in the
// buffer conversion tests): results end within their limit, in place too,
// and nothing is written past it.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "host/host.h"
#include "host_kinds.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

using qstr::fuzz::check;
using qstr::fuzz::untouched;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  // Bit 15 of the input word sets bit 16 of the size, which is ignored.
  const uint16_t sizeWord = in.word();
  const uint32_t streamSize = (sizeWord & 0x3FF) | (sizeWord & 0x8000 ? 0x10000u : 0);
  const uint8_t capacityByte = in.byte();
  const uint32_t n = (capacityByte & 0x7F) | (capacityByte & 0x80 ? 0x10000u : 0);
  std::vector<uint8_t> bytes = in.rest();
  if (bytes.size() > 2048) bytes.resize(2048);
  const std::string src = std::string(bytes.begin(), bytes.end()).c_str();  // up to the first zero byte

  const uint32_t limit = streamSize & 0xFFFF;
  for (int which = 0; which < 5; ++which) {
    std::vector<uint8_t> dst(limit + 8, 0x55);
    const uint32_t result = which == 0   ? str_AnsiToQx(dst.data(), src.c_str(), streamSize)
                            : which == 1 ? str_OemToQx(dst.data(), src.c_str(), streamSize)
                            : which == 2 ? str_DBCS_OEMorANSItoQX(dst.data(), src.c_str(), streamSize, 0)
                            : which == 3 ? TpiAnsiToQxBuff(dst.data(), src.c_str(), streamSize)
                                         : TpiOemToQxBuff(dst.data(), src.c_str(), streamSize);
    check(limit == 0 ? result == 0 : result >= 1 && result <= limit && dst[result - 1] == 0);
    check(untouched<uint8_t>(dst, limit, 0x55));
  }
  // Native strings: whole, or at most n - 1 characters and the terminator.
  const uint32_t capacity = n & 0xFFFF;
  for (const bool oem : {false, true}) {
    std::vector<uint16_t> dst(std::max<std::size_t>(src.size() + 1, capacity) + 8, 0x5555);
    check((oem ? Q6ozTowz(src.c_str(), dst.data()) : Q6azTowz(src.c_str(), dst.data())) == 1);
    const std::size_t length = std::find(dst.begin(), dst.end(), 0) - dst.begin();
    check(length <= src.size() && untouched<uint16_t>(dst, length + 1, 0x5555));
    // Without double-byte support each byte is its record's native character.
    const CODEPAGETBL *record = oem ? QtpiGetOemCodepageTbl() : QtpiGetAnsiCodepageTbl();
    for (std::size_t i = 0; !qstr::host::dbcsEnabled() && i < src.size(); ++i) {
      check(dst[i] == QcvtNtvToQx(record, static_cast<uint8_t>(src[i])));
    }
    std::fill(dst.begin(), dst.end(), 0x5555);
    const int32_t result = oem ? Q6ozTowzN(src.c_str(), dst.data(), n) : Q6azTowzN(src.c_str(), dst.data(), n);
    check(result == (capacity == 0 ? 0 : 1) && untouched<uint16_t>(dst, capacity, 0x5555));
    check(capacity == 0 || std::find(dst.begin(), dst.begin() + capacity, 0) != dst.begin() + capacity);
  }
  // In place: the destination at the source's own address.
  std::vector<uint16_t> buffer(src.size() + 1 + 8, 0x5555);
  std::memcpy(buffer.data(), src.c_str(), src.size() + 1);
  check(Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data()) == 1);
  check(untouched<uint16_t>(buffer, src.size() + 1, 0x5555));
  return 0;
}
