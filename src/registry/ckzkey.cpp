// CKZKey: registry keys by path, typed and locked values, links.
#include "registry/ckzkey.h"

#include <cstring>
#include <new>

#include "registry/ansi_text.h"
#include "registry/heap_block.h"
#include "registry/link_resolver.h"
#include "registry/registry_paths.h"

namespace qstr::registry {

CKZKey::CKZKey(const char *path, uint32_t access) : access_(access) {
  host::RegKey root = 0;
  const char *subKey = nullptr;
  if (path == nullptr || std::strlen(path) > kMaxPathLength ||
      !parseKeyPath(path, &root, &subKey)) {
    status_ = host::kErrorBadKey;
    return;
  }
  uint32_t disposition = 0;
  status_ = host::regCreateKey(root, subKey, access, &key_, &disposition);
  if (status_ != host::kErrorSuccess) {
    key_ = 0;
    return;
  }
  created_ = disposition == host::kRegCreatedNewKey ? 1 : 0;
}

CKZKey::CKZKey(host::RegKey root, const char *subKey) : access_(kRegistryAccess) {
  bool created = false;
  status_ = openSubKey(root, subKey, &key_, &created);
  if (status_ != host::kErrorSuccess) key_ = 0;
  created_ = created ? 1 : 0;
}

CKZKey::~CKZKey() {
  if (key_ != 0) host::regCloseKey(key_);
}

uint32_t CKZKey::ResolverError() const { return resolver_ != nullptr ? resolver_->LastError() : 0; }

bool CKZKey::EnsureResolver() {
  if (resolver_ == nullptr) {
    resolver_.reset(new (std::nothrow) LinkResolver());
    if (resolver_ == nullptr) return false;
    resolverStatus_ = static_cast<uint32_t>(resolver_->SetUp());
  }
  return resolverStatus_ == 1;
}

int32_t CKZKey::ReadLinkData(const char *name, HeapBlock &block, uint32_t *bytes) {
  *bytes = 0;
  int32_t status = host::regQueryValue(key_, name, nullptr, nullptr, bytes);
  if (status != host::kErrorSuccess) return status;
  if (!block.allocate(*bytes + sizeof(char16_t))) return host::kErrorOutOfMemory;
  return host::regQueryValue(key_, name, nullptr, block.get<uint8_t>(), bytes);
}

int32_t CKZKey::QueryValue(const char *name, uint32_t *type, uint32_t *lock, void *data,
                           uint32_t *size, int resolve) {
  uint32_t stored = 0;
  uint32_t bytes = size != nullptr ? *size : 0;
  int32_t status =
      host::regQueryValue(key_, name, &stored, static_cast<uint8_t *>(data), &bytes);
  uint32_t plainType = stored & ~kLockFlag;
  if (plainType != kLinkType && size != nullptr) *size = bytes;
  if (status != host::kErrorSuccess && status != host::kErrorMoreData) return status;
  if (type != nullptr) *type = plainType;
  if (lock != nullptr) *lock = stored & kLockFlag;
  if (!resolve || plainType != kLinkType || data == nullptr || size == nullptr ||
      !EnsureResolver()) {
    return status;
  }
  HeapBlock link;
  uint32_t linkBytes = 0;
  if (ReadLinkData(name, link, &linkBytes) != host::kErrorSuccess) return status;
  Evaluation result;
  if (resolver_->Evaluate(link.get<uint8_t>(), linkBytes, EvaluationMode::kReading, &result)) {
    return status;
  }
  // The result replaces the link's text, cut at the buffer's size; `size`
  // tells its whole length, so a caller sees when it was cut. The result is
  // that of the last registry read, the read of the link's text.
  std::memcpy(data, result.data, result.bytes < *size ? result.bytes : *size);
  *size = result.bytes;
  if (type != nullptr) *type = result.type & ~kLockFlag;
  if (lock != nullptr) *lock = result.type & kLockFlag;
  resolver_->FreeResult(&result);
  return host::kErrorSuccess;
}

int32_t CKZKey::SetValue(const char *name, uint32_t type, const void *data, uint32_t size,
                         int resolve, int force) {
  uint32_t existingType = 0, lock = 0, existingSize = 0;
  int32_t status = QueryValue(name, &existingType, &lock, nullptr, &existingSize, 0);
  if (status == host::kErrorSuccess && lock != 0 && !force) return host::kErrorAccessDenied;
  if (status != host::kErrorSuccess || existingType != kLinkType || !resolve) {
    return host::regSetValue(key_, name, type, static_cast<const uint8_t *>(data), size);
  }
  if (!EnsureResolver()) return status;
  WriteThroughLink(name, type, data, size);
  return status;
}

// Evaluates the link `name` in reference mode and writes the value there.
int32_t CKZKey::WriteThroughLink(const char *name, uint32_t type, const void *data,
                                 uint32_t size) {
  HeapBlock link;
  uint32_t linkBytes = 0;
  if (int32_t status = ReadLinkData(name, link, &linkBytes)) return status;
  Evaluation target;
  if (uint32_t error = resolver_->Evaluate(link.get<uint8_t>(), linkBytes,
                                           EvaluationMode::kReference, &target)) {
    return static_cast<int32_t>(error);
  }
  // The result is text with its terminator: the reference to write to.
  std::size_t units = target.bytes / sizeof(char16_t);
  HeapBlock text(units * sizeof(char16_t) + sizeof(char16_t));
  if (text.get() != nullptr && target.data != nullptr) std::memcpy(text.get(), target.data, units * 2);
  resolver_->FreeResult(&target);
  if (text.get() == nullptr) return host::kErrorOutOfMemory;
  auto *reference = text.get<char16_t>();
  while (units > 0 && reference[units - 1] == 0) --units;
  if (units == 0) return host::kErrorInvalidParameter;  // nowhere to write
  ParsedReference parsed = parseReference(reference, units);
  HeapBlock keyPath, valueName;
  if (utf16ToAnsi(parsed.keyPath, parsed.keyPathLength, keyPath) < 0 ||
      utf16ToAnsi(parsed.valueName, parsed.valueNameLength, valueName) < 0) {
    return static_cast<int32_t>(kErrorNoUnicodeTranslation);
  }
  CKZKey targetKey(parsed.root != 0 ? parsed.root : resolver_->SoftwareKey(), keyPath.get<char>());
  if (targetKey.Key() == 0) return targetKey.Status();
  return targetKey.SetValue(valueName.get<char>(), type, data, size, 0, 0);
}

}  // namespace qstr::registry
