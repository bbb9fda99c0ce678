// The registry database: keys and typed values in a tree, reached through
// handles as the Windows registry functions reach them, kept in a storage
// that the host provides (a file) or in memory alone.
//
// A handle names a key path (and the access it was opened with), not a
// node of the tree, so handles stay valid when the storage replaces the
// tree; an operation on a handle whose key has since disappeared fails with
// kErrorKeyDeleted. Keys created while the storage holds nothing yet are
// kept aside until the first value is set, so that opening keys alone
// creates no file. Results are Windows error codes. Not thread-safe: the
// host's adapter holds a lock around each call.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/windows_codes.h"
#include "regdb/tree.h"

namespace qstr::regdb {

using windows::RegKey;

// Where the tree lives between operations.
class Storage {
 public:
  // A change to the tree: returns a Windows error code and sets `changed`
  // when the tree must be saved.
  using Change = std::function<int32_t(Tree &tree, bool *changed)>;

  virtual ~Storage() = default;
  // Makes `tree` hold the stored content. 0, kErrorBadDb or kErrorRegistryIo.
  virtual int32_t refresh(Tree &tree) = 0;
  // Refreshes `tree`, applies `change` and saves the result when the change
  // reports one. Returns the change's result, or the failure that stopped it.
  virtual int32_t update(Tree &tree, const Change &change) = 0;
  // Whether anything was stored at the last refresh or update.
  virtual bool exists() const = 0;
  // What went wrong at the last failed refresh or update.
  virtual const std::string &problem() const = 0;
};

class Database {
 public:
  // Forgets the tree and the keys kept aside and keeps the tree in
  // `storage` from now on; null keeps it in memory. Open handles stay open.
  void attach(std::unique_ptr<Storage> storage);

  // Opens, or with `create` creates, `subKey` below `parent`.
  int32_t openKey(RegKey parent, const char *subKey, uint32_t access, bool create, RegKey *result,
                  uint32_t *disposition);
  // `size` in and out, as RegQueryValueExA takes it.
  int32_t queryValue(RegKey key, const char *name, uint32_t *type, uint8_t *data, uint32_t *size);
  int32_t setValue(RegKey key, const char *name, uint32_t type, const uint8_t *data, uint32_t size);
  int32_t closeKey(RegKey key);

  // The values of a key in the order they were first set.
  int32_t listValues(RegKey key, std::vector<Value> *values);
  // The names of the keys directly below a key, sorted without regard to case.
  int32_t listSubkeys(RegKey key, std::vector<std::string> *names);

  // Brings the tree up to date: 0, kErrorBadDb or kErrorRegistryIo.
  int32_t refresh();
  bool inMemory() const { return storage_ == nullptr; }
  // What went wrong at the last failed refresh; empty in memory.
  std::string problem() const { return storage_ ? storage_->problem() : std::string(); }

 private:
  struct OpenKey {
    std::string path;  // canonical: root name, then names joined by '\'
    uint32_t rights;   // specific rights, generic ones mapped
  };

  int32_t update(const Storage::Change &change);
  int32_t lookupHandle(RegKey handle, OpenKey *open) const;
  RegKey newHandle(std::string path, uint32_t access);
  bool isPending(const std::string &path) const;
  bool keyExists(const std::string &path) const;
  int32_t withKey(RegKey handle, const std::function<void(const Key *, const std::string &)> &read);

  std::unique_ptr<Storage> storage_;
  Tree tree_;
  // Keys created while the storage holds nothing (their paths, by the paths
  // case-folded): the first value set writes them all with it.
  std::map<std::string, std::string> pendingKeys_;
  std::map<RegKey, OpenKey> handles_;
  RegKey nextHandle_ = kFirstHandle;

  // Handles of opened keys: below the predefined roots, never null.
  static constexpr RegKey kFirstHandle = 0x1000;
};

}  // namespace qstr::regdb
