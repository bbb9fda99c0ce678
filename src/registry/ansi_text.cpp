// ANSI and UTF-16 conversions for the registry layer.
#include "registry/ansi_text.h"

#include <climits>
#include <type_traits>

#include "host/host.h"

namespace qstr::registry {
namespace {

template <typename Unit>
bool isAscii(const Unit *text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (static_cast<uint32_t>(static_cast<std::make_unsigned_t<Unit>>(text[i])) > 0x7F) return false;
  }
  return true;
}

}  // namespace

long ansiToUtf16(const char *text, std::size_t length, char16_t *out) {
  if (isAscii(text, length)) {
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<char16_t>(text[i]);
    return static_cast<long>(length);
  }
  if (length > INT_MAX) return -1;
  int units = host::multiByteToWideChar(host::ansiCodePage(), text, static_cast<int>(length), out,
                                        static_cast<int>(length));
  return units > 0 ? units : -1;
}

long utf16ToAnsi(const char16_t *text, std::size_t length, HeapBlock &out) {
  if (length > INT_MAX / 2 || !out.allocate(2 * length + 1)) return -1;
  char *bytes = out.get<char>();
  long count = static_cast<long>(length);
  if (isAscii(text, length)) {
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(text[i]);
  } else {
    count = host::wideCharToMultiByte(host::ansiCodePage(), text, static_cast<int>(length), bytes,
                                      static_cast<int>(2 * length));
    if (count <= 0) return -1;
  }
  bytes[count] = '\0';
  return count;
}

}  // namespace qstr::registry
