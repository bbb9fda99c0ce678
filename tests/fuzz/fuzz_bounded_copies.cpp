// The bounded byte copies under every host profile kind: never past the
// size, always terminated where they promise, never a split double-byte
// character.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/double_byte_pages.h"
#include "fuzz_support.h"
#include "host/profile.h"
#include "qstr14/strings.h"

namespace {

void useCodePage(uint32_t codePage) {
  qstr::host::HostProfile profile = qstr::host::hostProfile();
  profile.ansiCodePage.value = codePage;
  profile.dbcsEnabled.value = qstr::base::isHostDoubleByteCodePage(codePage);
  qstr::host::installHostProfile(profile);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  static const uint32_t kCodePages[] = {1252, 932, 936, 949, 950};
  qstr::fuzz::Input in(data, size);
  useCodePage(kCodePages[in.byte() % 5]);
  const int32_t room = in.byte();
  std::vector<uint8_t> bytes = in.rest();
  std::string source(bytes.begin(), bytes.end());
  source = source.c_str();  // the strings end at their first zero byte

  std::vector<char> dst(static_cast<std::size_t>(room) + 8, '\x55');
  CopyUpToAndNullTerminate(dst.data(), source.c_str(), room);
  if (room >= 1 && std::strlen(dst.data()) >= static_cast<std::size_t>(room)) std::abort();
  for (std::size_t i = static_cast<std::size_t>(room); i < dst.size(); ++i) {
    if (dst[i] != '\x55') std::abort();
  }
  std::vector<char> padded(static_cast<std::size_t>(room) + 8, '\x55');
  wstrncpy(padded.data(), source.c_str(), static_cast<uint32_t>(room));
  for (std::size_t i = static_cast<std::size_t>(room); i < padded.size(); ++i) {
    if (padded[i] != '\x55') std::abort();
  }
  return 0;
}
