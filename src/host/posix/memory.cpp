// Portable backend: process heap, movable global memory and reserved pages.
#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "host/host.h"

namespace qstr::host {
namespace {

// The process heap is the C heap; its handle only has to be non-null and
// stable.
int processHeapTag;

// A movable block: the handle points at this record, the data follows it.
// Blocks never move here, so locking only counts.
struct GlobalBlock {
  std::size_t bytes;
  unsigned lockCount;
};

GlobalBlock *toBlock(GlobalHandle handle) { return static_cast<GlobalBlock *>(handle); }

std::size_t roundUpToPage(std::size_t bytes) {
  return (bytes + kPageSize - 1) / kPageSize * kPageSize;
}

}  // namespace

HeapHandle processHeap() { return &processHeapTag; }

void *heapAlloc(HeapHandle, std::size_t bytes, bool zeroFill) {
  if (bytes == 0) bytes = 1;  // a heap block is never null on success
  return zeroFill ? std::calloc(1, bytes) : std::malloc(bytes);
}

void *heapReAlloc(HeapHandle, void *block, std::size_t bytes) {
  return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void heapFree(HeapHandle, void *block) { std::free(block); }

GlobalHandle globalAlloc(std::size_t bytes) {
  if (bytes > SIZE_MAX - sizeof(GlobalBlock)) return nullptr;
  auto *block = static_cast<GlobalBlock *>(std::calloc(1, sizeof(GlobalBlock) + bytes));
  if (block == nullptr) return nullptr;
  block->bytes = bytes;
  return block;
}

void *globalLock(GlobalHandle handle) {
  if (handle == nullptr) return nullptr;
  GlobalBlock *block = toBlock(handle);
  ++block->lockCount;
  return block + 1;
}

void globalUnlock(GlobalHandle handle) {
  if (handle != nullptr && toBlock(handle)->lockCount > 0) --toBlock(handle)->lockCount;
}

void globalFree(GlobalHandle handle) { std::free(handle); }

void *reservePages(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  void *base = mmap(nullptr, roundUpToPage(bytes), PROT_NONE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  return base == MAP_FAILED ? nullptr : base;
}

bool commitPages(void *address, std::size_t bytes) {
  auto start = reinterpret_cast<std::uintptr_t>(address) / kPageSize * kPageSize;
  auto end = reinterpret_cast<std::uintptr_t>(address) + bytes;
  std::size_t length = roundUpToPage(end - start);
  return mprotect(reinterpret_cast<void *>(start), length, PROT_READ | PROT_WRITE) == 0;
}

void releasePages(void *base, std::size_t reservedBytes) {
  if (base != nullptr) munmap(base, roundUpToPage(reservedBytes));
}

}  // namespace qstr::host
