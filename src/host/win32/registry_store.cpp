// Win32 backend: the registry store's inspection operations over the real
// registry.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>

#include "host/registry_store.h"

namespace qstr::host::registry {

StoreStatus storeStatus() {
  StoreStatus status;
  status.usable = true;
  status.path = "the Windows registry";
  return status;
}

// The real registry keeps no cached state here.
void resetStore() {}

int32_t listValues(RegKey key, std::vector<ValueRecord> *values) {
  values->clear();
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD nameLength = sizeof name;
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = RegEnumValueA(reinterpret_cast<HKEY>(key), index, name, &nameLength, nullptr, &type, nullptr, &bytes);
    if (status == ERROR_NO_MORE_ITEMS) return 0;
    if (status != ERROR_SUCCESS) return status;
    ValueRecord record;
    record.name.assign(name, nameLength);
    record.type = type;
    record.data.resize(bytes);
    nameLength = sizeof name;
    status = RegEnumValueA(reinterpret_cast<HKEY>(key), index, name, &nameLength, nullptr, &type,
                           record.data.data(), &bytes);
    if (status != ERROR_SUCCESS) return status;
    record.data.resize(bytes);
    values->push_back(std::move(record));
  }
}

int32_t listSubkeys(RegKey key, std::vector<std::string> *names) {
  names->clear();
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    const LONG status = RegEnumKeyExA(reinterpret_cast<HKEY>(key), index, name, &length, nullptr, nullptr, nullptr,
                                      nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return status;
    names->emplace_back(name, length);
  }
  std::sort(names->begin(), names->end(), [](const std::string &a, const std::string &b) {
    return _stricmp(a.c_str(), b.c_str()) < 0;
  });
  return 0;
}

}  // namespace qstr::host::registry
