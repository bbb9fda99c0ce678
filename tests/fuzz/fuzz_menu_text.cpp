// Menu text clean-up and the bounded native-to-ANSI copy under every host
// profile kind: removal never grows the text, truncation never splits a
// double-byte character, the copy keeps the longest prefix that fits, and
// nothing is written past the text or the capacity.
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
  const bool dbcs = qstr::host::dbcsEnabled() != 0;
  const uint8_t cut = in.byte();
  const uint8_t capacityByte = in.byte();
  const uint32_t capacityArg = (capacityByte & 0x7F) | (capacityByte & 0x80 ? 0x10000u : 0);
  std::vector<uint8_t> bytes = in.rest();
  if (bytes.size() > 2048) bytes.resize(2048);
  const std::string src = std::string(bytes.begin(), bytes.end()).c_str();

  std::vector<char> stripped(src.size() + 1 + 8, '\x55');
  QstrStripAmpersand(stripped.data(), src.c_str());
  check(std::strlen(stripped.data()) <= src.size() && untouched(stripped, src.size() + 1, '\x55'));

  // QMBStrTrunc keeps n bytes, or n - 1 when a lead byte's trail byte lies
  // past n; bytes past the cut are left as they were.
  const auto n = static_cast<int32_t>(cut % (src.size() + 1));
  std::vector<char> s(src.c_str(), src.c_str() + src.size() + 1);
  s.insert(s.end(), 8, '\x55');
  const int32_t kept = QMBStrTrunc(s.data(), n);
  check(kept >= 0 && kept <= n && s[static_cast<std::size_t>(kept)] == '\0');
  check(std::equal(s.begin(), s.begin() + kept, src.begin()));
  check(std::equal(s.begin() + n + 1, s.end() - 8, src.c_str() + n + 1) && untouched(s, src.size() + 1, '\x55'));
  const auto lead = [&src](int32_t at) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(src[at])); };
  int32_t pos = 0;
  while (pos < kept) pos += dbcs && lead(pos) ? 2 : 1;
  check(pos == kept && (kept == n || (dbcs && kept == n - 1 && lead(kept))));

  // The same bytes as native characters, two at a time.
  std::vector<uint16_t> natives;
  for (std::size_t i = 0; i + 1 < bytes.size() && (bytes[i] | bytes[i + 1]) != 0; i += 2) {
    natives.push_back(static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8));
  }
  natives.push_back(0);
  // The bounded copy keeps the longest prefix of the whole conversion (each
  // character's ANSI code, 0x80 for none) that fits.
  const uint32_t capacity = capacityArg & 0xFFFF;
  std::vector<char> dst(capacity + 8, '\x55');
  const uint16_t result = Q6wzToazNB(natives.data(), dst.data(), capacityArg);
  check(result == (capacity == 0 ? 0 : 1) && untouched(dst, capacity, '\x55'));
  if (capacity == 0) return 0;
  std::string expected;
  for (std::size_t i = 0; natives[i] != 0; ++i) {
    const uint16_t code = QcvtQxToNtv(QtpiGetAnsiCodepageTbl(), natives[i]);
    std::string next = code == 0xFFFF ? "\x80" : std::string(1, static_cast<char>(code & 0xFF));
    if (code != 0xFFFF && code > 0xFF) next.insert(next.begin(), static_cast<char>(code >> 8));
    if (expected.size() + next.size() > capacity - 1) break;
    expected += next;
  }
  check(std::memcmp(dst.data(), expected.data(), expected.size()) == 0 && dst[expected.size()] == 0);
  return 0;
}
