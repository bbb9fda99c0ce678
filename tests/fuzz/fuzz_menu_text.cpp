// Menu text clean-up and the bounded native-to-ANSI copy under every host
// profile kind: mnemonics removed as a plain model does, truncation never
// splits a double-byte character, and the bounded copy keeps the longest
// prefix of the whole conversion that fits, writing nothing past its end.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "host/host.h"
#include "host_kinds.h"
#include "qstr14/codepage.h"
#include "qstr14/strings.h"

namespace {

using qstr::fuzz::check;
using qstr::fuzz::untouched;

bool isLead(char c) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(c)); }

// "&&" stays, "&x" leaves x as the mnemonic, and on a double-byte system
// "(" up to ")" goes with the character after "(&" as the mnemonic.
void checkStripAmpersand(const std::string &src, bool dbcs) {
  std::string text;
  uint16_t mnemonic = 0;
  const auto at = [&src](std::size_t i) { return i < src.size() ? src[i] : '\0'; };
  for (std::size_t i = 0; i < src.size();) {
    if (src[i] == '&' && at(i + 1) == '&') {
      text += "&&";
      i += 2;
    } else if (src[i] == '&') {
      mnemonic = static_cast<uint16_t>(static_cast<signed char>(at(++i)));
    } else if (src[i] == '(' && dbcs) {
      const auto x = static_cast<uint8_t>(at(i + 1) == '\0' ? '\0' : at(i + 2));
      mnemonic = static_cast<uint16_t>(x < 0x80 ? 0x2800 + x : 0xFF00 + x);
      i = std::min(src.find(')', i), src.size() - 1) + 1;
    } else {
      text += src[i++];
    }
  }
  std::vector<char> dst(src.size() + 1 + 8, '\x55');
  check(QstrStripAmpersand(dst.data(), src.c_str()) == mnemonic && text == dst.data());
  check(untouched(dst, src.size() + 1, '\x55'));
}

// QMBStrTrunc keeps n bytes, or n - 1 when a lead byte's trail byte lies
// past n; bytes past the cut are left as they were.
void checkTruncate(const std::string &src, uint8_t cut, bool dbcs) {
  if (src.empty()) return;
  const auto n = static_cast<int32_t>(cut % (src.size() + 1));
  std::vector<char> s(src.c_str(), src.c_str() + src.size() + 1);
  s.insert(s.end(), 8, '\x55');
  const int32_t kept = QMBStrTrunc(s.data(), n);
  check(kept >= 0 && kept <= n && s[static_cast<std::size_t>(kept)] == '\0');
  check(std::equal(s.begin(), s.begin() + kept, src.begin()));
  check(std::equal(s.begin() + n + 1, s.begin() + static_cast<long>(src.size()) + 1, src.c_str() + n + 1));
  check(untouched(s, src.size() + 1, '\x55'));
  int32_t pos = 0;
  while (pos < kept) pos += dbcs && isLead(src[static_cast<std::size_t>(pos)]) ? 2 : 1;
  check(pos == kept && (kept == n || (dbcs && kept == n - 1 && isLead(src[static_cast<std::size_t>(kept)]))));
}

// The whole conversion writes each native character's ANSI code (0x80 for
// none); the bounded copy keeps the longest prefix that fits.
void checkBoundedToAnsi(const std::vector<uint16_t> &natives, uint32_t capacityArg) {
  const uint32_t capacity = capacityArg & 0xFFFF;
  std::vector<char> dst(capacity + 8, '\x55');
  const uint16_t result = Q6wzToazNB(natives.data(), dst.data(), capacityArg);
  if (capacity == 0) return check(result == 0 && untouched(dst, 0, '\x55'));
  std::string expected;
  for (std::size_t i = 0; natives[i] != 0; ++i) {
    const uint16_t code = QcvtQxToNtv(QtpiGetAnsiCodepageTbl(), natives[i]);
    std::string next = code == 0xFFFF ? "\x80" : std::string(1, static_cast<char>(code & 0xFF));
    if (code != 0xFFFF && code > 0xFF) next.insert(next.begin(), static_cast<char>(code >> 8));
    if (expected.size() + next.size() > capacity - 1) break;
    expected += next;
  }
  check(result == 1 && std::memcmp(dst.data(), expected.data(), expected.size()) == 0);
  check(dst[expected.size()] == '\0' && untouched(dst, capacity, '\x55'));
  check(Q6wzToazNB(nullptr, dst.data(), capacityArg) == 0 && Q6wzToazNB(natives.data(), nullptr, capacityArg) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  qstr::fuzz::Input in(data, size);
  qstr::fuzz::useHostKind(in.byte());
  const bool dbcs = qstr::host::dbcsEnabled() != 0;
  const uint8_t cut = in.byte();
  const uint8_t capacityByte = in.byte();
  const uint32_t capacity = (capacityByte & 0x7F) | (capacityByte & 0x80 ? 0x10000u : 0);
  std::vector<uint8_t> bytes = in.rest();
  if (bytes.size() > 2048) bytes.resize(2048);
  const std::string text = std::string(bytes.begin(), bytes.end()).c_str();
  checkStripAmpersand(text, dbcs);
  checkTruncate(text, cut, dbcs);
  // The same bytes as native characters, two at a time.
  std::vector<uint16_t> natives;
  for (std::size_t i = 0; i + 1 < bytes.size() && (bytes[i] | bytes[i + 1]) != 0; i += 2) {
    natives.push_back(static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8));
  }
  natives.push_back(0);
  checkBoundedToAnsi(natives, capacity);
  return 0;
}
