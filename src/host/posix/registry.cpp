// Portable backend: the registry operations over the registry database,
// kept in the profile's registry file (or in memory for ":memory:"), one
// operation at a time under a lock.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "host/host.h"
#include "host/posix/registry_file.h"
#include "host/profile.h"
#include "host/registry_store.h"
#include "regdb/database.h"

namespace qstr::host {
namespace registry {
namespace {

constexpr std::string_view kInMemoryPath = ":memory:";

struct Store {
  std::mutex mutex;
  bool configured = false;
  std::string path;
  regdb::Database database;
};

Store &store() {
  static Store instance;
  return instance;
}

// The database, attached to the profile's registry at the first use after
// the start or a reset. Called under the store's lock.
regdb::Database &database(Store &s) {
  if (!s.configured) {
    s.path = hostProfile().registryPath.value;
    const bool inMemory = s.path == kInMemoryPath || s.path.empty();
    s.database.attach(inMemory ? nullptr : std::make_unique<RegistryFile>(s.path));
    s.configured = true;
  }
  return s.database;
}

// Runs `operation` on the database under the store's lock.
template <typename Operation>
auto locked(Operation &&operation) {
  Store &s = store();
  const std::lock_guard<std::mutex> guard(s.mutex);
  return operation(database(s));
}

}  // namespace

StoreStatus storeStatus() {
  Store &s = store();
  const std::lock_guard<std::mutex> guard(s.mutex);
  regdb::Database &db = database(s);
  StoreStatus report;
  report.usable = db.refresh() == kErrorSuccess;
  report.inMemory = db.inMemory();
  report.path = s.path;
  if (!report.usable) report.message = db.problem();
  return report;
}

void resetStore() {
  Store &s = store();
  const std::lock_guard<std::mutex> guard(s.mutex);
  s.configured = false;
  s.database.attach(nullptr);
}

int32_t listValues(RegKey key, std::vector<ValueRecord> *values) {
  return locked([&](regdb::Database &db) { return db.listValues(key, values); });
}

int32_t listSubkeys(RegKey key, std::vector<std::string> *names) {
  return locked([&](regdb::Database &db) { return db.listSubkeys(key, names); });
}

}  // namespace registry

int32_t regCreateKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result,
                     uint32_t *disposition) {
  return registry::locked(
      [&](regdb::Database &db) { return db.openKey(parent, subKey, access, true, result, disposition); });
}

int32_t regOpenKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result) {
  return registry::locked(
      [&](regdb::Database &db) { return db.openKey(parent, subKey, access, false, result, nullptr); });
}

int32_t regQueryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data,
                      uint32_t *size) {
  return registry::locked([&](regdb::Database &db) { return db.queryValue(key, name, type, data, size); });
}

int32_t regSetValue(RegKey key, const char *name, uint32_t type, const uint8_t *data,
                    uint32_t size) {
  return registry::locked([&](regdb::Database &db) { return db.setValue(key, name, type, data, size); });
}

int32_t regCloseKey(RegKey key) {
  return registry::locked([&](regdb::Database &db) { return db.closeKey(key); });
}

}  // namespace qstr::host
