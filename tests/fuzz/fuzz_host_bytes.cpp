// Host byte functions under every host profile kind, the first byte choosing which: results end within
// their limit, nothing is written past it, and a double-byte character is never split.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "host/host.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

namespace {

using qstr::fuzz::check;
using qstr::fuzz::untouched;

// A byte's low 7 bits, and bit 7 as bit 16 (which the functions ignore).
uint32_t withIgnoredBit(uint8_t byte) { return (byte & 0x7F) | (byte & 0x80 ? 0x10000u : 0); }

std::string text(qstr::fuzz::Input &in, std::vector<uint8_t> &bytes) {
  bytes = in.rest();
  if (bytes.size() > 2048) bytes.resize(2048);
  return std::string(bytes.begin(), bytes.end()).c_str();
}

void bytesToNative(qstr::fuzz::Input &in) {
  const uint16_t sizeWord = in.word();
  const uint32_t streamSize = (sizeWord & 0x3FF) | (sizeWord & 0x8000 ? 0x10000u : 0);
  const uint32_t n = withIgnoredBit(in.byte());
  std::vector<uint8_t> bytes;
  const std::string text = ::text(in, bytes);
  const char *src = text.c_str();
  const uint32_t limit = streamSize & 0xFFFF;
  for (int which = 0; which < 5; ++which) {
    std::vector<uint8_t> dst(limit + 8, 0x55);
    const uint32_t result = which == 0   ? str_AnsiToQx(dst.data(), src, streamSize)
                            : which == 1 ? str_OemToQx(dst.data(), src, streamSize)
                            : which == 2 ? str_DBCS_OEMorANSItoQX(dst.data(), src, streamSize, 0)
                            : which == 3 ? TpiAnsiToQxBuff(dst.data(), src, streamSize)
                                         : TpiOemToQxBuff(dst.data(), src, streamSize);
    check(limit == 0 ? result == 0 : result >= 1 && result <= limit && dst[result - 1] == 0);
    check(untouched<uint8_t>(dst, limit, 0x55));
  }
  // Native strings: whole, or at most n - 1 characters and the terminator.
  const uint32_t capacity = n & 0xFFFF;
  for (const bool oem : {false, true}) {
    std::vector<uint16_t> dst(std::max<std::size_t>(text.size() + 1, capacity) + 8, 0x5555);
    check((oem ? Q6ozTowz(src, dst.data()) : Q6azTowz(src, dst.data())) == 1);
    const std::size_t length = std::find(dst.begin(), dst.end(), 0) - dst.begin();
    check(length <= text.size() && untouched<uint16_t>(dst, length + 1, 0x5555));
    // Without double-byte support each byte is its record's native character.
    const CODEPAGETBL *record = oem ? QtpiGetOemCodepageTbl() : QtpiGetAnsiCodepageTbl();
    for (std::size_t i = 0; !qstr::host::dbcsEnabled() && i < text.size(); ++i) {
      check(dst[i] == QcvtNtvToQx(record, static_cast<uint8_t>(src[i])));
    }
    std::fill(dst.begin(), dst.end(), 0x5555);
    const int32_t result = oem ? Q6ozTowzN(src, dst.data(), n) : Q6azTowzN(src, dst.data(), n);
    check(result == (capacity == 0 ? 0 : 1) && untouched<uint16_t>(dst, capacity, 0x5555));
    check(capacity == 0 || std::find(dst.begin(), dst.begin() + capacity, 0) != dst.begin() + capacity);
  }
  std::vector<uint16_t> buffer(text.size() + 1 + 8, 0x5555);
  std::memcpy(buffer.data(), src, text.size() + 1);
  check(Q6azTowz(reinterpret_cast<const char *>(buffer.data()), buffer.data()) == 1);
  check(untouched<uint16_t>(buffer, text.size() + 1, 0x5555));
}

// Removing mnemonics never grows the text; QMBStrTrunc keeps n bytes or n - 1 for a lead byte; the
// bounded copy keeps the longest prefix of the conversion (0x80 for no ANSI code) that fits.
void menuText(qstr::fuzz::Input &in) {
  const uint8_t cut = in.byte();
  const uint32_t capacityArg = withIgnoredBit(in.byte());
  std::vector<uint8_t> bytes;
  const std::string src = text(in, bytes);
  const std::size_t size = src.size();
  const auto n = static_cast<int32_t>(cut % (size + 1));
  std::vector<char> s(src.c_str(), src.c_str() + size + 1);
  s.insert(s.end(), 8, '\x55');
  std::vector<char> stripped(s.size(), '\x55');
  QstrStripAmpersand(stripped.data(), src.c_str());
  check(std::strlen(stripped.data()) <= size && untouched(stripped, size + 1, '\x55'));

  const int32_t kept = QMBStrTrunc(s.data(), n);
  check(kept >= 0 && kept <= n && s[static_cast<std::size_t>(kept)] == '\0');
  check(std::equal(s.begin(), s.begin() + kept, src.begin()));
  check(std::equal(s.begin() + n + 1, s.end() - 8, src.c_str() + n + 1) && untouched(s, size + 1, '\x55'));
  const bool dbcs = qstr::host::dbcsEnabled() != 0;
  const auto lead = [&src](int32_t at) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(src[at])); };
  int32_t pos = 0;
  while (pos < kept) pos += dbcs && lead(pos) ? 2 : 1;
  check(pos == kept && (kept == n || (dbcs && kept == n - 1 && lead(kept))));

  std::vector<uint16_t> natives;
  for (std::size_t i = 0; i + 1 < bytes.size() && (bytes[i] | bytes[i + 1]) != 0; i += 2) {
    natives.push_back(static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8));
  }
  natives.push_back(0);
  const uint32_t capacity = capacityArg & 0xFFFF;
  std::vector<char> dst(capacity + 8, '\x55');
  const uint16_t result = Q6wzToazNB(natives.data(), dst.data(), capacityArg);
  check(result == (capacity == 0 ? 0 : 1) && untouched(dst, capacity, '\x55'));
  if (capacity == 0) return;
  std::string expected;
  for (std::size_t i = 0; natives[i] != 0; ++i) {
    const uint16_t code = QcvtQxToNtv(QtpiGetAnsiCodepageTbl(), natives[i]);
    std::string next = code == 0xFFFF ? "\x80" : std::string(1, static_cast<char>(code & 0xFF));
    if (code != 0xFFFF && code > 0xFF) next.insert(next.begin(), static_cast<char>(code >> 8));
    if (expected.size() + next.size() > capacity - 1) break;
    expected += next;
  }
  check(std::memcmp(dst.data(), expected.data(), expected.size()) == 0 && dst[expected.size()] == 0);
}

void boundedCopies(qstr::fuzz::Input &in) {
  const uint8_t room = in.byte();
  std::vector<uint8_t> bytes;
  const std::string src = text(in, bytes);
  std::vector<char> dst(room + 8u, '\x55'), padded(dst);
  CopyUpToAndNullTerminate(dst.data(), src.c_str(), room);
  check((room == 0 || std::strlen(dst.data()) < room) && untouched(dst, room, '\x55'));
  wstrncpy(padded.data(), src.c_str(), room);
  check(untouched(padded, room, '\x55'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  const uint8_t which = in.byte() % 3;
  qstr::fuzz::useHostKind(in.byte());
  if (which == 0) bytesToNative(in);
  if (which == 1) menuText(in);
  if (which == 2) boundedCopies(in);
  return 0;
}
