// The portable backend's registry store, beyond the five operations of
// host.h: what tools and tests need to inspect and reset it. Internal: none
// of this leaves the library.
//
// The store keeps keys and typed values in one text file (see
// registry_format.h) at the host profile's registry path, or in memory when
// that path is ":memory:" (a private registry, never saved). Every change is
// load-modify-save under a lock and lands by atomic rename; every operation
// first reloads the file when another process has replaced it. A file that
// does not parse is never overwritten: the operations fail with
// kErrorBadDb until the user repairs it, and storeStatus() says where.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"
#include "regdb/tree.h"

namespace qstr::host::registry {

struct StoreStatus {
  bool usable = false;    // the operations can read and write
  bool inMemory = false;  // a private registry that is never saved
  std::string path;       // the registry file, or ":memory:"
  // Empty when usable; otherwise what is wrong, as "FILE:LINE: message"
  // for a file that does not parse and "FILE: message" for one that cannot
  // be read.
  std::string message;
};

// Reloads the file when it changed and reports whether the store is usable.
StoreStatus storeStatus();

// Forgets the cached registry (and the private in-memory one) and takes the
// registry path from the host profile again at the next use. Open handles
// stay open: they name key paths, not cached keys. Tests only.
void resetStore();

using ValueRecord = regdb::Value;  // name (empty for the default value), type as stored, data

// The values of the key `key`, in the order they were first set. Returns a
// Windows error code (0, 6 for an unknown handle, 1009, 1018).
int32_t listValues(RegKey key, std::vector<ValueRecord> *values);

// The names of the keys directly below `key`, sorted without regard to case.
// Returns a Windows error code as listValues does.
int32_t listSubkeys(RegKey key, std::vector<std::string> *names);

}  // namespace qstr::host::registry
