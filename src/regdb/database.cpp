#include "regdb/database.h"

#include <algorithm>

namespace qstr::regdb {
namespace {

using namespace qstr::windows;

uint32_t specificRights(uint32_t access) {
  uint32_t rights = access;
  if (access & kGenericRead) rights |= kKeyRead;
  if (access & kGenericWrite) rights |= kKeyWrite;
  if (access & (kGenericAll | kMaximumAllowed)) rights |= kKeyAllAccess;
  return rights;
}

std::size_t depthOf(std::string_view path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\')); }

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

// Predefined roots always exist; other keys exist when the tree has them.
bool inTree(const Tree &tree, const std::string &path) { return depthOf(path) == 0 || tree.find(path) != nullptr; }

}  // namespace

void Database::attach(std::unique_ptr<Storage> storage) {
  storage_ = std::move(storage);
  tree_.clear();
  pendingKeys_.clear();
}

int32_t Database::refresh() { return storage_ ? storage_->refresh(tree_) : kErrorSuccess; }

int32_t Database::update(const Storage::Change &change) {
  if (storage_) return storage_->update(tree_, change);
  bool changed = false;
  return change(tree_, &changed);
}

int32_t Database::lookupHandle(RegKey handle, OpenKey *open) const {
  std::string_view root = rootNameOfHandle(handle);
  if (!root.empty()) {
    *open = OpenKey{std::string(root), kKeyAllAccess};
    return kErrorSuccess;
  }
  auto found = handles_.find(handle);
  if (found == handles_.end()) return kErrorInvalidHandle;
  *open = found->second;
  return kErrorSuccess;
}

// Handles count up by 4 below the predefined roots, then start over,
// skipping those still open.
RegKey Database::newHandle(std::string path, uint32_t access) {
  while (handles_.count(nextHandle_) != 0 || nextHandle_ >= kHkeyClassesRoot) {
    nextHandle_ = nextHandle_ >= kHkeyClassesRoot ? kFirstHandle : nextHandle_ + 4;
  }
  RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, OpenKey{std::move(path), specificRights(access)});
  return handle;
}

// A pending key, or a key above one, exists too.
bool Database::isPending(const std::string &path) const {
  const std::string folded = foldCase(path);
  if (pendingKeys_.count(folded) != 0) return true;
  // The keys below it sort together, from the path and a backslash on.
  const std::string below = folded + '\\';
  const auto next = pendingKeys_.lower_bound(below);
  return next != pendingKeys_.end() && next->first.compare(0, below.size(), below) == 0;
}

bool Database::keyExists(const std::string &path) const { return inTree(tree_, path) || isPending(path); }

int32_t Database::openKey(RegKey parent, const char *subKey, uint32_t access, bool create, RegKey *result,
                          uint32_t *disposition) {
  if (result == nullptr) return kErrorInvalidParameter;
  OpenKey parentKey;
  int32_t status = lookupHandle(parent, &parentKey);
  if (status != kErrorSuccess) return status;
  const std::string &parentPath = parentKey.path;
  std::string path = parentPath;
  if ((status = appendSubKey(path, subKey)) != kErrorSuccess) return status;
  if ((status = refresh()) != kErrorSuccess) return status;
  if (!keyExists(parentPath)) return kErrorKeyDeleted;
  bool created = false;
  if (!keyExists(path)) {
    if (!create) return kErrorFileNotFound;
    if (storage_ && !storage_->exists()) {
      pendingKeys_.emplace(foldCase(path), path);
      created = true;
    } else {
      status = update([&](Tree &tree, bool *changed) {
        if (!inTree(tree, parentPath)) return kErrorKeyDeleted;
        tree.ensure(path, &created);
        *changed = created;
        return kErrorSuccess;
      });
    }
    if (status != kErrorSuccess) return status;
  }
  *result = newHandle(path, access);
  if (disposition != nullptr) *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
  return kErrorSuccess;
}

int32_t Database::queryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data, uint32_t *size) {
  if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
  OpenKey open;
  int32_t status = lookupHandle(key, &open);
  if (status != kErrorSuccess) return status;
  if ((open.rights & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if ((status = refresh()) != kErrorSuccess) return status;
  if (!keyExists(open.path)) return kErrorKeyDeleted;
  const Key *node = tree_.find(open.path);
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

int32_t Database::setValue(RegKey key, const char *name, uint32_t type, const uint8_t *data, uint32_t size) {
  std::string_view valueName = name == nullptr ? "" : name;
  if ((data == nullptr && size > 0) || size > kMaxValueBytes || !isValidValueName(valueName)) {
    return kErrorInvalidParameter;
  }
  OpenKey open;
  int32_t status = lookupHandle(key, &open);
  if (status != kErrorSuccess) return status;
  if ((open.rights & kKeySetValue) == 0) return kErrorAccessDenied;
  const bool isRoot = depthOf(open.path) == 0;
  const bool wasPending = isPending(open.path);
  status = update([&](Tree &tree, bool *changed) {
    for (const auto &[folded, pending] : pendingKeys_) tree.ensure(pending, nullptr);
    Key *node = isRoot || wasPending ? &tree.ensure(open.path, nullptr) : tree.find(open.path);
    if (node == nullptr) return kErrorKeyDeleted;
    storeValue(*node, valueName, type, data, size);
    *changed = true;
    return kErrorSuccess;
  });
  if (status == kErrorSuccess) pendingKeys_.clear();
  return status;
}

int32_t Database::closeKey(RegKey key) {
  if (!rootNameOfHandle(key).empty()) return kErrorSuccess;
  return handles_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

// Runs `read` on the key a handle names, after a refresh. `node` is null
// for a root that holds nothing yet.
int32_t Database::withKey(RegKey handle, const std::function<void(const Key *, const std::string &)> &read) {
  OpenKey open;
  int32_t status = lookupHandle(handle, &open);
  if (status != kErrorSuccess) return status;
  if ((status = refresh()) != kErrorSuccess) return status;
  if (!keyExists(open.path)) return kErrorKeyDeleted;
  read(tree_.find(open.path), open.path);
  return kErrorSuccess;
}

int32_t Database::listValues(RegKey key, std::vector<Value> *values) {
  values->clear();
  return withKey(key, [values](const Key *node, const std::string &) {
    if (node != nullptr) *values = node->values;
  });
}

int32_t Database::listSubkeys(RegKey key, std::vector<std::string> *names) {
  names->clear();
  return withKey(key, [this, names](const Key *, const std::string &path) { *names = tree_.childNames(path); });
}

}  // namespace qstr::regdb
