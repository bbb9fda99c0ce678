// CKZKey: a registry key named by a textual path, with typed values that may
// be locked (bit 30 of the stored type) or be links to other values.
//
// A key is constructed, tested with Key() != 0 (Status() says why not),
// queried or set, and destroyed, which closes it. Its link resolver is
// created on the first QueryValue or SetValue that follows a link, and the
// key keeps the outcome of that set-up without retrying.
#pragma once

#include <cstdint>
#include <memory>

#include "host/host.h"

namespace qstr::registry {

class HeapBlock;
class LinkResolver;

class CKZKey {
 public:
  // Longest path the path constructor accepts, in characters.
  static constexpr std::size_t kMaxPathLength = 199;

  // Creates or opens the key at `path` ("HKEY_CURRENT_USER\Software\...",
  // root name in any case) with `access`. A path with no known root, or
  // longer than kMaxPathLength, leaves the key closed with status 1010.
  CKZKey(const char *path, uint32_t access);
  // Creates or opens `subKey` below `root` with access 0x2001F; a null or
  // empty `subKey` opens `root` itself.
  CKZKey(host::RegKey root, const char *subKey);
  CKZKey(const CKZKey &) = delete;
  CKZKey &operator=(const CKZKey &) = delete;
  ~CKZKey();

  host::RegKey Key() const { return key_; }
  bool Created() const { return created_ != 0; }
  uint32_t Access() const { return access_; }
  int32_t Status() const { return status_; }

  // Reads the value `name`. `type` receives the stored type without the
  // lock flag, `lock` the flag (0x40000000 or 0); `size` is the buffer's
  // size in bytes, then the data's (left alone for a link value read as it
  // is). Returns the host's result: 0, 2 (no such value), 234 (the buffer
  // is too small; `size` is what is needed), ...
  //
  // With `resolve` set, a buffer and a size, a link value is evaluated and
  // its result stored in `data` instead: the plain value it leads to (its
  // data and type), or its text (UTF-16 with a terminator, the link type).
  // The result is cut at the buffer's size, `size` receives its whole
  // length in bytes, and the return is 0 (the read of the link's text).
  // An evaluation that fails leaves the buffer as the plain read left it
  // and returns that read's result; ResolverError() then says why.
  int32_t QueryValue(const char *name, uint32_t *type, uint32_t *lock, void *data,
                     uint32_t *size, int resolve);

  // Writes the value `name`. A locked value is refused with 5 unless `force`
  // is set. With `resolve` set and an existing link value, the write goes to
  // the value the link refers to (the link's reference-mode result, read as
  // a reference: rooted, or relative to the resolver's "Software" key), and
  // the result is that of the first read of the link (the write through it
  // follows the same rules, without force and without resolving further).
  int32_t SetValue(const char *name, uint32_t type, const void *data, uint32_t size, int resolve,
                   int force);

  // The resolver's last error (0 when none, or no resolver).
  uint32_t ResolverError() const;

 private:
  bool EnsureResolver();
  // Reads the data of the link value `name` into `block`; `bytes` its size.
  int32_t ReadLinkData(const char *name, HeapBlock &block, uint32_t *bytes);
  int32_t WriteThroughLink(const char *name, uint32_t type, const void *data, uint32_t size);

  host::RegKey key_ = 0;
  uint32_t created_ = 0;
  uint32_t access_ = 0;
  int32_t status_ = 0;
  std::unique_ptr<LinkResolver> resolver_;
  uint32_t resolverStatus_ = 0;
};

}  // namespace qstr::registry
