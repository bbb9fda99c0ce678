// A scratch block from the process heap recorded at load, freed when it goes
// out of scope.
#pragma once

#include <cstddef>

#include "frame/state.h"
#include "host/host.h"

namespace qstr::registry {

// The heap the registry layer allocates from: the process heap recorded at
// load, or the host's when the library was not attached (static linking).
inline host::HeapHandle registryHeap() {
  host::HeapHandle heap = frame::processHeapHandle();
  return heap != nullptr ? heap : host::processHeap();
}

class HeapBlock {
 public:
  HeapBlock() = default;
  // `bytes` zeroed bytes; get() is null when the allocation failed.
  explicit HeapBlock(std::size_t bytes) { allocate(bytes); }
  ~HeapBlock() { release(); }
  // Replaces the block by `bytes` zeroed bytes. False when that failed.
  bool allocate(std::size_t bytes) {
    release();
    data_ = host::heapAlloc(registryHeap(), bytes, true);
    return data_ != nullptr;
  }
  void release() {
    if (data_ != nullptr) host::heapFree(registryHeap(), data_);
    data_ = nullptr;
  }
  HeapBlock(const HeapBlock &) = delete;
  HeapBlock &operator=(const HeapBlock &) = delete;

  template <typename T = void>
  T *get() const {
    return static_cast<T *>(data_);
  }

 private:
  void *data_ = nullptr;
};

}  // namespace qstr::registry
