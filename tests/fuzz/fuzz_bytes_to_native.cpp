// Host bytes to document streams and to native strings under every host
// profile kind: streams agree with the one-by-one model; native strings are
// terminated within their limit, in place too; nothing is written past it.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../support/host_bytes_model.h"
#include "fuzz_support.h"
#include "host_kinds.h"
#include "qstr14/strings.h"

namespace {

using qstr::fuzz::check;
using qstr::fuzz::untouched;

// Any of the library's converters (standard calling convention on 32-bit
// Windows) or a lambda that binds an extra argument. Bit 16 of the size is
// ignored.
template <typename ToStream>
void checkToStream(ToStream convert, const std::string &src, uint32_t sizeArg, bool doubleByte,
                   const CODEPAGETBL *record) {
  const uint32_t size = sizeArg & 0xFFFF;
  std::vector<uint8_t> dst(size + 8, 0x55);
  const uint32_t result = convert(dst.data(), src.c_str(), sizeArg);
  if (size == 0) return check(result == 0 && untouched<uint8_t>(dst, 0, 0x55));
  const std::vector<uint8_t> expected = qstr::test::hostBytesToStream(src, size, doubleByte, *record);
  check(result == expected.size() + 1 && std::equal(expected.begin(), expected.end(), dst.begin()));
  check(dst[expected.size()] == 0 && untouched<uint8_t>(dst, size, 0x55));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  const uint16_t sizeWord = in.word();
  const uint32_t streamSize = (sizeWord & 0x3FF) | (sizeWord & 0x8000 ? 0x10000u : 0);
  const uint8_t capacityByte = in.byte();
  const uint32_t n = (capacityByte & 0x7F) | (capacityByte & 0x80 ? 0x10000u : 0);
  std::vector<uint8_t> bytes = in.rest();
  if (bytes.size() > 2048) bytes.resize(2048);
  const std::string src = std::string(bytes.begin(), bytes.end()).c_str();  // up to the first zero byte

  const CODEPAGETBL *ansi = QtpiGetAnsiCodepageTbl();
  const CODEPAGETBL *oem = QtpiGetOemCodepageTbl();
  const bool dbcs = qstr::host::dbcsEnabled() != 0;
  checkToStream(str_AnsiToQx, src, streamSize, false, ansi);
  checkToStream(str_OemToQx, src, streamSize, false, oem);
  checkToStream(
      [](uint8_t *d, const char *s, uint32_t z) { return str_DBCS_OEMorANSItoQX(d, s, z, 1); }, src,
      streamSize, true, ansi);
  checkToStream(TpiAnsiToQxBuff, src, streamSize, dbcs, ansi);
  checkToStream(TpiOemToQxBuff, src, streamSize, dbcs, dbcs ? ansi : oem);

  // Native strings: whole, or at most n - 1 characters and the terminator.
  const uint32_t capacity = n & 0xFFFF;
  for (const bool oem : {false, true}) {
    std::vector<uint16_t> dst(std::max<std::size_t>(src.size() + 1, capacity) + 8, 0x5555);
    check((oem ? Q6ozTowz(src.c_str(), dst.data()) : Q6azTowz(src.c_str(), dst.data())) == 1);
    const std::size_t length = std::find(dst.begin(), dst.end(), 0) - dst.begin();
    check(length <= src.size() && untouched<uint16_t>(dst, length + 1, 0x5555));
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
