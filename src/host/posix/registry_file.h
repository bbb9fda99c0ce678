// Portable backend: the registry file on disk, its lock and its reloads.
//
// Reading never locks: a writer replaces the file by an atomic rename, so a
// reader sees either the old or the new file whole. Writing is
// load-modify-save under an exclusive advisory lock (flock) on "PATH.lock",
// a separate file, because a lock on the registry file itself would be lost
// when the rename replaces it. The new text goes to a temporary file in the
// same folder, is flushed to disk, and is renamed over the old file; then the
// folder is flushed so that the rename itself survives a crash.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "regdb/database.h"
#include "regdb/tree.h"

namespace qstr::host::registry {

using regdb::Tree;

// The storage of the registry database in the profile's registry file.
class RegistryFile final : public regdb::Storage {
 public:
  explicit RegistryFile(std::string path) : path_(std::move(path)) {}

  // Makes `tree` hold the file's current content, reading the file again
  // only when it was replaced or changed since the last read. A missing file
  // is an empty registry. Returns 0, kErrorBadDb (the file does not parse)
  // or kErrorRegistryIo (it cannot be read); problem() then says why.
  int32_t refresh(Tree &tree) override;

  // Under the file lock: refreshes `tree`, applies `change`, and when it
  // reports a change saves the tree. Creates the folder on the first write.
  // Returns the change's result, or the failure that stopped it; a file
  // that does not parse is left as it is.
  int32_t update(Tree &tree, const Change &change) override;

  // Whether the file existed at the last refresh or update.
  bool exists() const override { return stamp_.exists; }

  // "FILE:LINE: message" or "FILE: message" after a failed refresh or update.
  const std::string &problem() const override { return problem_; }

 private:
  // What identifies one version of the file: a save always makes a new
  // inode, and an edit in place changes the size or the time.
  struct Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const Stamp &other) const;
  };

  int32_t statFile(Stamp *stamp);
  int32_t load(Tree &tree, const Stamp &stamp);
  int32_t save(const Tree &tree);
  int32_t ioFailure(const std::string &what, int error);

  std::string path_;
  bool loaded_ = false;  // `stamp_` and `status_` describe the last read
  Stamp stamp_;
  int32_t status_ = 0;   // result of the last read
  std::string problem_;
};

}  // namespace qstr::host::registry
