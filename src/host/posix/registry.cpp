// Portable backend: the registry operations over the registry store.
//
// A key handle names a key path (and the access it was opened with), not a
// node of the cached tree, so handles stay valid when the tree is reloaded
// from a file that another process replaced. An operation on a handle whose
// key has since disappeared from the file fails with kErrorKeyDeleted.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "host/host.h"
#include "host/posix/registry_file.h"
#include "host/profile.h"
#include "host/registry_store.h"
#include "regdb/tree.h"

namespace qstr::host {
namespace registry {
namespace {

using regdb::Key;
using regdb::Tree;
using regdb::Value;
using regdb::findValue;
using regdb::foldCase;
using regdb::isValidKeyName;
using regdb::isValidValueName;
using regdb::kMaxKeyDepth;
using regdb::kMaxValueBytes;
using regdb::rootNameOfHandle;
using regdb::storeValue;

constexpr std::string_view kInMemoryPath = ":memory:";
// Handles of opened keys: below the predefined roots, never null.
constexpr RegKey kFirstHandle = 0x1000;

// Access masks as the key operations check them.
constexpr uint32_t kGenericRead = 0x80000000u;
constexpr uint32_t kGenericWrite = 0x40000000u;
constexpr uint32_t kGenericAll = 0x10000000u;
constexpr uint32_t kMaximumAllowed = 0x02000000u;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kKeyAllAccess = 0xF003F;

struct OpenKey {
  std::string path;  // canonical: root name, then names joined by '\'
  uint32_t rights;   // specific rights, generic ones mapped
};

struct Store {
  std::mutex mutex;
  bool configured = false;
  std::string path;
  std::unique_ptr<RegistryFile> file;  // null for the in-memory registry
  Tree tree;
  // Keys created while the registry file does not exist (their paths, by
  // the paths case-folded): creating a key makes no file; the first value
  // set writes them all with it.
  std::map<std::string, std::string> pendingKeys;
  std::map<RegKey, OpenKey> handles;
  RegKey nextHandle = kFirstHandle;
};

Store &store() {
  static Store instance;
  return instance;
}

uint32_t specificRights(uint32_t access) {
  uint32_t rights = access;
  if (access & kGenericRead) rights |= kKeyRead;
  if (access & kGenericWrite) rights |= kKeyWrite;
  if (access & (kGenericAll | kMaximumAllowed)) rights |= kKeyAllAccess;
  return rights;
}

void configure(Store &s) {
  if (s.configured) return;
  s.path = hostProfile().registryPath.value;
  if (s.path == kInMemoryPath || s.path.empty()) {
    s.file.reset();
  } else {
    s.file = std::make_unique<RegistryFile>(s.path);
  }
  s.configured = true;
}

// Brings the cached tree up to date. 0, kErrorBadDb or kErrorRegistryIo.
int32_t refresh(Store &s) {
  configure(s);
  return s.file ? s.file->refresh(s.tree) : kErrorSuccess;
}

// Applies `change` to the current tree and saves the result when the change
// reports one. Returns the change's result, or the store's failure.
int32_t update(Store &s, const RegistryFile::Change &change) {
  configure(s);
  if (s.file) return s.file->update(s.tree, change);
  bool changed = false;
  return change(s.tree, &changed);
}

// Copies the key a handle names into `open`. 0, or kErrorInvalidHandle.
int32_t lookupHandle(const Store &s, RegKey handle, OpenKey *open) {
  std::string_view root = rootNameOfHandle(handle);
  if (!root.empty()) {
    *open = OpenKey{std::string(root), kKeyAllAccess};
    return kErrorSuccess;
  }
  auto found = s.handles.find(handle);
  if (found == s.handles.end()) return kErrorInvalidHandle;
  *open = found->second;
  return kErrorSuccess;
}

std::size_t depthOf(std::string_view path) {
  std::size_t depth = 0;
  for (char c : path) depth += c == '\\';
  return depth;
}

// Appends the names of `subKey` to `path`. Empty names (doubled, leading or
// trailing backslashes) are skipped. 0, or kErrorInvalidParameter for a bad
// name or a path deeper than kMaxKeyDepth.
int32_t appendSubKey(std::string &path, const char *subKey) {
  if (subKey == nullptr) return kErrorSuccess;
  std::string_view rest(subKey);
  std::size_t depth = depthOf(path);
  while (!rest.empty()) {
    std::size_t cut = rest.find('\\');
    std::string_view name = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    if (name.empty()) continue;
    if (!isValidKeyName(name) || ++depth > kMaxKeyDepth) return kErrorInvalidParameter;
    path.append(1, '\\').append(name);
  }
  return kErrorSuccess;
}

// Handles count up by 4 below the predefined roots, then start over,
// skipping those still open.
RegKey newHandle(Store &s, std::string path, uint32_t access) {
  while (s.handles.count(s.nextHandle) != 0 || s.nextHandle >= kHkeyClassesRoot) {
    s.nextHandle = s.nextHandle >= kHkeyClassesRoot ? kFirstHandle : s.nextHandle + 4;
  }
  RegKey handle = s.nextHandle;
  s.nextHandle += 4;
  s.handles.emplace(handle, OpenKey{std::move(path), specificRights(access)});
  return handle;
}

// Predefined roots always exist; other keys exist when the tree has them.
bool keyExists(const Tree &tree, const std::string &path) {
  return depthOf(path) == 0 || tree.find(path) != nullptr;
}

// A pending key, or a key above one, exists too.
bool isPending(const Store &s, const std::string &path) {
  const std::string folded = foldCase(path);
  if (s.pendingKeys.count(folded) != 0) return true;
  // The keys below it sort together, from the path and a backslash on.
  const std::string below = folded + '\\';
  const auto next = s.pendingKeys.lower_bound(below);
  return next != s.pendingKeys.end() && next->first.compare(0, below.size(), below) == 0;
}

bool keyExists(const Store &s, const std::string &path) { return keyExists(s.tree, path) || isPending(s, path); }

// Opens, or with `create` creates, the key `subKey` below `parent`.
int32_t openKey(RegKey parent, const char *subKey, uint32_t access, bool create, RegKey *result,
                uint32_t *disposition) {
  if (result == nullptr) return kErrorInvalidParameter;
  Store &s = store();
  std::lock_guard<std::mutex> guard(s.mutex);
  OpenKey parentKey;
  int32_t status = lookupHandle(s, parent, &parentKey);
  if (status != kErrorSuccess) return status;
  const std::string &parentPath = parentKey.path;
  std::string path = parentPath;
  if ((status = appendSubKey(path, subKey)) != kErrorSuccess) return status;
  if ((status = refresh(s)) != kErrorSuccess) return status;
  if (!keyExists(s, parentPath)) return kErrorKeyDeleted;
  bool created = false;
  if (!keyExists(s, path)) {
    if (!create) return kErrorFileNotFound;
    if (s.file && !s.file->exists()) {
      s.pendingKeys.emplace(foldCase(path), path);
      created = true;
    } else {
      status = update(s, [&](Tree &tree, bool *changed) {
      if (!keyExists(tree, parentPath)) return kErrorKeyDeleted;
      tree.ensure(path, &created);
      *changed = created;
      return kErrorSuccess;
      });
    }
    if (status != kErrorSuccess) return status;
  }
  *result = newHandle(s, path, access);
  if (disposition != nullptr) *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
  return kErrorSuccess;
}

// Reads a value into `data`. See regQueryValue in host.h.
int32_t queryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data, uint32_t *size) {
  if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
  Store &s = store();
  std::lock_guard<std::mutex> guard(s.mutex);
  OpenKey open;
  int32_t status = lookupHandle(s, key, &open);
  if (status != kErrorSuccess) return status;
  if ((open.rights & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if ((status = refresh(s)) != kErrorSuccess) return status;
  if (!keyExists(s, open.path)) return kErrorKeyDeleted;
  const Key *node = s.tree.find(open.path);
  const Value *value = node == nullptr ? nullptr : findValue(*node, name == nullptr ? "" : name);
  if (value == nullptr) return kErrorFileNotFound;
  if (type != nullptr) *type = value->type;
  if (size == nullptr) return kErrorSuccess;
  auto needed = static_cast<uint32_t>(value->data.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return kErrorMoreData;
  }
  if (data != nullptr && needed > 0) std::copy(value->data.begin(), value->data.end(), data);
  *size = needed;
  return kErrorSuccess;
}

int32_t setValue(RegKey key, const char *name, uint32_t type, const uint8_t *data,
                 uint32_t size) {
  std::string_view valueName = name == nullptr ? "" : name;
  if ((data == nullptr && size > 0) || size > kMaxValueBytes || !isValidValueName(valueName)) {
    return kErrorInvalidParameter;
  }
  Store &s = store();
  std::lock_guard<std::mutex> guard(s.mutex);
  OpenKey open;
  int32_t status = lookupHandle(s, key, &open);
  if (status != kErrorSuccess) return status;
  if ((open.rights & kKeySetValue) == 0) return kErrorAccessDenied;
  const bool isRoot = depthOf(open.path) == 0;
  const bool wasPending = isPending(s, open.path);
  status = update(s, [&](Tree &tree, bool *changed) {
    for (const auto &[folded, pending] : s.pendingKeys) tree.ensure(pending, nullptr);
    Key *node = isRoot || wasPending ? &tree.ensure(open.path, nullptr) : tree.find(open.path);
    if (node == nullptr) return kErrorKeyDeleted;
    storeValue(*node, valueName, type, data, size);
    *changed = true;
    return kErrorSuccess;
  });
  if (status == kErrorSuccess) s.pendingKeys.clear();
  return status;
}

// Runs `read` on the key a handle names, after a refresh.
// `node` is null for a root that holds nothing yet.
int32_t withKey(RegKey handle,
                const std::function<void(const Tree &, const Key *, const std::string &)> &read) {
  Store &s = store();
  std::lock_guard<std::mutex> guard(s.mutex);
  OpenKey open;
  int32_t status = lookupHandle(s, handle, &open);
  if (status != kErrorSuccess) return status;
  if ((status = refresh(s)) != kErrorSuccess) return status;
  if (!keyExists(s, open.path)) return kErrorKeyDeleted;
  read(s.tree, s.tree.find(open.path), open.path);
  return kErrorSuccess;
}

}  // namespace

StoreStatus storeStatus() {
  Store &s = store();
  std::lock_guard<std::mutex> guard(s.mutex);
  int32_t status = refresh(s);
  StoreStatus report;
  report.inMemory = !s.file;
  report.path = s.path;
  report.usable = status == kErrorSuccess;
  if (!report.usable && s.file) report.message = s.file->problem();
  return report;
}

void resetStore() {
  Store &s = store();
  std::lock_guard<std::mutex> guard(s.mutex);
  s.configured = false;
  s.file.reset();
  s.tree.clear();
  s.pendingKeys.clear();
}

int32_t listValues(RegKey key, std::vector<ValueRecord> *values) {
  values->clear();
  return withKey(key, [values](const Tree &, const Key *node, const std::string &) {
    if (node == nullptr) return;
    for (const Value &value : node->values) values->push_back({value.name, value.type, value.data});
  });
}

int32_t listSubkeys(RegKey key, std::vector<std::string> *names) {
  names->clear();
  return withKey(key, [names](const Tree &tree, const Key *, const std::string &path) {
    *names = tree.childNames(path);
  });
}

}  // namespace registry

using registry::kErrorInvalidHandle;

int32_t regCreateKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result,
                     uint32_t *disposition) {
  return registry::openKey(parent, subKey, access, true, result, disposition);
}

int32_t regOpenKey(RegKey parent, const char *subKey, uint32_t access, RegKey *result) {
  return registry::openKey(parent, subKey, access, false, result, nullptr);
}

int32_t regQueryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data,
                      uint32_t *size) {
  return registry::queryValue(key, name, type, data, size);
}

int32_t regSetValue(RegKey key, const char *name, uint32_t type, const uint8_t *data,
                    uint32_t size) {
  return registry::setValue(key, name, type, data, size);
}

int32_t regCloseKey(RegKey key) {
  if (!regdb::rootNameOfHandle(key).empty()) return kErrorSuccess;
  registry::Store &s = registry::store();
  std::lock_guard<std::mutex> guard(s.mutex);
  return s.handles.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace qstr::host
