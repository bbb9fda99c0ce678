// The host profile kinds the targets run under, each fresh as in a new process: two Western and four East
// Asian with double-byte support.
#pragma once

#include <optional>
#include <string>

#include "codepage/state.h"
#include "frame/country.h"
#include "host/profile.h"
#include "host/registry_store.h"

namespace qstr::fuzz {

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
