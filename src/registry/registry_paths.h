// Registry paths as the registry layer writes them: an ANSI key path that
// starts with a root name ("HKEY_CURRENT_USER\Software\..."), and the UTF-16
// references inside link expressions ("\HKEY_LOCAL_MACHINE\Key\Value", or
// "Key\Value" relative to the resolver's "Software" key).
#pragma once

#include <cstddef>

#include "host/host.h"

namespace qstr::registry {

// Splits an ANSI path into its root key and the subkey path after it. The
// root names are tried in a fixed order, each against as many leading
// characters of the path as it has, ignoring case; one character after the
// name (the separator) is skipped. Returns false for a null or empty path or
// one that starts with no root name.
bool parseKeyPath(const char *path, host::RegKey *root, const char **subKey);

// A reference split into its parts. Ranges point into the reference text.
struct ParsedReference {
  host::RegKey root = 0;  // 0: relative to the resolver's "Software" key
  const char16_t *keyPath = nullptr;  // may be empty: the value is in the root itself
  std::size_t keyPathLength = 0;      // in units
  const char16_t *valueName = nullptr;
  std::size_t valueNameLength = 0;    // in units
};

// Parses the text of a reference (`length` units, without its open and
// close characters). A leading backslash names a root up to the next
// backslash; an unknown root name, or no second backslash, means
// HKEY_CURRENT_USER with the whole text as the path. The path splits at its
// last backslash into key path and value name; without one it is a value
// name alone.
ParsedReference parseReference(const char16_t *text, std::size_t length);

}  // namespace qstr::registry

namespace qstr::registry {

// Access the registry layer opens its keys with: KEY_READ | KEY_WRITE.
inline constexpr uint32_t kRegistryAccess = 0x2001F;

// Opens a key below `root` the way the registry layer's inner keys do: a
// non-empty `subKey` is created when missing (`created` then set, when not
// null), a null or empty one opens `root` itself. Access kRegistryAccess.
// Returns the host's result code.
int32_t openSubKey(host::RegKey root, const char *subKey, host::RegKey *key, bool *created);

}  // namespace qstr::registry
