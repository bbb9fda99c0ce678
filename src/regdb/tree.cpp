// The registry's keys and values in memory.
#include "regdb/tree.h"

#include <cstring>

#include "base/ascii.h"

namespace qstr::regdb {
namespace {

// Root names in the order of their predefined handles 0x80000000 + i.
constexpr std::string_view kRootNames[] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};
constexpr std::uintptr_t kFirstRootHandle = 0x80000000u;

// The map key of a path: case folded, with the separator mapped below every
// character a name may hold, so that a key sorts directly before its
// children and children of one parent sort together.
constexpr char kSortSeparator = '\x01';

std::string sortKey(std::string_view path) {
  std::string key = foldCase(path);
  for (char &c : key) {
    if (c == '\\') c = kSortSeparator;
  }
  return key;
}

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool sameFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && foldCase(a) == foldCase(b);
}

}  // namespace

std::string foldCase(std::string_view text) { return base::toAsciiUpper(text); }

std::string_view canonicalRootName(std::string_view name) {
  for (std::string_view root : kRootNames) {
    if (sameFolded(root, name)) return root;
  }
  return {};
}

std::string_view rootNameOfHandle(std::uintptr_t handle) {
  if (handle < kFirstRootHandle) return {};
  std::uintptr_t index = handle - kFirstRootHandle;
  if (index >= std::size(kRootNames)) return {};
  return kRootNames[index];
}

bool isValidKeyName(std::string_view name) {
  if (name.empty() || name.size() > kMaxKeyNameBytes) return false;
  for (char c : name) {
    if (c == '\\' || isControl(c)) return false;
  }
  return true;
}

bool isValidValueName(std::string_view name) {
  if (name.size() > kMaxValueNameBytes) return false;
  for (char c : name) {
    if (isControl(c)) return false;
  }
  return true;
}

Key *Tree::find(std::string_view path) {
  auto found = keys_.find(sortKey(path));
  return found == keys_.end() ? nullptr : &found->second;
}

const Key *Tree::find(std::string_view path) const {
  auto found = keys_.find(sortKey(path));
  return found == keys_.end() ? nullptr : &found->second;
}

Key &Tree::ensure(std::string_view path, bool *created) {
  // Ancestors first: every prefix that ends before a separator.
  for (std::size_t cut = path.find('\\'); cut != std::string_view::npos;
       cut = path.find('\\', cut + 1)) {
    std::string_view ancestor = path.substr(0, cut);
    keys_.try_emplace(sortKey(ancestor), Key{std::string(ancestor), {}});
  }
  auto [entry, inserted] = keys_.try_emplace(sortKey(path), Key{std::string(path), {}});
  if (created != nullptr) *created = inserted;
  return entry->second;
}

std::vector<std::string> Tree::childNames(std::string_view path) const {
  std::vector<std::string> names;
  std::string prefix = sortKey(path) + kSortSeparator;
  for (auto entry = keys_.lower_bound(prefix);
       entry != keys_.end() && entry->first.compare(0, prefix.size(), prefix) == 0; ++entry) {
    if (entry->first.find(kSortSeparator, prefix.size()) != std::string::npos) continue;
    names.push_back(entry->second.path.substr(prefix.size()));
  }
  return names;
}

std::vector<const Key *> Tree::keysInOrder() const {
  std::vector<const Key *> keys;
  keys.reserve(keys_.size());
  for (const auto &entry : keys_) keys.push_back(&entry.second);
  return keys;
}

Value *findValue(Key &key, std::string_view name) {
  for (Value &value : key.values) {
    if (sameFolded(value.name, name)) return &value;
  }
  return nullptr;
}

const Value *findValue(const Key &key, std::string_view name) {
  return findValue(const_cast<Key &>(key), name);
}

void storeValue(Key &key, std::string_view name, uint32_t type, const uint8_t *data,
                std::size_t size) {
  Value *value = findValue(key, name);
  if (value == nullptr) {
    key.values.push_back(Value{std::string(name), 0, {}});
    value = &key.values.back();
  }
  value->type = type;
  value->data.assign(data, data + size);
}

}  // namespace qstr::regdb
