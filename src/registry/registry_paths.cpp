// Key paths and link references.
#include "registry/registry_paths.h"

#include <cstring>
#include <string_view>

#include "base/ascii.h"

namespace qstr::registry {
namespace {

struct RootName {
  std::string_view name;
  host::RegKey key;
};

// The order in which key paths try the root names.
constexpr RootName kPathRoots[] = {
    {"HKEY_CURRENT_USER", host::kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", host::kHkeyLocalMachine},
    {"HKEY_CLASSES_ROOT", host::kHkeyClassesRoot},
    {"HKEY_USERS", host::kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", host::kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", host::kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", host::kHkeyDynData},
};

// The order in which references try them.
constexpr RootName kReferenceRoots[] = {
    {"HKEY_CLASSES_ROOT", host::kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", host::kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", host::kHkeyLocalMachine},
    {"HKEY_USERS", host::kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", host::kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", host::kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", host::kHkeyDynData},
};

using base::toAsciiUpper;

// Compares `length` units of `text` with `name`, ignoring ASCII case.
template <typename Unit>
bool equalsIgnoringCase(const Unit *text, std::size_t length, std::string_view name) {
  if (length != name.size()) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (toAsciiUpper(text[i]) != static_cast<Unit>(name[i])) return false;
  }
  return true;
}

}  // namespace

bool parseKeyPath(const char *path, host::RegKey *root, const char **subKey) {
  if (path == nullptr || path[0] == '\0') return false;
  std::size_t length = std::strlen(path);
  for (const RootName &candidate : kPathRoots) {
    std::size_t size = candidate.name.size();
    if (length < size || !equalsIgnoringCase(path, size, candidate.name)) continue;
    *root = candidate.key;
    *subKey = length == size ? path + size : path + size + 1;
    return true;
  }
  return false;
}

ParsedReference parseReference(const char16_t *text, std::size_t length) {
  ParsedReference parsed;
  const char16_t *path = text;
  std::size_t pathLength = length;
  if (length > 0 && text[0] == u'\\') {
    parsed.root = host::kHkeyCurrentUser;
    std::size_t second = 1;
    while (second < length && text[second] != u'\\') ++second;
    if (second < length) {
      for (const RootName &candidate : kReferenceRoots) {
        if (!equalsIgnoringCase(text + 1, second - 1, candidate.name)) continue;
        parsed.root = candidate.key;
        path = text + second + 1;
        pathLength = length - second - 1;
        break;
      }
    }
  }
  std::size_t lastSeparator = pathLength;
  for (std::size_t i = pathLength; i > 0; --i) {
    if (path[i - 1] == u'\\') {
      lastSeparator = i - 1;
      break;
    }
  }
  if (lastSeparator == pathLength) {
    parsed.keyPath = path;
    parsed.valueName = path;
    parsed.valueNameLength = pathLength;
  } else {
    parsed.keyPath = path;
    parsed.keyPathLength = lastSeparator;
    parsed.valueName = path + lastSeparator + 1;
    parsed.valueNameLength = pathLength - lastSeparator - 1;
  }
  return parsed;
}

}  // namespace qstr::registry

namespace qstr::registry {

int32_t openSubKey(host::RegKey root, const char *subKey, host::RegKey *key, bool *created) {
  if (created != nullptr) *created = false;
  if (subKey == nullptr || subKey[0] == '\0') {
    return host::regOpenKey(root, subKey, kRegistryAccess, key);
  }
  uint32_t disposition = 0;
  int32_t status = host::regCreateKey(root, subKey, kRegistryAccess, key, &disposition);
  if (status == host::kErrorSuccess && created != nullptr) {
    *created = disposition == host::kRegCreatedNewKey;
  }
  return status;
}

}  // namespace qstr::registry
