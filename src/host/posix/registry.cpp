// Portable backend: the registry. Not available yet: every operation fails,
// so callers fall back to their defaults.
#include "host/host.h"

namespace qstr::host {

int32_t regCreateKey(RegKey, const char *, uint32_t, RegKey *, uint32_t *) {
  return kErrorCallNotImplemented;
}

int32_t regOpenKey(RegKey, const char *, uint32_t, RegKey *) { return kErrorCallNotImplemented; }

int32_t regQueryValue(RegKey, const char *, uint32_t *, uint8_t *, uint32_t *) {
  return kErrorCallNotImplemented;
}

int32_t regSetValue(RegKey, const char *, uint32_t, const uint8_t *, uint32_t) {
  return kErrorCallNotImplemented;
}

int32_t regCloseKey(RegKey) { return kErrorCallNotImplemented; }

}  // namespace qstr::host
