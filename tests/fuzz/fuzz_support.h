// The fuzz targets' check, input reader, builder of well-formed streams, and the host profile kinds they
// run under, each fresh as in a new process: two Western and four East Asian with double-byte support.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "codepage/state.h"
#include "frame/country.h"
#include "host/profile.h"
#include "host/registry_store.h"

namespace qstr::fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

template <typename T>
bool untouched(const std::vector<T> &buffer, std::size_t from, T guard) {
  return std::all_of(buffer.begin() + static_cast<long>(std::min(from, buffer.size())), buffer.end(),
                     [guard](T x) { return x == guard; });
}

// Bytes from the front of the input; 0 once it is used up.
class Input {
 public:
  Input(const uint8_t *data, std::size_t size) : data_(data), end_(data + size) {}
  uint8_t byte() { return data_ < end_ ? *data_++ : 0; }
  uint16_t word() { return static_cast<uint16_t>(byte() | byte() << 8); }
  bool empty() const { return data_ >= end_; }
  std::vector<uint8_t> rest() { return std::vector<uint8_t>(std::exchange(data_, end_), end_); }

 private:
  const uint8_t *data_;
  const uint8_t *end_;
};

// Stream functions trust item lengths.
inline std::vector<uint8_t> wellFormedStream(Input &in) {
  static const uint8_t kFixedLengths[15] = {4, 5, 3, 3, 3, 3, 4, 4, 4, 5, 5, 6, 6, 8, 8};
  std::vector<uint8_t> stream;
  while (!in.empty() && stream.size() < 4096) {
    const uint8_t kind = in.byte();
    if (kind < 0xD0 || kind == 0xFF) {
      if (kind != 0) stream.push_back(kind);
    } else if (kind <= 0xEF) {
      const auto length = static_cast<uint16_t>(7 + in.byte() % 32);
      std::vector<uint8_t> group(length, 0);
      for (uint16_t i = 1; i + 3 < length; ++i) group[i] = in.byte();
      group[0] = group[length - 1] = kind;
      group[2] = group[length - 3] = static_cast<uint8_t>(length);
      group[3] = group[length - 2] = static_cast<uint8_t>(length >> 8);
      stream.insert(stream.end(), group.begin(), group.end());
    } else {
      stream.push_back(kind);
      for (uint8_t i = 2; i < kFixedLengths[kind - 0xF0]; ++i) stream.push_back(in.byte());
      stream.push_back(kind);
    }
  }
  stream.push_back(0);
  return stream;
}

inline void useHostKind(uint8_t kind) {
  static const char *const kLocales[] = {"en_US", "de_DE", "ja_JP", "zh_CN", "ko_KR", "zh_TW"};
  static int current = -1;
  const int wanted = kind % 6;
  if (wanted == current) return;
  const std::string locale = kLocales[wanted];
  host::installHostProfile(host::deriveHostProfile([locale](const char *name) -> std::optional<std::string> {
    if (std::string(name) == "QSTR14_LOCALE") return locale;
    if (std::string(name) == "QSTR14_REGISTRY") return std::string(":memory:");
    return std::nullopt;
  }));
  host::registry::resetStore();
  frame::resetCountryDetection();
  codepage::resetCodePageState();
  current = wanted;
}

}  // namespace qstr::fuzz
