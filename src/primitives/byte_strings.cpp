// Byte-string primitives (wstr...).
#include <cstring>

#include "host/host.h"
#include "qstr14/strings.h"

namespace {

bool isLeadByte(char c) { return qstr::host::isDbcsLeadByte(static_cast<uint8_t>(c)); }

int32_t byteDifference(char a, char b) {
  return static_cast<int32_t>(static_cast<uint8_t>(a)) - static_cast<int32_t>(static_cast<uint8_t>(b));
}

}  // namespace

uint32_t QSTR_CALL wstrlen(const char *s) { return s == nullptr ? 0 : static_cast<uint32_t>(std::strlen(s)); }

char *QSTR_CALL wstrcpy(char *dst, const char *src) {
  if (dst == nullptr || src == nullptr) return nullptr;
  return std::strcpy(dst, src);
}

char *QSTR_CALL wstrcat(char *dst, const char *src) { return std::strcat(dst, src); }

char *QSTR_CALL wstrncat(char *dst, const char *src, uint32_t n) {
  if (n == 0) return dst;
  char *out = dst + std::strlen(dst);
  for (uint32_t i = 0; i < n; ++i) {
    *out++ = src[i];
    if (src[i] == '\0') return dst;
  }
  *out = '\0';
  return dst;
}

char *QSTR_CALL wstrncpy(char *dst, const char *src, uint32_t n) {
  char *out = dst;
  while (n > 0) {
    char byte = *src++;
    --n;
    if (isLeadByte(byte)) {
      if (n == 0) break;  // only the lead byte would fit: write nothing more
      *out++ = byte;
      byte = *src++;
      --n;
    }
    *out++ = byte;
    if (byte == '\0') {
      std::memset(out, 0, n);
      break;
    }
  }
  return dst;
}

void QSTR_CALL CopyUpToAndNullTerminate(char *dst, const char *src, int32_t size) {
  if (size < 1) return;  // no room even for the terminator
  char *out = dst;
  int32_t room = size;
  while (room > 1) {
    const char byte = *src++;
    *out++ = byte;
    --room;
    if (isLeadByte(byte)) {
      const char trail = *src++;
      *out++ = trail;
      --room;
      if (trail == '\0' || room == 0) {
        out -= 2;  // the pair does not fit whole: the terminator takes the lead's place
        break;
      }
    } else if (byte == '\0') {
      break;
    }
  }
  *out = '\0';
}

int32_t QSTR_CALL wstrcmp(const char *a, const char *b) {
  if (a == nullptr || b == nullptr) return 0;
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return byteDifference(*a, *b);
}

int32_t QSTR_CALL wstrncmp(const char *a, const char *b, int32_t n) {
  for (; n > 0; --n, ++a, ++b) {
    if (*a != *b) return byteDifference(*a, *b);
    if (*a == '\0') return 0;
  }
  return 0;
}

char *QSTR_CALL wstrchr(const char *s, uint32_t c) {
  const char wanted = static_cast<char>(c);
  if (wanted == '\0') return nullptr;
  for (; *s != '\0'; ++s) {
    if (*s == wanted) return const_cast<char *>(s);
  }
  return nullptr;
}

char *QSTR_CALL wstrrchr(const char *s, uint32_t c) {
  const char wanted = static_cast<char>(c);
  for (uint32_t i = wstrlen(s); i > 0; --i) {
    if (s[i - 1] == wanted) return const_cast<char *>(s + i - 1);
  }
  return nullptr;
}
