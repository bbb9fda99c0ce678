// The registry's keys and typed values in memory, with the limits that both
// the operations and the file reader enforce, so that anything written can
// be read back and a hostile file cannot make the reader allocate without
// bound.
//
// A key is named by its full path: a root name ("HKEY_CURRENT_USER", ...)
// followed by backslash-separated key names. Key and value names compare
// without regard to ASCII case (other bytes compare exactly); a key keeps
// the spelling it was created with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qstr::regdb {

// Largest value data, in bytes.
inline constexpr std::size_t kMaxValueBytes = 1u << 20;
// Deepest key: key names below the root.
inline constexpr std::size_t kMaxKeyDepth = 512;
// Longest key name (one path component), in bytes.
inline constexpr std::size_t kMaxKeyNameBytes = 255;
// Longest value name, in bytes.
inline constexpr std::size_t kMaxValueNameBytes = 16383;

struct Value {
  std::string name;  // empty for the key's default value
  uint32_t type = 0;  // as stored, flag bits included
  std::vector<uint8_t> data;
};

struct Key {
  std::string path;  // full path as first created, root name in capitals
  std::vector<Value> values;  // in the order they were first set
};

// The canonical root name ("HKEY_CURRENT_USER") of a root name in any case,
// or empty when `name` names no root.
std::string_view canonicalRootName(std::string_view name);
// The root name of a predefined key handle (0x80000000-0x80000006), or empty.
std::string_view rootNameOfHandle(std::uintptr_t handle);

// True for a usable key name: 1 to kMaxKeyNameBytes bytes, no backslash, no
// control character (which the file could not hold on one line).
bool isValidKeyName(std::string_view name);
// True for a usable value name: at most kMaxValueNameBytes bytes, no control
// character.
bool isValidValueName(std::string_view name);

class Tree {
 public:
  // The key at `path`, or null. `path` must be in canonical form (root name,
  // then names joined by single backslashes); case is ignored.
  Key *find(std::string_view path);
  const Key *find(std::string_view path) const;
  // The key at `path`, created with every missing ancestor. `created` tells
  // whether the key itself was missing.
  Key &ensure(std::string_view path, bool *created);
  // Names of the keys directly below `path`, in sorted order.
  std::vector<std::string> childNames(std::string_view path) const;
  // Every key, parents before their children.
  std::vector<const Key *> keysInOrder() const;
  bool empty() const { return keys_.empty(); }
  void clear() { keys_.clear(); }

 private:
  std::map<std::string, Key> keys_;  // by sortKey(path)
};

// The value named `name` (case ignored), or null.
Value *findValue(Key &key, std::string_view name);
const Value *findValue(const Key &key, std::string_view name);
// Replaces or adds the value `name`.
void storeValue(Key &key, std::string_view name, uint32_t type, const uint8_t *data,
                std::size_t size);

// Upper-cases ASCII letters; other bytes stay.
std::string foldCase(std::string_view text);

}  // namespace qstr::regdb
