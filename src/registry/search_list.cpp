// KZSEARCHLIST: sorted fixed-size records.
#include "registry/search_list.h"

#include <cstring>

#include "frame/state.h"

namespace qstr::registry {
namespace {

constexpr uint32_t kSupportedKeySize = 4;
constexpr uint32_t kCapacityLimit = 0x7FFFFFFF;

uint32_t readKey(const void *key) {
  uint32_t value;
  std::memcpy(&value, key, sizeof value);
  return value;
}

}  // namespace

KZSEARCHLIST::~KZSEARCHLIST() {
  if (records_ != nullptr) host::heapFree(heap_, records_);
}

int KZSEARCHLIST::Create(uint32_t capacity, uint32_t keySize, host::HeapHandle heap,
                         uint32_t flags) {
  if (capacity >= kCapacityLimit) return 0;
  if (records_ != nullptr) host::heapFree(heap_, records_);
  records_ = nullptr;
  count_ = capacity_ = 0;
  heap_ = heap != nullptr ? heap : frame::processHeapHandle();
  if (heap_ == nullptr) heap_ = host::processHeap();
  flags_ = flags;
  keySize_ = keySize;
  std::size_t bytes = static_cast<std::size_t>(capacity) * (4 + static_cast<std::size_t>(keySize));
  records_ = static_cast<uint8_t *>(host::heapAlloc(heap_, bytes, true));
  if (records_ == nullptr) return 0;
  capacity_ = capacity;
  return 1;
}

uint8_t *KZSEARCHLIST::Find(const void *key, uint32_t *index) const {
  if (keySize_ != kSupportedKeySize) return nullptr;
  uint32_t wanted = readKey(key);
  // Lower bound: the first record whose key is not below the wanted one.
  uint32_t low = 0, high = count_;
  while (low < high) {
    uint32_t middle = low + (high - low) / 2;
    if (KeyAt(middle) < wanted) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (index != nullptr) *index = low;
  return low < count_ && KeyAt(low) == wanted ? RecordAt(low) : nullptr;
}

bool KZSEARCHLIST::Grow() {
  uint32_t capacity = capacity_ == 0 ? 1 : capacity_ * 2;
  if (capacity_ >= kCapacityLimit / 2) return false;
  std::size_t bytes = static_cast<std::size_t>(capacity) * RecordSize();
  void *grown = records_ == nullptr ? host::heapAlloc(heap_, bytes, true)
                                    : host::heapReAlloc(heap_, records_, bytes);
  if (grown == nullptr) return false;
  records_ = static_cast<uint8_t *>(grown);
  capacity_ = capacity;
  return true;
}

int KZSEARCHLIST::Insert(const void *key, uint32_t payload, int replace) {
  if (keySize_ != kSupportedKeySize || heap_ == nullptr) return 0;
  uint32_t index = 0;
  if (uint8_t *record = Find(key, &index)) {
    if (!replace) return 0;
    std::memcpy(record, &payload, 4);
    return 1;
  }
  if (count_ == capacity_ && !Grow()) return 0;
  uint8_t *record = RecordAt(index);
  std::memmove(record + RecordSize(), record, static_cast<std::size_t>(count_ - index) * RecordSize());
  std::memcpy(record, &payload, 4);
  std::memcpy(record + 4, key, keySize_);
  ++count_;
  return 1;
}

int KZSEARCHLIST::Remove(const void *key) {
  uint32_t index = 0;
  uint8_t *record = Find(key, &index);
  if (record == nullptr) return 0;
  std::memmove(record, record + RecordSize(),
               static_cast<std::size_t>(count_ - index - 1) * RecordSize());
  --count_;
  return 1;
}

uint32_t KZSEARCHLIST::KeyAt(uint32_t index) const { return readKey(RecordAt(index) + 4); }

uint32_t KZSEARCHLIST::PayloadAt(uint32_t index) const { return readKey(RecordAt(index)); }

}  // namespace qstr::registry
