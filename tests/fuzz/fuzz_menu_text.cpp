// Menu text clean-up and the bounded native-to-ANSI copy under every host
// profile kind: mnemonic removal never grows the text, truncation never
// splits a double-byte character, and the bounded copy keeps the longest
// prefix of the whole conversion that fits, writing nothing past its
// capacity.
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

constexpr char kGuard = '\x55';

bool isLead(char c) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(c)); }

// Mnemonic removal as the header describes it: the text and the last
// mnemonic code.
std::pair<std::string, uint16_t> withoutMnemonics(const std::string &src, bool dbcs) {
  std::string out;
  uint16_t mnemonic = 0;
  const auto at = [&src](std::size_t i) { return i < src.size() ? src[i] : '\0'; };
  for (std::size_t i = 0; i < src.size();) {
    if (src[i] == '&' && at(i + 1) == '&') {
      out += "&&";
      i += 2;
    } else if (src[i] == '&') {
      mnemonic = static_cast<uint16_t>(static_cast<signed char>(at(i + 1)));
      ++i;
    } else if (src[i] == '(' && dbcs) {
      const auto x = static_cast<uint8_t>(at(i + 1) == '\0' ? '\0' : at(i + 2));
      mnemonic = static_cast<uint16_t>(x < 0x80 ? 0x2800 + x : 0xFF00 + x);
      const std::size_t close = src.find(')', i);
      i = close == std::string::npos ? src.size() : close + 1;
    } else {
      out += src[i++];
    }
  }
  return {out, mnemonic};
}

void checkStripAmpersand(const std::string &src, bool dbcs) {
  std::vector<char> dst(src.size() + 1 + 8, kGuard);
  const uint16_t mnemonic = QstrStripAmpersand(dst.data(), src.c_str());
  const auto [text, expected] = withoutMnemonics(src, dbcs);
  check(mnemonic == expected);
  check(std::strlen(dst.data()) == text.size() && text == dst.data());
  check(untouched(dst, src.size() + 1, kGuard));
}

void checkTruncate(const std::string &src, uint8_t cut, bool dbcs) {
  if (src.empty()) return;
  const auto n = static_cast<int32_t>(cut % (src.size() + 1));  // the string has at least n bytes
  std::vector<char> s(src.begin(), src.end());
  s.push_back('\0');
  s.insert(s.end(), 8, kGuard);
  const int32_t kept = QMBStrTrunc(s.data(), n);
  check(kept >= 0 && kept <= n && s[static_cast<std::size_t>(kept)] == '\0');
  check(std::equal(s.begin(), s.begin() + kept, src.begin()));
  // Bytes past the cut are left as they were.
  check(std::equal(s.begin() + n + 1, s.begin() + static_cast<long>(src.size()) + 1,
                   src.c_str() + n + 1));
  check(untouched(s, src.size() + 1, kGuard));
  if (!dbcs) {
    check(kept == n);
    return;
  }
  // Walking the kept bytes by characters ends exactly at the cut; one byte
  // is given up only for a lead byte whose trail byte lies past n.
  int32_t pos = 0;
  while (pos < kept) pos += isLead(src[static_cast<std::size_t>(pos)]) ? 2 : 1;
  check(pos == kept);
  check(kept == n || (kept == n - 1 && isLead(src[static_cast<std::size_t>(kept)])));
}

// The host bytes of one native character as the whole conversion writes
// them (0x80 for one without an ANSI code).
std::string ansiBytes(uint16_t native) {
  const uint16_t code = QcvtQxToNtv(QtpiGetAnsiCodepageTbl(), native);
  if (code == 0xFFFF) return "\x80";
  std::string out;
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
  return out;
}

void checkBoundedToAnsi(const std::vector<uint16_t> &natives, uint32_t capacityArg) {
  const uint32_t capacity = capacityArg & 0xFFFF;
  std::vector<char> dst(capacity + 8, kGuard);
  const uint16_t result = Q6wzToazNB(natives.data(), dst.data(), capacityArg);
  if (capacity == 0) return check(result == 0 && untouched(dst, 0, kGuard));
  check(result == 1);
  std::string expected;
  for (std::size_t i = 0; natives[i] != 0; ++i) {
    const std::string next = ansiBytes(natives[i]);
    if (expected.size() + next.size() > capacity - 1) break;
    expected += next;
  }
  check(std::memcmp(dst.data(), expected.data(), expected.size()) == 0 && dst[expected.size()] == '\0');
  check(untouched(dst, capacity, kGuard));
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

  std::string text(bytes.begin(), bytes.end());
  text = text.c_str();
  checkStripAmpersand(text, dbcs);
  checkTruncate(text, cut, dbcs);

  // The same bytes as native characters, two at a time.
  std::vector<uint16_t> natives;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto element = static_cast<uint16_t>(bytes[i] | bytes[i + 1] << 8);
    if (element == 0) break;
    natives.push_back(element);
  }
  natives.push_back(0);
  checkBoundedToAnsi(natives, capacity);
  return 0;
}
