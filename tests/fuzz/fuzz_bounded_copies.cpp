// The bounded byte copies under every host profile kind: never past the
// size, always terminated where they promise, never a split double-byte
// character.
#include <cstring>
#include <string>
#include <vector>

#include "base/double_byte_pages.h"
#include "fuzz_support.h"
#include "host/profile.h"
#include "qstr14/strings.h"

using qstr::fuzz::check;
using qstr::fuzz::untouched;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  static const uint32_t kCodePages[] = {1252, 932, 936, 949, 950};
  qstr::fuzz::Input in(data, size);
  qstr::host::HostProfile profile = qstr::host::hostProfile();
  profile.ansiCodePage.value = kCodePages[in.byte() % 5];
  profile.dbcsEnabled.value = qstr::base::isHostDoubleByteCodePage(profile.ansiCodePage.value);
  qstr::host::installHostProfile(profile);
  const int32_t room = in.byte();
  const std::vector<uint8_t> bytes = in.rest();
  const std::string source = std::string(bytes.begin(), bytes.end()).c_str();  // up to the first zero byte
  const auto end = static_cast<std::size_t>(room);

  std::vector<char> dst(end + 8, '\x55');
  CopyUpToAndNullTerminate(dst.data(), source.c_str(), room);
  check(room == 0 || std::strlen(dst.data()) < end);
  check(untouched(dst, end, '\x55'));
  std::vector<char> padded(end + 8, '\x55');
  wstrncpy(padded.data(), source.c_str(), static_cast<uint32_t>(room));
  check(untouched(padded, end, '\x55'));
  return 0;
}
