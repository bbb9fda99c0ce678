// KZSEARCHLIST: a sorted array of records, each a 32-bit payload followed by
// a key of a fixed byte size, found by binary search. The link resolver keeps
// in one the atoms of the links it is following, so that a link leading back
// to one of them is noticed.
//
// Keys compare as unsigned 32-bit numbers, which is why every operation
// refuses (returns 0) a list whose key size is not 4. Keys are unique: an
// insert of a present key replaces its payload or fails.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace qstr::registry {

class KZSEARCHLIST {
 public:
  // Flag: a search settles on the first of several equal keys. Keys are
  // unique here, and the search always settles on the first; the flag is
  // kept for callers that pass it.
  static constexpr uint32_t kFindFirst = 1;

  KZSEARCHLIST() = default;
  KZSEARCHLIST(const KZSEARCHLIST &) = delete;
  KZSEARCHLIST &operator=(const KZSEARCHLIST &) = delete;
  ~KZSEARCHLIST();

  // Allocates room for `capacity` records of a 4-byte payload and a
  // `keySize`-byte key from `heap` (null: the process heap). Returns 1, or 0
  // when the capacity is 0x7FFFFFFF or more or the allocation fails. A list
  // created before is emptied and its records freed.
  int Create(uint32_t capacity, uint32_t keySize, host::HeapHandle heap, uint32_t flags);

  // The record holding `key` (its payload first), with its index in
  // `index`; or null, with the index where the key would be inserted.
  // `index` may be null. Null as well for a list whose key size is not 4.
  uint8_t *Find(const void *key, uint32_t *index) const;

  // Inserts a record in key order, doubling the capacity when the list is
  // full. Returns 1 when inserted, or when the key was present and `replace`
  // is non-zero (its payload is then replaced); 0 otherwise.
  int Insert(const void *key, uint32_t payload, int replace);

  // Removes the record holding `key`. Returns 1 when one was removed.
  int Remove(const void *key);

  uint32_t Count() const { return count_; }
  uint32_t Capacity() const { return capacity_; }
  // The key of record `index` (below Count()), read as a 32-bit number.
  uint32_t KeyAt(uint32_t index) const;
  uint32_t PayloadAt(uint32_t index) const;

 private:
  uint32_t RecordSize() const { return 4 + keySize_; }
  uint8_t *RecordAt(uint32_t index) const { return records_ + static_cast<std::size_t>(index) * RecordSize(); }
  bool Grow();

  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  uint8_t *records_ = nullptr;
  host::HeapHandle heap_ = nullptr;
  uint32_t flags_ = 0;
  uint32_t keySize_ = 0;
};

}  // namespace qstr::registry
