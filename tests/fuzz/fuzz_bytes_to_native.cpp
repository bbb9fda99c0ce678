// Host bytes to document streams and to native strings under every host
// profile kind: the results follow the counting rules of the headers
// exactly (checked against a conversion built here from the single-code
// conversion), and nothing is written past what the functions may write.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/no_mapping.h"
#include "fuzz_support.h"
#include "host/host.h"
#include "host_kinds.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

namespace {

using qstr::fuzz::check;
using qstr::fuzz::untouched;

constexpr uint8_t kGuard = 0x55;
constexpr uint16_t kGuardElement = 0x5555;
using qstr::base::kNoMapping;

bool isLead(uint8_t byte) { return qstr::host::isDbcsLeadByte(byte); }

// The document stream the buffer converters must produce (terminator not
// included): printable ASCII as itself, other host codes through `record`,
// a byte for a native character below 0x100, a group otherwise; a group
// that does not fit within size - 1 bytes ends it.
std::vector<uint8_t> expectedStream(const std::string &src, uint32_t size, bool doubleByte,
                                    const CODEPAGETBL *record) {
  std::vector<uint8_t> out;
  const std::size_t limit = size - 1;
  std::size_t i = 0;
  while (out.size() < limit && i < src.size()) {
    const uint8_t byte = static_cast<uint8_t>(src[i++]);
    if (byte >= 0x20 && byte <= 0x7E) {
      out.push_back(byte);
      continue;
    }
    uint32_t code = byte;
    if (doubleByte && isLead(byte) && i < src.size()) code = code << 8 | static_cast<uint8_t>(src[i++]);
    const uint16_t native = QcvtNtvToQx(record, code);
    if (native == kNoMapping) continue;
    if (native < 0x100) {
      out.push_back(static_cast<uint8_t>(native));
      continue;
    }
    if (out.size() + 4 > limit) break;
    out.insert(out.end(), {0xF0, static_cast<uint8_t>(native), static_cast<uint8_t>(native >> 8), 0xF0});
  }
  return out;
}

// The native string the byte-string converters must produce from the
// first `limit` characters of src (terminator not included).
std::vector<uint16_t> expectedNatives(const std::string &src, std::size_t limit, const CODEPAGETBL *record) {
  std::vector<uint16_t> out;
  const bool doubleByte = qstr::host::dbcsEnabled() != 0;
  for (std::size_t i = 0; i < src.size() && out.size() < limit;) {
    uint32_t code = static_cast<uint8_t>(src[i++]);
    if (doubleByte && isLead(static_cast<uint8_t>(code))) {
      if (i == src.size()) break;  // a lead byte before the terminator is dropped
      code = code << 8 | static_cast<uint8_t>(src[i++]);
    }
    out.push_back(QcvtNtvToQx(record, code));
  }
  return out;
}

// Any of the library's converters (standard calling convention on 32-bit
// Windows) or a lambda that binds an extra argument.
template <typename ToStream>
void checkToStream(ToStream convert, const std::string &src, uint32_t sizeArg, bool doubleByte,
                   const CODEPAGETBL *record) {
  const uint32_t size = sizeArg & 0xFFFF;
  std::vector<uint8_t> dst(size + 8, kGuard);
  const uint32_t result = convert(dst.data(), src.c_str(), sizeArg);
  if (size == 0) return check(result == 0 && untouched(dst, 0, kGuard));
  const std::vector<uint8_t> expected = expectedStream(src, size, doubleByte, record);
  check(result == expected.size() + 1);
  check(std::equal(expected.begin(), expected.end(), dst.begin()));
  check(dst[expected.size()] == 0 && untouched(dst, size, kGuard));
  // The output is a stream the library can walk: a zero byte only at its
  // end, and every byte outside the groups a character or 0x80.
  for (std::size_t i = 0; i < expected.size(); i += dst[i] == 0xF0 ? 4 : 1) {
    check(dst[i] != 0 && (dst[i] <= 0x80 || dst[i] == 0xF0));
  }
}

// Converts with `convert` into a fresh destination of `capacity` elements
// and compares with `expected`; nothing past the terminator may change.
template <typename Convert>
void checkToNatives(Convert convert, const std::vector<uint16_t> &expected, std::size_t capacity) {
  std::vector<uint16_t> dst(capacity + 8, kGuardElement);
  check(convert(dst.data()) == 1);
  check(std::equal(expected.begin(), expected.end(), dst.begin()));
  check(dst[expected.size()] == 0 && untouched(dst, expected.size() + 1, kGuardElement));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  // Sizes keep to small numbers; bit 15 of the input word sets bit 16 of
  // the argument, which the functions must ignore.
  const uint16_t sizeWord = in.word();
  const uint32_t streamSize = (sizeWord & 0x3FF) | (sizeWord & 0x8000 ? 0x10000u : 0);
  const uint8_t capacityByte = in.byte();
  const uint32_t n = (capacityByte & 0x7F) | (capacityByte & 0x80 ? 0x10000u : 0);
  std::vector<uint8_t> bytes = in.rest();
  if (bytes.size() > 2048) bytes.resize(2048);
  std::string src(bytes.begin(), bytes.end());
  src = src.c_str();  // a byte string ends at its first zero byte

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

  const std::vector<uint16_t> all = expectedNatives(src, src.size(), ansi);
  checkToNatives([&](uint16_t *d) { return Q6azTowz(src.c_str(), d); }, all, src.size() + 1);
  checkToNatives([&](uint16_t *d) { return Q6ozTowz(src.c_str(), d); }, expectedNatives(src, src.size(), oem),
                 src.size() + 1);
  const uint32_t capacity = n & 0xFFFF;
  if (capacity == 0) {
    std::vector<uint16_t> dst(8, kGuardElement);
    check(Q6azTowzN(src.c_str(), dst.data(), n) == 0 && Q6ozTowzN(src.c_str(), dst.data(), n) == 0);
    check(untouched(dst, 0, kGuardElement));
  } else {
    checkToNatives([&](uint16_t *d) { return Q6azTowzN(src.c_str(), d, n); },
                   expectedNatives(src, capacity - 1, ansi), capacity);
    checkToNatives([&](uint16_t *d) { return Q6ozTowzN(src.c_str(), d, n); },
                   expectedNatives(src, capacity - 1, oem), capacity);
  }

  // In place: the destination at the source's own address.
  std::vector<uint16_t> buffer(src.size() + 1 + 8, kGuardElement);
  std::memcpy(buffer.data(), src.c_str(), src.size() + 1);
  const int32_t inPlace = Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data());
  check(inPlace == 1);
  check(std::equal(all.begin(), all.end(), buffer.begin()) && buffer[all.size()] == 0);
  check(untouched(buffer, src.size() + 1, kGuardElement));
  return 0;
}
